// A stand-in for the OpenGL texture calls of the readers: it reads every byte a
// picture upload is handed, so a pixel buffer shorter than its size is an
// out-of-bounds read the sanitizer catches, and it refuses sizes no driver
// takes. Every other GL call reaches the system library with no context
// current, where it does nothing.
#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <set>

namespace {
constexpr GLint kMaxTextureSize = 16384;
std::set<GLuint> names;
GLuint next_name = 1;
volatile unsigned sink;
} // namespace

extern "C" {

void glGetIntegerv(GLenum pname, GLint* params)
{
    *params = pname == GL_MAX_TEXTURE_SIZE ? kMaxTextureSize : 0;
}

void glGenTextures(GLsizei n, GLuint* textures)
{
    for (GLsizei i = 0; i < n; ++i)
        names.insert(textures[i] = next_name++);
}

void glDeleteTextures(GLsizei n, const GLuint* textures)
{
    for (GLsizei i = 0; i < n; ++i)
        names.erase(textures[i]);
}

GLboolean glIsTexture(GLuint texture) { return names.count(texture) ? GL_TRUE : GL_FALSE; }
void glBindTexture(GLenum, GLuint) {}
void glTexParameteri(GLenum, GLenum, GLint) {}

void glTexImage2D(GLenum, GLint, GLint, GLsizei width, GLsizei height, GLint, GLenum format, GLenum type,
                  const void* pixels)
{
    if (width < 0 || height < 0 || width > kMaxTextureSize || height > kMaxTextureSize || format != GL_RGBA ||
        type != GL_UNSIGNED_BYTE) {
        std::fprintf(stderr, "fake GL: a %d x %d upload no driver takes\n", width, height);
        std::abort();
    }
    const unsigned char* p = static_cast<const unsigned char*>(pixels);
    unsigned sum = 0;
    for (size_t i = 0; p && i < static_cast<size_t>(width) * static_cast<size_t>(height) * 4; ++i)
        sum += p[i];
    sink = sum;
}

} // extern "C"
