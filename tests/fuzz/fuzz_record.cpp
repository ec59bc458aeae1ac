// A hostile record file: its first four bytes, or no record at all.
#include "fuzz/fuzz_support.h"
#include "game/state.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static std::string path;
    path = fuzz::WriteFile("dat.bin", data, size);
    record_path = path.c_str();
    ReadRecord();
    const int32_t want = size < 4 ? 0 : static_cast<int32_t>(data[0] | data[1] << 8 | data[2] << 16 | uint32_t(data[3]) << 24);
    fuzz::Require(user_record == want, "the record is not the file's first four bytes");
    return 0;
}
