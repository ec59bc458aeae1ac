// The record file "dat.bin": reading what is there, replacing it safely.
#include "game/state.h"

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

class RecordFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("bm_record_" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = (dir / "dat.bin").string();
        record_path = path.c_str();
    }
    void TearDown() override
    {
        record_path = "dat.bin";
        fs::remove_all(dir);
    }
    void WriteBytes(const std::vector<unsigned char>& bytes)
    {
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    std::vector<unsigned char> ReadBytes()
    {
        std::ifstream in(path, std::ios::binary);
        return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
    }

    fs::path dir;
    std::string path;
};

TEST_F(RecordFile, MissingShortLongAndStoredValues)
{
    user_record = 77;
    ReadRecord();
    EXPECT_EQ(user_record, 0) << "no file: no record";

    WriteBytes({0xD2, 0x04, 0x00, 0x00}); // 1234
    ReadRecord();
    EXPECT_EQ(user_record, 1234);

    WriteBytes({0x05, 0x00});
    user_record = 9;
    ReadRecord();
    EXPECT_EQ(user_record, 0) << "a file too short to hold a record is no record";

    WriteBytes({0x2A, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF});
    ReadRecord();
    EXPECT_EQ(user_record, 42) << "only the first four bytes count";

    WriteBytes({0xFF, 0xFF, 0xFF, 0xFF});
    ReadRecord();
    EXPECT_EQ(user_record, -1) << "the four bytes are a signed little-endian number";
}

TEST_F(RecordFile, StoreWritesFourLittleEndianBytesThatReadBack)
{
    user_score = 0x01020304;
    StoreRecord();
    EXPECT_EQ(user_record, 0x01020304);
    EXPECT_EQ(ReadBytes(), (std::vector<unsigned char>{0x04, 0x03, 0x02, 0x01}));
    user_record = 0;
    ReadRecord();
    EXPECT_EQ(user_record, 0x01020304);
    EXPECT_FALSE(fs::exists(path + ".tmp")) << "no temporary file is left behind";
}

TEST_F(RecordFile, StoreReplacesTheFileInsteadOfRewritingIt)
{
    WriteBytes({0x01, 0x00, 0x00, 0x00});
    // Someone holding the old file sees it whole: the new record arrives as a
    // new file renamed over the old one, never as a truncated old file.
    int old_fd = open(path.c_str(), O_RDONLY);
    ASSERT_GE(old_fd, 0);
    user_score = 2;
    StoreRecord();
    unsigned char old_bytes[8] = {};
    ssize_t n = pread(old_fd, old_bytes, sizeof old_bytes, 0);
    close(old_fd);
    EXPECT_EQ(n, 4);
    EXPECT_EQ(old_bytes[0], 0x01);
    EXPECT_EQ(ReadBytes(), (std::vector<unsigned char>{0x02, 0x00, 0x00, 0x00}));
}

TEST_F(RecordFile, UnwritablePlaceKeepsTheRecordInMemoryOnly)
{
    std::ofstream(dir / "a-file").put('x'); // no folder can be made where a file stands
    std::string nowhere = (dir / "a-file" / "dat.bin").string();
    record_path = nowhere.c_str();
    user_score = 55;
    StoreRecord();
    EXPECT_EQ(user_record, 55);
    EXPECT_FALSE(fs::exists(nowhere));

    // A folder standing where the file should be: the rename fails and nothing is lost.
    record_path = path.c_str();
    fs::create_directories(path);
    user_score = 56;
    StoreRecord();
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_FALSE(fs::exists(path + ".tmp"));
}
