// The game's window icon as the build stores it in Data/ and the X layer reads it:
// one file per size, holding the pixels in the order _NET_WM_ICON wants them.
//
// Layout, all numbers 32-bit little-endian: the magic "BMIC", the width, the
// height, then width x height pixels as 0xAARRGGBB (not premultiplied), the top
// row first. Width and height are both the size the file is named for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace WindowIcon {

// The sizes the window carries, each in its own file (IconPath).
constexpr int kSides[] = {16, 32, 48, 64, 128};
// No icon file may be larger than this side, whatever its header says.
constexpr int kMaxSide = 256;
constexpr size_t kHeaderSize = 12;
constexpr char kMagic[4] = {'B', 'M', 'I', 'C'};

// "Data/icon/<side>.argb", relative to the folder holding Data/.
std::string IconPath(int side);

// The bytes of an icon file of side x side pixels (argb holds side * side pixels).
std::vector<unsigned char> Encode(int side, const std::vector<uint32_t>& argb);

// Appends width, height and the pixels of a side x side icon to `cardinals`, the
// form of _NET_WM_ICON. Anything else (another size, a short or long file, a bad
// magic) appends nothing and returns false.
bool Decode(const unsigned char* data, size_t size, int side, std::vector<unsigned long>& cardinals);

// Decode() of the file at `path`, reading no more than a side x side icon holds.
bool Read(const std::string& path, int side, std::vector<unsigned long>& cardinals);

} // namespace WindowIcon
