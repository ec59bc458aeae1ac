// The panel file layout, shared by the game's panel loader and the make_panel tool.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// A panel file is flat little-endian data without magic or version:
//   int32 P; P x { int32 W, int32 H, W*H*4 RGBA bytes (first row at t = 0), 260-byte name };
//   int32 background index; int32 B; B x 21-byte button records.
namespace PanelFile {

constexpr std::size_t kIntBytes = 4;
constexpr std::size_t kPictureHeaderBytes = 8; // width, height
constexpr std::size_t kBytesPerPixel = 4;
constexpr std::size_t kNameBytes = 260;
// picture index, x, y, w, h (4 bytes each), then the hide byte; no padding.
constexpr std::size_t kButtonRecordBytes = 21;
// The smallest file: picture count, background index and button count.
constexpr std::size_t kMinimumFileBytes = 3 * kIntBytes;
// Any index outside the picture list means "no picture"; this is the one we write.
constexpr int32_t kNoPicture = -1;

struct Picture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<unsigned char> rgba; // width * height * 4 bytes, first row at t = 0
    std::string name;                // informative only; cut to 259 characters
};

struct ButtonRecord {
    int32_t picture = kNoPicture;
    float x = 0.0f;
    float y = 0.0f;
    float w = 0.0f;
    float h = 0.0f;
    bool hide = false;
};

struct Panel {
    std::vector<Picture> pictures;
    int32_t background = kNoPicture;
    std::vector<ButtonRecord> buttons;
};

inline int32_t DecodeInt32(const unsigned char* p)
{
    uint32_t u = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                 (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
    int32_t v;
    std::memcpy(&v, &u, sizeof v);
    return v;
}

inline float DecodeFloat(const unsigned char* p)
{
    int32_t bits = DecodeInt32(p);
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

inline void AppendInt32(std::vector<unsigned char>& out, int32_t v)
{
    uint32_t u;
    std::memcpy(&u, &v, sizeof u);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>((u >> (8 * i)) & 0xFFu));
}

inline void AppendFloat(std::vector<unsigned char>& out, float v)
{
    int32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    AppendInt32(out, bits);
}

// Pixel bytes of a W x H picture, or -1 when a side is negative or the size is
// beyond any file (more than 2^60 bytes); computed in 64 bits so that no stored
// size can overflow it.
inline int64_t PictureBytes(int32_t width, int32_t height)
{
    if (width < 0 || height < 0)
        return -1;
    const int64_t pixels = static_cast<int64_t>(width) * static_cast<int64_t>(height);
    if (pixels > (int64_t{1} << 58))
        return -1;
    return pixels * static_cast<int64_t>(kBytesPerPixel);
}

inline ButtonRecord DecodeButton(const unsigned char* p)
{
    ButtonRecord b;
    b.picture = DecodeInt32(p);
    b.x = DecodeFloat(p + 4);
    b.y = DecodeFloat(p + 8);
    b.w = DecodeFloat(p + 12);
    b.h = DecodeFloat(p + 16);
    b.hide = p[20] != 0;
    return b;
}

inline void AppendButton(std::vector<unsigned char>& out, const ButtonRecord& b)
{
    AppendInt32(out, b.picture);
    AppendFloat(out, b.x);
    AppendFloat(out, b.y);
    AppendFloat(out, b.w);
    AppendFloat(out, b.h);
    out.push_back(b.hide ? 1 : 0);
}

// The whole file for a panel. Pictures whose pixel count does not match their size
// are the caller's mistake; the writer stores the pixels it has, padded or cut to size.
inline std::vector<unsigned char> Encode(const Panel& panel)
{
    std::vector<unsigned char> out;
    AppendInt32(out, static_cast<int32_t>(panel.pictures.size()));
    for (const Picture& pic : panel.pictures) {
        AppendInt32(out, pic.width);
        AppendInt32(out, pic.height);
        int64_t bytes = PictureBytes(pic.width, pic.height);
        std::size_t n = bytes > 0 ? static_cast<std::size_t>(bytes) : 0;
        std::size_t start = out.size();
        out.resize(start + n, 0);
        std::size_t have = pic.rgba.size() < n ? pic.rgba.size() : n;
        if (have > 0)
            std::memcpy(out.data() + start, pic.rgba.data(), have);
        std::size_t name_start = out.size();
        out.resize(name_start + kNameBytes, 0);
        std::memcpy(out.data() + name_start, pic.name.data(),
                    pic.name.size() < kNameBytes - 1 ? pic.name.size() : kNameBytes - 1);
    }
    AppendInt32(out, panel.background);
    AppendInt32(out, static_cast<int32_t>(panel.buttons.size()));
    for (const ButtonRecord& b : panel.buttons)
        AppendButton(out, b);
    return out;
}

} // namespace PanelFile
