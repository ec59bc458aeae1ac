// What the readers' tests share: a scratch folder, little-endian packing, a GL
// canvas with read-backs, and the allocation probe (alloc_probe.cpp).
#pragma once

#include "gl_context.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace bm {

using Bytes = std::vector<unsigned char>;

inline Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct ScratchDir {
    char pattern[20] = "/tmp/bm_test_XXXXXX";
    std::string path = mkdtemp(pattern) ? pattern : "/nonexistent";
    ~ScratchDir() { std::filesystem::remove_all(path); }
    std::string Write(const std::string& name, const std::string& text) const
    {
        std::ofstream(path + "/" + name, std::ios::binary) << text;
        return path + "/" + name;
    }
    std::string Write(const std::string& name, const Bytes& b) const { return Write(name, std::string(b.begin(), b.end())); }
    Bytes Read(const std::string& name) const { return ReadFile(path + "/" + name); }
};

inline Bytes& Put32(Bytes& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(v >> (8 * i)));
    return out;
}

// An off-screen 512 x 512 canvas cleared to black, one pixel per virtual unit.
inline void Canvas()
{
    EnsureGlContext();
    UseOffscreenCanvas();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 512, 0, 512, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// RGBA bytes of a pixel of the canvas, or of the first texels of a texture.
inline Bytes Pixel(int x, int y)
{
    Bytes px(4);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return px;
}
inline Bytes Texels(GLuint tex, size_t count)
{
    Bytes px(count * 4);
    glBindTexture(GL_TEXTURE_2D, tex);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return px;
}

// The largest request made through operator new since the previous call;
// requests of 1 GiB or more are refused.
size_t LargestAllocation();

} // namespace bm
