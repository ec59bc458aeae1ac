// Textures made from the asset store's size and pixel records, and the kit's text and image helpers.
#include "engine/texture.h"

#include "engine/database.h"
#include "engine/startup_order.h"
#include "engine/texture_binding.h"
#include "engine/texture_bounds.h"
#include "engine/texture_hull.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

Database Textures_db BM_INIT_ORDER(BM_ORDER_DATABASE)("Data/textures_pack");

char retv_absolute_path[260];
char curr_absolute_path[260];

namespace {
char dynstr_buffer[512];
}

GLuint CreatePictureTexture(GLsizei w, GLsizei h, const unsigned char* rgba)
{
    GLuint tex = 0;
    glGenTextures(1, &tex);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, tex);
    // A new picture under a reused name is not the old one.
    ForgetBoundTexture();
    ForgetPictureShape(tex);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    RememberTexture(tex);
    return tex;
}

bool LoadTextureFromDB(GLuint* tex_id, const char* label)
{
    if (!tex_id || !label)
        return false;
    unsigned char info_raw[8];
    if (!Textures_db.Read(dynstr("%s_info", label), sizeof(info_raw), info_raw))
        return false;
    TextureInfo t_info(static_cast<uint32_t>(info_raw[0]) | (static_cast<uint32_t>(info_raw[1]) << 8) |
                           (static_cast<uint32_t>(info_raw[2]) << 16) | (static_cast<uint32_t>(info_raw[3]) << 24),
                       static_cast<uint32_t>(info_raw[4]) | (static_cast<uint32_t>(info_raw[5]) << 8) |
                           (static_cast<uint32_t>(info_raw[6]) << 16) | (static_cast<uint32_t>(info_raw[7]) << 24));
    if (t_info.w == 0 || t_info.h == 0)
        return false;
    // Sizes come from a file: the byte count is taken in 64 bits, the sides
    // must be ones the driver can hold, and the pixel record must really lie in
    // the data file, all before anything is allocated.
    GLint max_side = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_side);
    if (max_side <= 0 || t_info.w > static_cast<uint32_t>(max_side) || t_info.h > static_cast<uint32_t>(max_side))
        return false;
    uint64_t img_size = static_cast<uint64_t>(t_info.w) * t_info.h * 4;
    if (img_size > 0xffffffffu)
        return false;
    const char* data_key = dynstr("%s_data", label);
    if (!Textures_db.CanRead(data_key, static_cast<unsigned>(img_size)))
        return false;
    // Read once into the very buffer that is uploaded; every byte is overwritten,
    // so it is not cleared first.
    std::unique_ptr<unsigned char[]> pixels(new (std::nothrow) unsigned char[static_cast<size_t>(img_size)]);
    if (!pixels || !Textures_db.Read(data_key, static_cast<unsigned>(img_size), pixels.get()))
        return false;

    *tex_id = CreatePictureTexture(static_cast<GLsizei>(t_info.w), static_cast<GLsizei>(t_info.h), pixels.get());
    return true;
}

namespace {

// The size of texture `tex`, which the store's records are checked against.
void PictureSize(GLuint tex, GLint* w, GLint* h)
{
    *w = *h = 0;
    glBindTexture(GL_TEXTURE_2D, tex);
    ForgetBoundTexture();
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, h);
}

} // namespace

bool LoadTextureBounds(GLuint tex, const char* label)
{
    SetOpaqueBounds(tex, nullptr);
    unsigned char raw[TextureBounds::kBytes];
    if (tex == 0 || !label || !Textures_db.Read(dynstr("%s%s", label, TextureBounds::kSuffix), sizeof raw, raw))
        return false;
    GLint w = 0, h = 0;
    PictureSize(tex, &w, &h);
    TextureBounds::Rect r;
    if (w <= 0 || h <= 0 || !TextureBounds::Decode(raw, static_cast<uint32_t>(w), static_cast<uint32_t>(h), &r))
        return false;
    // A picture that is mostly visible gains less from the clip than the clip costs.
    uint64_t visible = static_cast<uint64_t>(r.x1 - r.x0) * (r.y1 - r.y0);
    if (visible * 4 > static_cast<uint64_t>(w) * static_cast<uint64_t>(h) * 3)
        return true;
    const float fw = static_cast<float>(w), fh = static_cast<float>(h);
    OpaqueBounds b{static_cast<float>(r.x0) / fw, static_cast<float>(r.y0) / fh, static_cast<float>(r.x1) / fw,
                   static_cast<float>(r.y1) / fh};
    SetOpaqueBounds(tex, &b);
    return true;
}

bool LoadTextureHull(GLuint tex, const char* label)
{
    SetVisibleHull(tex, nullptr);
    unsigned char raw[TextureHull::kBytes];
    if (tex == 0 || !label || !Textures_db.Read(dynstr("%s%s", label, TextureHull::kSuffix), sizeof raw, raw))
        return false;
    GLint w = 0, h = 0;
    PictureSize(tex, &w, &h);
    TextureHull::Polygon p;
    if (w <= 0 || h <= 0 || !TextureHull::Decode(raw, static_cast<uint32_t>(w), static_cast<uint32_t>(h), &p))
        return false;
    VisibleHull hull{static_cast<int>(p.count), {}, {}};
    for (uint32_t i = 0; i < p.count; ++i) {
        hull.u[i] = p.x[i] / static_cast<float>(w);
        hull.t[i] = p.y[i] / static_cast<float>(h);
    }
    SetVisibleHull(tex, &hull);
    return true;
}

bool LoadTexture(GLuint* texid, const char* szPathName)
{
    if (!texid)
        return false;
    if (*texid != 0 && glIsTexture(*texid)) {
        ForgetPictureShape(*texid);
        glDeleteTextures(1, texid);
        ForgetBoundTexture();
        *texid = 0;
    }
    if (!LoadTextureFromDB(texid, szPathName))
        return false;
    LoadTextureBounds(*texid, szPathName);
    LoadTextureHull(*texid, szPathName);
    return true;
}

const char* dynstr(const char* fmt, ...)
{
    std::memset(dynstr_buffer, 0, sizeof(dynstr_buffer));
    if (!fmt)
        return dynstr_buffer;
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(dynstr_buffer, sizeof(dynstr_buffer), fmt, args);
    va_end(args);
    return dynstr_buffer;
}

int Flip_Image_Y(unsigned char* image, int bytes_per_line, int height)
{
    if (!image || bytes_per_line <= 0 || height <= 0)
        return 0;
    size_t line = static_cast<size_t>(bytes_per_line);
    size_t total = line * static_cast<size_t>(height);
    unsigned char* copy = new (std::nothrow) unsigned char[total + 1];
    if (!copy)
        return 0;
    std::memcpy(copy, image, total);
    for (int i = 0; i < height; ++i)
        std::memcpy(image + static_cast<size_t>(height - 1 - i) * line, copy + static_cast<size_t>(i) * line, line);
    delete[] copy;
    return 1;
}

char* GetAbsPath(const char* path)
{
    std::memset(retv_absolute_path, 0, sizeof(retv_absolute_path));
    std::snprintf(retv_absolute_path, sizeof(retv_absolute_path), "%s%s", curr_absolute_path, path ? path : "");
    return retv_absolute_path;
}
