// The asset store and the textures made from it: the game only ever reads, damaged
// or hostile files give less (never more) than they hold, and nothing is sized
// from a file before the file is shown to hold it.
#include "alloc_probe.h"
#include "engine/database.h"
#include "engine/texture.h"
#include "gl_context.h"
#include "scratch_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

namespace {

using bm::Bytes;

Bytes Info(uint32_t w, uint32_t h)
{
    Bytes b;
    bm::Put32(b, w);
    bm::Put32(b, h);
    return b;
}

class StoreTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        std::snprintf(Textures_db.db_location, sizeof Textures_db.db_location, "Data/textures_pack.db");
        std::snprintf(Textures_db.pl_location, sizeof Textures_db.pl_location, "Data/textures_pack.pl");
        Textures_db.ReadPList();
    }
    // A store written the way the packer writes one.
    void Pack(const std::map<std::string, Bytes>& records)
    {
        Database db(base.c_str(), true);
        for (const auto& [key, bytes] : records)
            ASSERT_TRUE(db.Write(key.c_str(), static_cast<unsigned>(bytes.size()), bytes.data())) << key;
    }
    // Points the game's own store at the scratch one.
    void UseAsGameStore()
    {
        std::snprintf(Textures_db.db_location, sizeof Textures_db.db_location, "%s.db", base.c_str());
        std::snprintf(Textures_db.pl_location, sizeof Textures_db.pl_location, "%s.pl", base.c_str());
        Textures_db.ReadPList();
    }
    std::map<std::string, Bytes> Files() const
    {
        std::map<std::string, Bytes> files;
        for (const auto& e : std::filesystem::directory_iterator(dir.path))
            files[e.path().filename()] = dir.Read(e.path().filename());
        return files;
    }

    bm::ScratchDir dir;
    std::string base = dir.path + "/store";
};

TEST_F(StoreTest, TheGameOpensAStoreReadOnlyWhateverIsMissingOrCut)
{
    Pack({{"a", Bytes(8, 'a')}, {"b", Bytes(8, 'b')}, {"c", Bytes(8, 'c')}, {"d", Bytes(8, 'd')}});
    const Bytes db = dir.Read("store.db"), pl = dir.Read("store.pl");
    const struct {
        const char* name;
        Bytes db, pl;
        size_t records;
    } cases[] = {{"whole", db, pl, 4},
                 {"data file cut in half", Bytes(db.begin(), db.begin() + 16), pl, 4},
                 {"pointer list cut in half", db, Bytes(pl.begin(), pl.begin() + pl.size() / 2), 1},
                 {"data file missing", {}, pl, 0},
                 {"pointer list missing", db, {}, 0}};
    for (const auto& c : cases) {
        std::filesystem::remove(base + ".db");
        std::filesystem::remove(base + ".pl");
        if (!c.db.empty())
            dir.Write("store.db", c.db);
        if (!c.pl.empty())
            dir.Write("store.pl", c.pl);
        const auto before = Files();
        {
            Database store(base.c_str());
            EXPECT_EQ(store.records.size(), c.records) << c.name;
            char out[8];
            store.Read("a", 8, out);
            EXPECT_FALSE(store.Write("e", 1, "e") || store.Synchronize() || store.Reset()) << c.name;
            store.SetAutosync(false); // not even a destructor that means to write may write
        }
        EXPECT_EQ(Files(), before) << c.name;
    }
}

TEST_F(StoreTest, APointerListHoldsOnlyTheEntriesItsLengthHolds)
{
    dir.Write("store.db", Bytes(16, 'd'));
    Bytes entry(DatabaseFormat::kLabelSize, 0), pl;
    entry[0] = 'k';
    bm::Put32(entry, 0);
    bm::Put32(entry, 1);
    for (uint32_t count : {0x7fffffffu, 0x80000000u, 3u}) {
        pl.clear();
        bm::Put32(pl, count);
        for (int i = 0; i < 2; ++i)
            pl.insert(pl.end(), entry.begin(), entry.end());
        pl.resize(pl.size() + 100); // and a torn third entry
        dir.Write("store.pl", pl);
        bm::LargestAllocation();
        Database store(base.c_str());
        EXPECT_EQ(store.records.size(), count == 0x80000000u ? 0u : 2u) << count;
        EXPECT_LT(bm::LargestAllocation(), 4 * pl.size()) << count;
    }
}

TEST_F(StoreTest, RecordsAreReadWholeFromInsideTheDataFileOrNotAtAll)
{
    Pack({{"dup", Bytes{1, 2}}, {"rec", Bytes(10, 'r')}});
    {
        Database writer(base.c_str(), true);
        ASSERT_TRUE(writer.Write("dup", 3, "xyz"));
    }
    // Made-up entries around the end of the 15-byte data file.
    Bytes pl = dir.Read("store.pl"), entry(DatabaseFormat::kLabelSize, 0);
    const std::pair<int32_t, uint32_t> places[] = {{5, 9}, {5, 10}, {6, 10}, {-1, 2}};
    for (int i = 0; i < 4; ++i) {
        Bytes e = entry;
        e[0] = static_cast<unsigned char>('0' + i);
        bm::Put32(e, static_cast<uint32_t>(places[i].first));
        bm::Put32(e, places[i].second);
        pl.insert(pl.end(), e.begin(), e.end());
    }
    pl[0] = 7;
    dir.Write("store.pl", pl);
    for (bool held_open : {false, true}) {
        Database store(base.c_str());
        ASSERT_TRUE(!held_open || store.OpenData());
        char out[12];
        std::memset(out, '#', sizeof out);
        EXPECT_TRUE(store.Read("dup", 2, out) && out[0] == 1 && out[1] == 2) << "the first of two equal keys";
        EXPECT_FALSE(store.Read("rec", 0, out) || store.Read("rec", 9, out) || store.Read("rec", 11, out));
        EXPECT_EQ(std::string(Database::LastError()), "[reading] key 'rec' size doesn't match: obj(11 bytes) db(10 bytes)");
        EXPECT_EQ(out[2], '#') << "a refused read leaves the buffer alone";
        for (int i = 0; i < 4; ++i) {
            const std::string key(1, static_cast<char>('0' + i));
            const bool inside = i < 2;
            EXPECT_EQ(store.CanRead(key.c_str(), places[i].second), inside) << key;
            EXPECT_EQ(store.Read(key.c_str(), places[i].second, out), inside) << key;
        }
        const std::string k260(260, 'k'), k261(261, 'k');
        EXPECT_FALSE(store.Read(k260.c_str(), 1, out) || store.Read(k261.c_str(), 1, out));
        EXPECT_EQ(std::string(Database::LastError()), "[reading] key '" + k261 + "' is too long (max 260 chars)");
    }
}

class TextureTest : public StoreTest {
protected:
    void SetUp() override { bm::EnsureGlContext(); }
    static Bytes TexImage(GLuint tex, size_t bytes)
    {
        Bytes out(bytes);
        glBindTexture(GL_TEXTURE_2D, tex);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
        return out;
    }
};

TEST_F(TextureTest, APictureIsUploadedAsStoredWithNearestFilteringAndClamping)
{
    const Bytes px = {10, 20, 30, 40, 50, 60, 70, 80};
    Pack({{"pic_info", Info(2, 1)}, {"pic_data", px}, {"b_info", Info(1, 1)}, {"b_data", {5, 6, 7, 8}}});
    UseAsGameStore();
    GLuint tex = 0;
    ASSERT_TRUE(LoadTexture(&tex, "pic"));
    GLint w = 0, param = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    EXPECT_EQ(w, 2);
    EXPECT_EQ(TexImage(tex, 8), px);
    for (GLenum p : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER, GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T}) {
        glGetTexParameteriv(GL_TEXTURE_2D, p, &param);
        EXPECT_EQ(param, p == GL_TEXTURE_MIN_FILTER || p == GL_TEXTURE_MAG_FILTER ? GL_NEAREST : GL_CLAMP) << p;
    }
    // Loading into the same handle replaces the texture; a failed load leaves 0.
    const GLuint first = tex;
    ASSERT_TRUE(LoadTexture(&tex, "b"));
    EXPECT_TRUE(tex == first || !glIsTexture(first));
    EXPECT_EQ(TexImage(tex, 4), (Bytes{5, 6, 7, 8}));
    const GLuint second = tex;
    EXPECT_FALSE(LoadTexture(&tex, "missing"));
    EXPECT_EQ(tex, 0u);
    EXPECT_FALSE(glIsTexture(second));
    EXPECT_STREQ(dynstr("%s%s", std::string(600, 'q').c_str(), "x"), std::string(511, 'q').c_str());
}

TEST_F(TextureTest, InconsistentOrOversizedRecordsMakeNoTextureAndNoBigBuffer)
{
    GLint max_side = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_side);
    const uint32_t side = static_cast<uint32_t>(max_side), wide = side + 1;
    Pack({{"short_info", Info(2, 2)}, {"short_data", Bytes(15, 1)}, {"long_info", Info(2, 2)}, {"long_data", Bytes(17, 1)},
          {"wrap_info", Info(0x8000, 0x8001)}, {"wrap_data", Bytes(131072, 0)}, {"wide_info", Info(wide, 1)},
          {"wide_data", Bytes(wide * 4, 0)}, {"flat_info", Info(0, 5)}, {"seven_info", Bytes(7, 1)},
          {"huge_info", Info(side, side)}, {"huge_data", Bytes(4, 0)}});
    // The pointer list claims the largest picture the driver takes; the data file does not hold it.
    Bytes pl = dir.Read("store.pl"), claim;
    bm::Put32(claim, side * side * 4);
    for (size_t i = 4; i < pl.size(); i += DatabaseFormat::kEntrySize)
        if (std::strcmp(reinterpret_cast<const char*>(&pl[i]), "huge_data") == 0)
            std::copy(claim.begin(), claim.end(), pl.begin() + static_cast<long>(i) + DatabaseFormat::kLabelSize + 4);
    dir.Write("store.pl", pl);
    UseAsGameStore();
    bm::LargestAllocation();
    for (const char* key : {"absent", "short", "long", "wrap", "wide", "flat", "seven", "huge"}) {
        GLuint tex = 0;
        EXPECT_FALSE(LoadTexture(&tex, key)) << key;
        EXPECT_EQ(tex, 0u) << key;
    }
    EXPECT_LT(bm::LargestAllocation(), 65536u);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
