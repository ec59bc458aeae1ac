// A hostile font file through the font loader.
#include "engine/draw.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LoadFont(fuzz::WriteFile("font", data, size).c_str());
    return 0;
}
