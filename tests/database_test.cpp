// The asset store: creating, reading and surviving damaged or hostile files.
#include "engine/database.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char templ[] = "/tmp/bm_db_XXXXXX";
        ASSERT_NE(mkdtemp(templ), nullptr);
        dir = templ;
        base = dir + "/store";
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    static Bytes Slurp(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    static void Spit(const std::string& path, const Bytes& bytes)
    {
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    static void Put32(Bytes& v, uint32_t x)
    {
        for (int i = 0; i < 4; ++i)
            v.push_back(static_cast<unsigned char>(x >> (8 * i)));
    }
    // One raw pointer-list entry; the label is copied as given, up to 260 bytes.
    static void PutEntry(Bytes& v, const std::string& label, int32_t adress, uint32_t size)
    {
        Bytes l(DatabaseFormat::kLabelSize, 0);
        std::memcpy(l.data(), label.data(), std::min<size_t>(label.size(), l.size()));
        v.insert(v.end(), l.begin(), l.end());
        Put32(v, static_cast<uint32_t>(adress));
        Put32(v, size);
    }

    std::string dir, base;
};

TEST_F(DatabaseTest, NewStoreIsCreatedEmptyAndMissingPointerListWritesNothing)
{
    {
        Database db(base.c_str());
        EXPECT_TRUE(db.records.empty());
        char out[4] = {};
        EXPECT_FALSE(db.Read("anything", 4, out));
    }
    EXPECT_TRUE(Slurp(base + ".db").empty());
    EXPECT_EQ(Slurp(base + ".pl"), Bytes(4, 0));

    std::remove((base + ".pl").c_str());
    Spit(base + ".db", {1, 2, 3});
    {
        Database db(base.c_str());
        EXPECT_TRUE(db.records.empty());
    }
    EXPECT_FALSE(Database::FileExist((base + ".pl").c_str()));
    EXPECT_EQ(Slurp(base + ".db"), (Bytes{1, 2, 3}));
}

TEST_F(DatabaseTest, RecordsSurviveReopeningAutosyncAndReset)
{
    {
        Database db(base.c_str());
        db.SetAutosync(false);
        EXPECT_TRUE(db.Write("alpha", 3, "abc"));
        EXPECT_TRUE(db.Write("beta", 5, "hello"));
        EXPECT_EQ(Slurp(base + ".pl").size(), 4u); // written only on destruction
    }
    Database db(base.c_str());
    ASSERT_EQ(db.records.size(), 2u);
    char out[6] = {};
    EXPECT_TRUE(db.Read("beta", 5, out));
    EXPECT_STREQ(out, "hello");

    EXPECT_TRUE(db.Write("k", 2, "xy")); // autosync is on by default
    EXPECT_EQ(Slurp(base + ".pl").size(), 4u + 3 * DatabaseFormat::kEntrySize);
    EXPECT_TRUE(db.Reset());
    EXPECT_TRUE(db.records.empty());
    EXPECT_TRUE(Slurp(base + ".db").empty());
    EXPECT_EQ(Slurp(base + ".pl"), Bytes(4, 0));
}

TEST_F(DatabaseTest, DuplicateKeysWrongSizesAndOverlongKeys)
{
    {
        Database db(base.c_str());
        db.Write("dup", 2, "11");
        db.Write("dup", 3, "222");
        db.Write("rec", 4, "abcd");
    }
    Database db(base.c_str());
    EXPECT_EQ(db.GetKeyID("dup"), 0);
    char out[8];
    EXPECT_TRUE(db.Read("dup", 2, out));
    EXPECT_EQ(std::string(out, 2), "11");
    std::memset(out, '#', sizeof(out));
    EXPECT_FALSE(db.Read("dup", 3, out));
    EXPECT_FALSE(db.Read("rec", 5, out));
    EXPECT_STREQ(Database::LastError(), "[reading] key 'rec' size doesn't match: obj(5 bytes) db(4 bytes)");
    EXPECT_FALSE(db.Read("rec", 3, out));
    EXPECT_FALSE(db.Read("rec", 0, out));
    EXPECT_FALSE(db.Read("rec", 4, nullptr));
    EXPECT_EQ(std::string(out, 8), "########");

    std::string k259(259, 'a'), k260(260, 'a'), k261(261, 'a');
    EXPECT_TRUE(db.Write(k259.c_str(), 1, "x"));
    EXPECT_FALSE(db.Write(k260.c_str(), 1, "x")); // no room for the terminator
    EXPECT_TRUE(db.Read(k259.c_str(), 1, out));
    EXPECT_FALSE(db.Read(k260.c_str(), 1, out));
    EXPECT_FALSE(db.Read(k261.c_str(), 1, out));
    EXPECT_EQ(std::string(Database::LastError()), "[reading] key '" + k261 + "' is too long (max 260 chars)");
    EXPECT_EQ(std::strlen(Database::Key(k261.c_str()).label), 259u);
}

TEST_F(DatabaseTest, TruncatedAndHostilePointerListsAreReadOnlyAsFarAsTheyGo)
{
    Spit(base + ".db", Bytes(16, 'd'));
    Bytes negative, beyond, torn_count = {2, 0}, full_label;
    Put32(negative, 0x80000000u);
    PutEntry(negative, "a", 0, 1);
    Put32(beyond, 1000000);
    PutEntry(beyond, "a", 0, 1);
    PutEntry(beyond, "b", 1, 1);
    beyond.resize(beyond.size() + 100, 0); // a torn third entry
    Put32(full_label, 1);
    PutEntry(full_label, std::string(260, 'z'), 0, 1);
    const std::pair<Bytes, size_t> cases[] = {{negative, 0}, {beyond, 2}, {torn_count, 0}, {full_label, 1}};
    for (const auto& [pl, expected] : cases) {
        Spit(base + ".pl", pl);
        Database db(base.c_str());
        EXPECT_EQ(db.records.size(), expected) << pl.size() << " bytes";
    }
    // The label filling all 260 bytes is cut at its last byte.
    Database db(base.c_str());
    char c = 0;
    EXPECT_TRUE(db.Read(std::string(259, 'z').c_str(), 1, &c));
    EXPECT_EQ(c, 'd');
}

TEST_F(DatabaseTest, RecordsOutsideTheDataFileAreRefused)
{
    Spit(base + ".db", Bytes(10, 'd'));
    Bytes v;
    Put32(v, 4);
    PutEntry(v, "tail", 6, 8);    // runs 4 bytes past the end
    PutEntry(v, "before", -4, 2); // negative offset
    PutEntry(v, "exact", 6, 4);   // ends exactly at the end
    PutEntry(v, "huge", 8, 0xfffffff0u);
    Spit(base + ".pl", v);
    Database db(base.c_str());
    ASSERT_EQ(db.records.size(), 4u);
    char out[8] = "#######";
    EXPECT_FALSE(db.Read("tail", 8, out));
    EXPECT_FALSE(db.Read("before", 2, out));
    EXPECT_STREQ(out, "#######");
    EXPECT_TRUE(db.Read("exact", 4, out));
    EXPECT_EQ(std::string(out, 4), "dddd");
    // The claimed size matches the record but not the file: refused before allocating it.
    std::vector<char> big(16);
    EXPECT_FALSE(db.Read("huge", 0xfffffff0u, big.data()));
}

TEST_F(DatabaseTest, OverlongBasePathIsRefusedWithoutTouchingDisk)
{
    Database db((dir + "/" + std::string(300, 'p')).c_str());
    EXPECT_EQ(db.db_location[0], '\0');
    EXPECT_FALSE(db.Write("k", 1, "x"));
    Database none(nullptr);
    EXPECT_TRUE(none.records.empty());
    EXPECT_FALSE(Database::FileExist(".db"));
}

} // namespace
