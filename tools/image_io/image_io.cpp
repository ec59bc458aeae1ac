// Picture loading and writing for the asset tools (PNG through stb, SVG through rsvg-convert).
#include "tools/image_io/image_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace ImageIO {
namespace {

void SetError(std::string* error, const std::string& text)
{
    if (error)
        *error = text;
}

bool EndsWithNoCase(const std::string& s, const char* suffix)
{
    size_t n = std::strlen(suffix);
    if (s.size() < n)
        return false;
    for (size_t i = 0; i < n; ++i) {
        char a = s[s.size() - n + i];
        if (a >= 'A' && a <= 'Z')
            a = static_cast<char>(a - 'A' + 'a');
        if (a != suffix[i])
            return false;
    }
    return true;
}

// Decoders hand rows top first; the game wants the bottom row first.
void FlipRows(Image& img)
{
    size_t line = static_cast<size_t>(img.w) * 4;
    std::vector<unsigned char> tmp(line);
    for (int y = 0; y < img.h / 2; ++y) {
        unsigned char* a = &img.rgba[y * line];
        unsigned char* b = &img.rgba[(img.h - 1 - y) * line];
        std::memcpy(tmp.data(), a, line);
        std::memcpy(a, b, line);
        std::memcpy(b, tmp.data(), line);
    }
}

bool LoadPNG(const std::string& path, Image& out, std::string* error)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        SetError(error, "cannot open " + path + ": " + std::strerror(errno));
        return false;
    }
    int w = 0, h = 0, n = 0;
    if (!stbi_info_from_file(f, &w, &h, &n) || w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide) {
        std::fclose(f);
        SetError(error, "not a readable PNG of sensible size: " + path);
        return false;
    }
    unsigned char* px = stbi_load_from_file(f, &w, &h, &n, 4);
    std::fclose(f);
    if (!px) {
        SetError(error, "cannot decode " + path + ": " + stbi_failure_reason());
        return false;
    }
    out.w = w;
    out.h = h;
    out.rgba.assign(px, px + static_cast<size_t>(w) * h * 4);
    stbi_image_free(px);
    FlipRows(out);
    return true;
}

// Runs rsvg-convert without a shell, so no path is ever interpreted as a command.
bool RasteriseSVG(const std::string& svg, const std::string& png, std::string* error)
{
    pid_t pid = fork();
    if (pid < 0) {
        SetError(error, std::string("fork failed: ") + std::strerror(errno));
        return false;
    }
    if (pid == 0) {
        int devnull = open("/dev/null", O_WRONLY);
        if (devnull >= 0)
            dup2(devnull, STDOUT_FILENO);
        const char* argv[] = {"rsvg-convert", "--format=png", "-o", png.c_str(), svg.c_str(), nullptr};
        execvp(argv[0], const_cast<char* const*>(argv));
        _exit(127);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            SetError(error, "waiting for rsvg-convert failed");
            return false;
        }
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        SetError(error, "rsvg-convert failed on " + svg +
                            (WIFEXITED(status) && WEXITSTATUS(status) == 127 ? " (rsvg-convert not installed?)" : ""));
        return false;
    }
    return true;
}

bool LoadSVG(const std::string& path, Image& out, std::string* error)
{
    if (access(path.c_str(), R_OK) != 0) {
        SetError(error, "cannot open " + path + ": " + std::strerror(errno));
        return false;
    }
    const char* tmpdir = std::getenv("TMPDIR");
    std::string templ = std::string(tmpdir && *tmpdir ? tmpdir : "/tmp") + "/bm_svg_XXXXXX.png";
    std::vector<char> name(templ.begin(), templ.end());
    name.push_back('\0');
    int fd = mkstemps(name.data(), 4);
    if (fd < 0) {
        SetError(error, std::string("cannot make a temporary file: ") + std::strerror(errno));
        return false;
    }
    close(fd);
    bool ok = RasteriseSVG(path, name.data(), error) && LoadPNG(name.data(), out, error);
    unlink(name.data());
    return ok;
}

} // namespace

bool LoadImageRGBA(const std::string& path, Image& out, std::string* error)
{
    out = Image();
    bool ok = false;
    if (EndsWithNoCase(path, ".png"))
        ok = LoadPNG(path, out, error);
    else if (EndsWithNoCase(path, ".svg"))
        ok = LoadSVG(path, out, error);
    else
        SetError(error, "unknown picture kind (want .png or .svg): " + path);
    if (!ok)
        out = Image();
    return ok;
}

uint32_t HashText(const std::string& text)
{
    uint32_t h = 2166136261u;
    for (unsigned char c : text) {
        h ^= c;
        h *= 16777619u;
    }
    return h;
}

Image MakePlaceholder(int w, int h, uint32_t seed)
{
    Image img;
    if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide)
        return img;
    img.w = w;
    img.h = h;
    img.rgba.assign(static_cast<size_t>(w) * h * 4, 0);
    // A saturated colour from the seed so neighbouring placeholders differ.
    unsigned char base[3] = {static_cast<unsigned char>(96 + (seed & 0x7f)),
                             static_cast<unsigned char>(96 + ((seed >> 8) & 0x7f)),
                             static_cast<unsigned char>(96 + ((seed >> 16) & 0x7f))};
    int cell = std::max(4, std::min(w, h) / 8);
    int border = std::max(1, std::min(w, h) / 32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            unsigned char* p = img.Pixel(x, y);
            bool edge = x < border || y < border || x >= w - border || y >= h - border;
            // The cross marks the picture as a stand-in at any size.
            long dx = static_cast<long>(x) * h, dy = static_cast<long>(y) * w;
            long tol = static_cast<long>(border) * std::max(w, h);
            bool cross = std::labs(dx - dy) < tol || std::labs(dx - (static_cast<long>(h - 1 - y) * w)) < tol;
            if (edge || cross) {
                p[0] = 30;
                p[1] = 30;
                p[2] = 30;
            } else {
                bool dark = ((x / cell) + (y / cell)) % 2 == 0;
                for (int c = 0; c < 3; ++c)
                    p[c] = dark ? static_cast<unsigned char>(base[c] * 3 / 4) : base[c];
            }
            p[3] = 255;
        }
    }
    return img;
}

bool WritePNG(const std::string& path, const Image& img)
{
    if (img.w <= 0 || img.h <= 0 || img.rgba.size() != static_cast<size_t>(img.w) * img.h * 4)
        return false;
    Image top_first = img;
    FlipRows(top_first);
    return stbi_write_png(path.c_str(), img.w, img.h, 4, top_first.rgba.data(), img.w * 4) != 0;
}

} // namespace ImageIO
