// The record file "dat.bin": what a stored file reads as, and a record replaced whole or not at all.
#include "rules_support.h"

#include <filesystem>

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;
const std::string kPath = rules::TempPath("dat.bin");

TEST(RecordFile, StoredBytesReadAsASignedLittleEndianRecord)
{
    record_path = kPath.c_str();
    const std::pair<Bytes, int> cases[] = {{{0xD2, 0x04, 0x00, 0x00}, 1234}, {{0x05, 0x00}, 0},
                                           {{0x2A, 0x00, 0x00, 0x00, 0xFF}, 42}, {{0xFF, 0xFF, 0xFF, 0xFF}, -1},
                                           {{0x04, 0x03, 0x02, 0x01}, 0x01020304}};
    user_record = 77;
    ReadRecord();
    EXPECT_EQ(user_record, 0) << "no file, no record";
    for (const auto& [bytes, record] : cases) {
        rules::WriteFile(kPath, bytes);
        user_record = 77;
        ReadRecord();
        EXPECT_EQ(user_record, record) << bytes.size() << " bytes";
    }
}

TEST(RecordFile, StoreReplacesTheFileWholeOrNotAtAll)
{
    record_path = kPath.c_str();
    rules::WriteFile(kPath, {0x07, 0x00, 0x00, 0x00});
    user_score = 0x01020304;
    StoreRecord();
    EXPECT_EQ(rules::FileBytes(kPath), (Bytes{0x04, 0x03, 0x02, 0x01}));
    EXPECT_FALSE(fs::exists(kPath + ".tmp"));

    // The new file lands on a full disk: nothing is renamed over the record.
    fs::create_symlink("/dev/full", kPath + ".tmp");
    user_score = 9;
    StoreRecord();
    EXPECT_EQ(user_record, 9) << "the new record stays in memory";
    ASSERT_TRUE(fs::is_regular_file(fs::symlink_status(kPath))) << "nothing was renamed over the record";
    EXPECT_EQ(rules::FileBytes(kPath), (Bytes{0x04, 0x03, 0x02, 0x01}));
    EXPECT_FALSE(fs::exists(fs::symlink_status(kPath + ".tmp")));

    rules::WriteFile(rules::TempPath("a-file"), {0x78}); // no folder can be made where a file stands
    const std::string nowhere = rules::TempPath("a-file/dat.bin");
    record_path = nowhere.c_str();
    StoreRecord();
    EXPECT_FALSE(fs::exists(nowhere));
    record_path = kPath.c_str();
}
