// Pictures from the asset store become OpenGL textures; plus the kit's small
// text-formatting and image helpers.
#pragma once

#include <GL/gl.h>
#include <cstdint>

class Database;

// The one asset store of the game, opened on "Data/textures_pack" before main.
extern Database Textures_db;

struct TextureInfo {
    uint32_t w;
    uint32_t h;
    TextureInfo() : w(0), h(0) {}
    TextureInfo(uint32_t w_, uint32_t h_) : w(w_), h(h_) {}
};

// Creates a texture the way every picture of the game is made: RGBA pixels as
// given (first row at t = 0), clamped, nearest filtering, no mipmaps; it stays bound.
GLuint CreatePictureTexture(GLsizei w, GLsizei h, const unsigned char* rgba);
bool LoadTextureFromDB(GLuint* tex_id, const char* label);
// Hands the drawing kit the visible part of picture `label`, made texture `tex`,
// from the store's optional "_bounds" record; false (and whole quads) without one.
bool LoadTextureBounds(GLuint tex, const char* label);
// Reads the polygon around the visible texels of texture `tex` (loaded from
// `label`) from the store's optional "_hull" record; false (and no polygon) without one.
bool LoadTextureHull(GLuint tex, const char* label);
// Reloads a picture into `texid`, with its visible part and polygon when the store knows them.
bool LoadTexture(GLuint* texid, const char* szPathName);
// printf-style formatting into one shared 512-byte buffer (cut, never overrun).
const char* dynstr(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
int Flip_Image_Y(unsigned char* image, int bytes_per_line, int height);
char* GetAbsPath(const char* path);

extern char retv_absolute_path[260];
extern char curr_absolute_path[260];
