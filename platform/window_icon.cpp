// Reading and writing the window icon files of Data/icon/.
#include "platform/window_icon.h"

#include <cstdio>
#include <cstring>

namespace WindowIcon {

namespace {
uint32_t Le32(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

void PutLe32(std::vector<unsigned char>& out, uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<unsigned char>(v >> shift));
}

bool SideAllowed(int side) { return side >= 1 && side <= kMaxSide; }

size_t FileSize(int side) { return kHeaderSize + static_cast<size_t>(side) * static_cast<size_t>(side) * 4; }
} // namespace

std::string IconPath(int side) { return "Data/icon/" + std::to_string(side) + ".argb"; }

std::vector<unsigned char> Encode(int side, const std::vector<uint32_t>& argb)
{
    std::vector<unsigned char> out;
    if (!SideAllowed(side) || argb.size() != static_cast<size_t>(side) * static_cast<size_t>(side))
        return out;
    out.reserve(FileSize(side));
    out.insert(out.end(), kMagic, kMagic + 4);
    PutLe32(out, static_cast<uint32_t>(side));
    PutLe32(out, static_cast<uint32_t>(side));
    for (uint32_t pixel : argb)
        PutLe32(out, pixel);
    return out;
}

bool Decode(const unsigned char* data, size_t size, int side, std::vector<unsigned long>& cardinals)
{
    if (!data || !SideAllowed(side) || size != FileSize(side) || memcmp(data, kMagic, 4) != 0)
        return false;
    if (Le32(data + 4) != static_cast<uint32_t>(side) || Le32(data + 8) != static_cast<uint32_t>(side))
        return false;
    const size_t pixels = static_cast<size_t>(side) * static_cast<size_t>(side);
    cardinals.reserve(cardinals.size() + 2 + pixels);
    cardinals.push_back(static_cast<unsigned long>(side));
    cardinals.push_back(static_cast<unsigned long>(side));
    for (const unsigned char* p = data + kHeaderSize; p < data + size; p += 4)
        cardinals.push_back(Le32(p));
    return true;
}

bool Read(const std::string& path, int side, std::vector<unsigned long>& cardinals)
{
    if (!SideAllowed(side))
        return false;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return false;
    // One byte more than the icon holds tells a longer file from the right one.
    std::vector<unsigned char> bytes(FileSize(side) + 1);
    const size_t got = fread(bytes.data(), 1, bytes.size(), f);
    fclose(f);
    return Decode(bytes.data(), got, side, cardinals);
}

} // namespace WindowIcon
