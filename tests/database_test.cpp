// The asset store and the textures made from it: the game only ever reads, damaged
// or hostile files give less (never more) than they hold, and nothing is sized
// from a file before the file is shown to hold it.
#include "engine/database.h"
#include "engine/texture.h"
#include "reader_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <tuple>

namespace {

using bm::Bytes;
using Entry = std::tuple<std::string, int32_t, uint32_t>; // label, place, size

Bytes Info(uint32_t w, uint32_t h)
{
    Bytes b;
    return bm::Put32(bm::Put32(b, w), h);
}

class StoreTest : public ::testing::Test {
protected:
    void TearDown() override { UseAsGameStore("Data/textures_pack"); }
    // A pointer list of these entries (and maybe another count) and a data file.
    void Put(const std::vector<Entry>& entries, const Bytes& data, uint32_t count = ~0u)
    {
        Bytes pl;
        bm::Put32(pl, count == ~0u ? static_cast<uint32_t>(entries.size()) : count);
        for (const auto& [label, place, size] : entries) {
            pl.resize(pl.size() + DatabaseFormat::kLabelSize);
            std::memcpy(&pl[pl.size() - DatabaseFormat::kLabelSize], label.data(), label.size());
            bm::Put32(bm::Put32(pl, static_cast<uint32_t>(place)), size);
        }
        dir.Write("store.pl", pl);
        dir.Write("store.db", data);
    }
    // Records laid out one after another, as the packer lays them, and maybe a few made-up entries.
    void Pack(const std::vector<std::pair<std::string, Bytes>>& records, std::vector<Entry> entries = {})
    {
        Bytes data;
        for (const auto& [key, bytes] : records) {
            entries.emplace_back(key, static_cast<int32_t>(data.size()), static_cast<uint32_t>(bytes.size()));
            data.insert(data.end(), bytes.begin(), bytes.end());
        }
        Put(entries, data);
    }
    static void UseAsGameStore(const std::string& base)
    {
        std::snprintf(Textures_db.db_location, sizeof Textures_db.db_location, "%s.db", base.c_str());
        std::snprintf(Textures_db.pl_location, sizeof Textures_db.pl_location, "%s.pl", base.c_str());
        Textures_db.ReadPList();
    }

    bm::ScratchDir dir;
    std::string base = dir.path + "/store";
};

TEST_F(StoreTest, TheGameOpensAStoreReadOnlyWhateverIsMissingOrCut)
{
    Pack({{"a", Bytes(8, 'a')}, {"b", Bytes(8, 'b')}, {"c", Bytes(8, 'c')}, {"d", Bytes(8, 'd')}});
    const Bytes db = dir.Read("store.db"), pl = dir.Read("store.pl");
    const std::tuple<const char*, Bytes, Bytes, size_t> cases[] = {
        {"whole", db, pl, 4},
        {"data file cut in half", Bytes(db.begin(), db.begin() + 16), pl, 4},
        {"pointer list cut in half", db, Bytes(pl.begin(), pl.begin() + pl.size() / 2), 1},
        {"data file missing", {}, pl, 0},
        {"pointer list missing", db, {}, 0}};
    for (const auto& [name, db_bytes, pl_bytes, records] : cases) {
        std::filesystem::remove_all(dir.path);
        std::filesystem::create_directory(dir.path);
        for (const auto& [file, bytes] : std::map<std::string, Bytes>{{"store.db", db_bytes}, {"store.pl", pl_bytes}})
            if (!bytes.empty())
                dir.Write(file, bytes);
        {
            Database store(base.c_str());
            EXPECT_EQ(store.records.size(), records) << name;
            EXPECT_FALSE(store.Write("e", 1, "e") || store.Synchronize() || store.Reset()) << name;
            store.SetAutosync(false); // not even a destructor that means to write may write
        }
        const auto files = std::distance(std::filesystem::directory_iterator(dir.path), std::filesystem::directory_iterator());
        EXPECT_TRUE(dir.Read("store.db") == db_bytes && dir.Read("store.pl") == pl_bytes &&
                    files == !db_bytes.empty() + !pl_bytes.empty()) << name;
    }
}

TEST_F(StoreTest, APointerListHoldsOnlyTheEntriesItsLengthHolds)
{
    for (uint32_t count : {0x7fffffffu, 0x80000000u, 3u}) {
        Put({{"k", 0, 1}, {"k", 0, 1}, {"torn", 0, 1}}, Bytes(16, 'd'), count);
        Bytes pl = dir.Read("store.pl");
        pl.resize(pl.size() - 100);
        dir.Write("store.pl", pl);
        bm::LargestAllocation();
        Database store(base.c_str());
        EXPECT_EQ(store.records.size(), count == 0x80000000u ? 0u : 2u) << count;
        EXPECT_LT(bm::LargestAllocation(), 4 * pl.size()) << count;
    }
}

TEST_F(StoreTest, RecordsAreReadWholeFromInsideTheDataFileOrNotAtAll)
{
    // Records around the end of a 15-byte data file, two equal keys, a label filling all 260 bytes.
    Put({{"dup", 0, 2}, {"dup", 2, 3}, {"rec", 5, 10}, {"0", 5, 9}, {"1", 5, 10}, {"2", 6, 10}, {"3", -1, 2},
         {std::string(260, 'k'), 0, 1}},
        {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
    for (bool held_open : {false, true}) {
        Database store(base.c_str());
        ASSERT_TRUE(!held_open || store.OpenData());
        char out[12] = "##########";
        EXPECT_TRUE(store.Read("dup", 2, out) && out[0] == 1 && out[1] == 2) << "the first of two equal keys";
        EXPECT_FALSE(store.Read("rec", 0, out) || store.Read("rec", 9, out) || store.Read("rec", 11, out));
        EXPECT_EQ(std::string(Database::LastError()), "[reading] key 'rec' size doesn't match: obj(11 bytes) db(10 bytes)");
        EXPECT_EQ(out[2], '#') << "a refused read leaves the buffer alone";
        const std::tuple<const char*, unsigned, bool> places[] = {{"0", 9, true}, {"1", 10, true}, {"2", 10, false}, {"3", 2, false}};
        for (const auto& [key, size, inside] : places)
            EXPECT_TRUE(store.CanRead(key, size) == inside && store.Read(key, size, out) == inside) << key;
        const std::string k259(259, 'k'), k261(261, 'k');
        EXPECT_TRUE(store.Read(k259.c_str(), 1, out) && !store.Read(k261.c_str(), 1, out));
        EXPECT_EQ(std::string(Database::LastError()), "[reading] key '" + k261 + "' is too long (max 260 chars)");
    }
}

TEST_F(StoreTest, APictureIsUploadedAsStoredWithNearestFilteringAndClamping)
{
    bm::EnsureGlContext();
    const Bytes px = {10, 20, 30, 40, 50, 60, 70, 80};
    Pack({{"pic_info", Info(2, 1)}, {"pic_data", px}, {"b_info", Info(1, 1)}, {"b_data", {5, 6, 7, 8}}});
    UseAsGameStore(base);
    GLuint tex = 0;
    ASSERT_TRUE(LoadTexture(&tex, "pic"));
    GLint w = 0, param = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    EXPECT_TRUE(w == 2 && bm::Texels(tex, 2) == px);
    for (GLenum p : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER, GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T}) {
        glGetTexParameteriv(GL_TEXTURE_2D, p, &param);
        EXPECT_EQ(param, p == GL_TEXTURE_MIN_FILTER || p == GL_TEXTURE_MAG_FILTER ? GL_NEAREST : GL_CLAMP) << p;
    }
    // Loading into the same handle replaces the texture; a failed load leaves 0.
    const GLuint first = tex;
    ASSERT_TRUE(LoadTexture(&tex, "b"));
    EXPECT_TRUE((tex == first || !glIsTexture(first)) && bm::Texels(tex, 1) == (Bytes{5, 6, 7, 8}));
    const GLuint second = tex;
    EXPECT_FALSE(LoadTexture(&tex, "missing"));
    EXPECT_TRUE(tex == 0 && !glIsTexture(second));
}

TEST_F(StoreTest, InconsistentOrOversizedRecordsMakeNoTextureAndNoBigBuffer)
{
    bm::EnsureGlContext();
    GLint max_side = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_side);
    const uint32_t side = static_cast<uint32_t>(max_side);
    Pack({{"short_info", Info(2, 2)}, {"short_data", Bytes(15, 1)}, {"long_info", Info(2, 2)}, {"long_data", Bytes(17, 1)},
          {"wrap_info", Info(0x8000, 0x8001)}, {"wrap_data", Bytes(131072, 0)}, {"wide_info", Info(side + 1, 1)},
          {"wide_data", Bytes((side + 1) * 4, 0)}, {"flat_info", Info(0, 5)}, {"seven_info", Bytes(7, 1)},
          {"huge_info", Info(side, side)}},
         // The largest picture the driver takes, claimed by a pointer list whose data file does not hold it.
         {{"huge_data", 0, side * side * 4}});
    UseAsGameStore(base);
    bm::LargestAllocation();
    for (const char* key : {"absent", "short", "long", "wrap", "wide", "flat", "seven", "huge"}) {
        GLuint tex = 0;
        EXPECT_TRUE(!LoadTexture(&tex, key) && tex == 0) << key;
    }
    EXPECT_LT(bm::LargestAllocation(), 65536u);
}

} // namespace
