// The asset store: creating, reading and surviving damaged or hostile files.
#include "engine/database.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char templ[] = "/tmp/bm_db_XXXXXX";
        ASSERT_NE(mkdtemp(templ), nullptr);
        dir = templ;
        base = dir + "/store";
    }
    void TearDown() override
    {
        std::remove((base + ".db").c_str());
        std::remove((base + ".pl").c_str());
        rmdir(dir.c_str());
    }

    std::vector<unsigned char> Slurp(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    void Spit(const std::string& path, const std::vector<unsigned char>& bytes)
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    static void Put32(std::vector<unsigned char>& v, uint32_t x)
    {
        for (int i = 0; i < 4; ++i)
            v.push_back(static_cast<unsigned char>(x >> (8 * i)));
    }
    // One raw pointer-list entry; the label is copied as given, up to 260 bytes.
    static void PutEntry(std::vector<unsigned char>& v, const std::string& label, int32_t adress, uint32_t size)
    {
        std::vector<unsigned char> l(DatabaseFormat::kLabelSize, 0);
        std::memcpy(l.data(), label.data(), std::min<size_t>(label.size(), l.size()));
        v.insert(v.end(), l.begin(), l.end());
        Put32(v, static_cast<uint32_t>(adress));
        Put32(v, size);
    }

    std::string dir, base;
};

TEST_F(DatabaseTest, NewStoreIsCreatedEmptyAndReadsFail)
{
    {
        Database db(base.c_str());
        EXPECT_STREQ(db.db_name, base.c_str());
        EXPECT_EQ(std::string(db.db_location), base + ".db");
        EXPECT_EQ(std::string(db.pl_location), base + ".pl");
        EXPECT_TRUE(db.force_autosync);
        EXPECT_TRUE(db.records.empty());
        char out[4] = {1, 2, 3, 4};
        EXPECT_FALSE(db.Read("anything", 4, out));
        EXPECT_STREQ(Database::LastError(), "[reading] key 'anything' doesn't exist in database");
    }
    EXPECT_TRUE(Slurp(base + ".db").empty());
    EXPECT_EQ(Slurp(base + ".pl"), std::vector<unsigned char>(4, 0));
}

TEST_F(DatabaseTest, MissingPointerListLeavesStoreEmptyAndWritesNothing)
{
    Spit(base + ".db", {1, 2, 3});
    {
        Database db(base.c_str());
        EXPECT_TRUE(db.records.empty());
        EXPECT_EQ(std::string(Database::LastError()), "[construct] fail to open pointers list (" + base + ".pl)");
    }
    EXPECT_FALSE(Database::FileExist((base + ".pl").c_str()));
    EXPECT_EQ(Slurp(base + ".db"), (std::vector<unsigned char>{1, 2, 3}));
}

TEST_F(DatabaseTest, WrittenRecordsReadBackAfterReopening)
{
    {
        Database db(base.c_str());
        db.SetAutosync(false);
        EXPECT_TRUE(db.Write("alpha", 3, "abc"));
        EXPECT_TRUE(db.Write("beta", 5, "hello"));
        // Not synchronised yet: the file on disk still lists nothing.
        EXPECT_EQ(Slurp(base + ".pl").size(), 4u);
    } // destruction with autosync off writes the list
    EXPECT_EQ(Slurp(base + ".pl").size(), 4u + 2 * DatabaseFormat::kEntrySize);

    Database db(base.c_str());
    ASSERT_EQ(db.records.size(), 2u);
    EXPECT_STREQ(db.records[0].label, "alpha");
    EXPECT_EQ(db.GetKeyID("beta"), 1);
    EXPECT_EQ(db.GetKeyID("gamma"), -1);
    char out[6] = {};
    EXPECT_TRUE(db.Read("beta", 5, out));
    EXPECT_STREQ(out, "hello");
    unsigned stored = 0;
    EXPECT_FALSE(db.ValidateKey("alpha", 4, &stored));
    EXPECT_EQ(stored, 3u);
    stored = 77;
    EXPECT_FALSE(db.ValidateKey("nope", 3, &stored));
    EXPECT_EQ(stored, 77u);
}

TEST_F(DatabaseTest, AutosyncWritesTheListAtOnceAndResetEmptiesBothFiles)
{
    Database db(base.c_str());
    EXPECT_TRUE(db.Write("k", 2, "xy"));
    EXPECT_EQ(Slurp(base + ".pl").size(), 4u + DatabaseFormat::kEntrySize);
    EXPECT_TRUE(db.Reset());
    EXPECT_TRUE(db.records.empty());
    EXPECT_TRUE(Slurp(base + ".db").empty());
    EXPECT_EQ(Slurp(base + ".pl"), std::vector<unsigned char>(4, 0));
}

TEST_F(DatabaseTest, DuplicateKeysUseTheFirstEverywhere)
{
    {
        Database db(base.c_str());
        db.Write("dup", 2, "11");
        db.Write("dup", 3, "222");
    }
    Database db(base.c_str());
    EXPECT_EQ(db.GetKeyID("dup"), 0);
    char two[2];
    EXPECT_TRUE(db.Read("dup", 2, two));
    EXPECT_EQ(std::string(two, 2), "11");
    char three[3];
    EXPECT_FALSE(db.Read("dup", 3, three));
}

TEST_F(DatabaseTest, FailedReadsLeaveTheDestinationUntouchedAndSayWhy)
{
    {
        Database db(base.c_str());
        db.Write("rec", 4, "abcd");
    }
    Database db(base.c_str());
    char out[8];
    std::memset(out, '#', sizeof(out));
    EXPECT_FALSE(db.Read("rec", 5, out));
    EXPECT_STREQ(Database::LastError(), "[reading] key 'rec' size doesn't match: obj(5 bytes) db(4 bytes)");
    EXPECT_FALSE(db.Read("rec", 3, out));
    EXPECT_FALSE(db.Read("rec", 0, out));
    EXPECT_STREQ(Database::LastError(), "[reading] key 'rec' has invalid size (0 bytes)");
    EXPECT_FALSE(db.Read("rec", 4, nullptr));
    EXPECT_STREQ(Database::LastError(), "[reading] key 'rec' pointer is NULL");
    for (char c : out)
        EXPECT_EQ(c, '#');
}

TEST_F(DatabaseTest, KeyLengthLimits)
{
    Database db(base.c_str());
    std::string k259(259, 'a'), k260(260, 'a'), k261(261, 'a');
    EXPECT_TRUE(db.Write(k259.c_str(), 1, "x"));
    EXPECT_FALSE(db.Write(k260.c_str(), 1, "x")); // no room for the terminator
    char c = 0;
    EXPECT_TRUE(db.Read(k259.c_str(), 1, &c));
    EXPECT_FALSE(db.Read(k260.c_str(), 1, &c));
    EXPECT_EQ(std::string(Database::LastError()), "[reading] key '" + k260 + "' doesn't exist in database");
    EXPECT_FALSE(db.Read(k261.c_str(), 1, &c));
    EXPECT_EQ(std::string(Database::LastError()), "[reading] key '" + k261 + "' is too long (max 260 chars)");

    Database::Key key(k261.c_str());
    EXPECT_EQ(std::strlen(key.label), 259u);
    Database::Key empty;
    for (char b : empty.label)
        EXPECT_EQ(b, 0);
    EXPECT_EQ(empty.adress, 0);
    EXPECT_EQ(empty.size, 0u);
}

TEST_F(DatabaseTest, HostilePointerListsAreReadOnlyAsFarAsTheyGo)
{
    Spit(base + ".db", std::vector<unsigned char>(16, 'd'));
    struct Case {
        const char* what;
        std::vector<unsigned char> pl;
        size_t expected;
    };
    std::vector<Case> cases;
    {
        std::vector<unsigned char> v;
        Put32(v, 0x80000000u); // negative count
        PutEntry(v, "a", 0, 1);
        cases.push_back({"negative count", v, 0});
    }
    {
        std::vector<unsigned char> v;
        Put32(v, 1000000);
        PutEntry(v, "a", 0, 1);
        PutEntry(v, "b", 1, 1);
        v.resize(v.size() + 100, 0); // a torn third entry
        cases.push_back({"count beyond the file", v, 2});
    }
    {
        std::vector<unsigned char> v = {2, 0};
        cases.push_back({"short count", v, 0});
    }
    for (const Case& c : cases) {
        Spit(base + ".pl", c.pl);
        Database db(base.c_str());
        EXPECT_EQ(db.records.size(), c.expected) << c.what;
    }

    // A label filling all 260 bytes is cut at its last byte.
    std::vector<unsigned char> v;
    Put32(v, 1);
    PutEntry(v, std::string(260, 'z'), 0, 1);
    Spit(base + ".pl", v);
    Database db(base.c_str());
    ASSERT_EQ(db.records.size(), 1u);
    EXPECT_EQ(std::strlen(db.records[0].label), 259u);
    char c = 0;
    EXPECT_TRUE(db.Read(std::string(259, 'z').c_str(), 1, &c));
    EXPECT_EQ(c, 'd');
}

TEST_F(DatabaseTest, RecordsOutsideTheDataFileAreRefused)
{
    Spit(base + ".db", std::vector<unsigned char>(10, 'd'));
    std::vector<unsigned char> v;
    Put32(v, 4);
    PutEntry(v, "tail", 6, 8);     // runs 4 bytes past the end
    PutEntry(v, "before", -4, 2);  // negative offset
    PutEntry(v, "exact", 6, 4);    // ends exactly at the end
    PutEntry(v, "huge", 8, 0xfffffff0u);
    Spit(base + ".pl", v);
    Database db(base.c_str());
    ASSERT_EQ(db.records.size(), 4u);
    char out[8];
    std::memset(out, '#', sizeof(out));
    EXPECT_FALSE(db.Read("tail", 8, out));
    EXPECT_FALSE(db.Read("before", 2, out));
    for (char c : out)
        EXPECT_EQ(c, '#');
    EXPECT_TRUE(db.Read("exact", 4, out));
    EXPECT_EQ(std::string(out, 4), "dddd");
    // The caller's claimed size matches the record, but the file cannot hold
    // it: refused before anything of that size is allocated.
    std::vector<char> big(16);
    EXPECT_FALSE(db.Read("huge", 0xfffffff0u, big.data()));
}

TEST_F(DatabaseTest, OverlongBasePathIsRefusedWithoutTouchingDisk)
{
    std::string longbase = dir + "/" + std::string(300, 'p');
    Database db(longbase.c_str());
    EXPECT_TRUE(db.records.empty());
    EXPECT_EQ(db.db_location[0], '\0');
    EXPECT_FALSE(db.Write("k", 1, "x"));
    char c;
    EXPECT_FALSE(db.Read("k", 1, &c));

    Database none(nullptr);
    EXPECT_TRUE(none.records.empty());
    EXPECT_FALSE(Database::FileExist(".db"));

    // 256 characters is still fine.
    std::string fits = dir + "/" + std::string(256 - dir.size() - 1, 'q');
    ASSERT_EQ(fits.size(), 256u);
    {
        Database ok(fits.c_str());
        EXPECT_TRUE(Database::FileExist((fits + ".db").c_str()));
        EXPECT_TRUE(ok.Write("k", 1, "x"));
    }
    std::remove((fits + ".db").c_str());
    std::remove((fits + ".pl").c_str());
}

TEST_F(DatabaseTest, UnwritableFolderGivesAnEmptyStore)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root may write anywhere";
    std::string ro = dir + "/ro";
    ASSERT_EQ(mkdir(ro.c_str(), 0500), 0);
    {
        Database db((ro + "/store").c_str());
        EXPECT_TRUE(db.records.empty());
        EXPECT_FALSE(db.Synchronize());
    }
    rmdir(ro.c_str());
}

} // namespace
