// The immediate-mode drawing kit: bitmap-font text, full-screen pictures, quads, billboards, vsync switch.
#include "engine/draw.h"

#include "engine/font_format.h"
#include "platform/platform.h"

#include <GL/freeglut.h>
#include <GL/glu.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

GLuint font = 0;

const GLfloat kUnitQuadVertices[12] = {-1, 1, -1, -1, 1, 1, 1, 1, 1, -1, -1, -1};
const GLfloat kUnitQuadTexCoords[12] = {0, 1, 0, 0, 1, 1, 1, 1, 1, 0, 0, 0};

namespace {

constexpr float kVirtualSide = 512.0f;
constexpr float kAdvance = 1.025f;
constexpr float kCellSide = 1.0f / FontFormat::kGridCells;

// The window rectangle, one pixel wider all round, that the current transform
// makes of the model-view rectangle (x0, y0)-(x1, y1). False when the transform
// is not one that keeps the rectangle a rectangle in front of the viewer.
bool WindowBox(float x0, float y0, float x1, float y1, GLint box[4])
{
    GLfloat mv[16], pr[16];
    GLint vp[4];
    glGetFloatv(GL_MODELVIEW_MATRIX, mv);
    glGetFloatv(GL_PROJECTION_MATRIX, pr);
    glGetIntegerv(GL_VIEWPORT, vp);
    float lo[2] = {HUGE_VALF, HUGE_VALF}, hi[2] = {-HUGE_VALF, -HUGE_VALF};
    const float corners[4][2] = {{x0, y0}, {x1, y0}, {x0, y1}, {x1, y1}};
    for (const auto& c : corners) {
        float eye[4], clip[4];
        for (int i = 0; i < 4; ++i)
            eye[i] = mv[i] * c[0] + mv[4 + i] * c[1] + mv[12 + i];
        for (int i = 0; i < 4; ++i)
            clip[i] = pr[i] * eye[0] + pr[4 + i] * eye[1] + pr[8 + i] * eye[2] + pr[12 + i] * eye[3];
        if (!(clip[3] > 0.0f))
            return false;
        for (int k = 0; k < 2; ++k) {
            float w = static_cast<float>(vp[k]) + (clip[k] / clip[3] + 1.0f) * 0.5f * static_cast<float>(vp[2 + k]);
            lo[k] = std::fmin(lo[k], w);
            hi[k] = std::fmax(hi[k], w);
        }
    }
    // Far outside any window: no box worth the trouble, and no overflowing int.
    if (!(lo[0] > -1.0e6f && lo[1] > -1.0e6f && hi[0] < 1.0e6f && hi[1] < 1.0e6f))
        return false;
    box[0] = static_cast<GLint>(std::floor(lo[0])) - 1;
    box[1] = static_cast<GLint>(std::floor(lo[1])) - 1;
    box[2] = static_cast<GLint>(std::ceil(hi[0])) + 1 - box[0];
    box[3] = static_cast<GLint>(std::ceil(hi[1])) + 1 - box[1];
    return true;
}

enum class Clip { kWhole, kPart, kNothing };

// Where the bound picture has opaque bounds, the scissor box is set around them:
// a quad of half-size (hw, hh), its texture u running from 0 at -hw (from 1 when
// `mirrored`) and t from 0 at -hh, then covers only its visible part. Its texels
// elsewhere are transparent and, blended, change no pixel; without blending or
// texturing they would, so the quad is then drawn whole, as it is under
// somebody else's scissor.
Clip ClipToOpaqueBounds(float hw, float hh, bool mirrored)
{
    const OpaqueBounds* visible = BoundOpaqueBounds();
    if (!visible || !glIsEnabled(GL_BLEND) || !glIsEnabled(GL_TEXTURE_2D) || glIsEnabled(GL_SCISSOR_TEST))
        return Clip::kWhole;
    const OpaqueBounds& b = *visible;
    if (b.u0 >= b.u1 || b.t0 >= b.t1)
        return Clip::kNothing;
    float ua = mirrored ? 1.0f - b.u1 : b.u0;
    float ub = mirrored ? 1.0f - b.u0 : b.u1;
    GLint box[4];
    if (!WindowBox(-hw + 2.0f * hw * ua, -hh + 2.0f * hh * b.t0, -hw + 2.0f * hw * ub, -hh + 2.0f * hh * b.t1, box))
        return Clip::kWhole;
    glScissor(box[0], box[1], box[2], box[3]);
    glEnable(GL_SCISSOR_TEST);
    return Clip::kPart;
}

// Triangles from client arrays of 2D positions and texture coordinates.
void DrawQuadArrays(const GLfloat* vertices, const GLfloat* texcoords, GLsizei count = 6)
{
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, vertices);
    glTexCoordPointer(2, GL_FLOAT, 0, texcoords);
    glDrawArrays(GL_TRIANGLES, 0, count);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

// One glyph square of side 2 * size with its lower-left corner at the pen,
// appended to the batch: a whole text is one draw.
void AddGlyph(char c, float size, float x, float y)
{
    int n = ConvertCharToGlASCII(c);
    if (n < 0 || n > 255)
        n = 0;
    float u0 = static_cast<float>(n % FontFormat::kGridCells) * kCellSide;
    float t0 = 1.0f - static_cast<float>(n / FontFormat::kGridCells + 1) * kCellSide;
    GLfloat v[12], t[12];
    for (int i = 0; i < 12; i += 2) {
        v[i] = x + kUnitQuadVertices[i] * size;
        v[i + 1] = y + kUnitQuadVertices[i + 1] * size;
        t[i] = u0 + kUnitQuadTexCoords[i] * kCellSide;
        t[i + 1] = t0 + kUnitQuadTexCoords[i + 1] * kCellSide;
    }
    SpriteBatch::Triangles(v, t, 6);
}

void BeginText(float size)
{
    BindTexture(font);
    PushVirtualScreen();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
    SpriteBatch::SetBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glTranslatef(size, size, 0.0f);
}

void EndText()
{
    SpriteBatch::Flush();
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);
    PopVirtualScreen();
}

} // namespace

void PushVirtualScreen()
{
    SpriteBatch::Flush();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, kVirtualSide, 0.0, kVirtualSide, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glPushMatrix();
}

void PopVirtualScreen()
{
    SpriteBatch::Flush();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void DrawUnitQuad()
{
    SpriteBatch::Flush();
    Clip clip = ClipToOpaqueBounds(1.0f, 1.0f, false);
    if (clip != Clip::kNothing)
        DrawQuadArrays(kUnitQuadVertices, kUnitQuadTexCoords);
    if (clip == Clip::kPart)
        glDisable(GL_SCISSOR_TEST);
}

bool LoadFont(const char* path)
{
    // Whatever happens, an old font does not linger half-replaced.
    if (font != 0 && glIsTexture(font)) {
        ForgetPictureShape(font);
        glDeleteTextures(1, &font);
    }
    font = 0;
    FILE* f = path ? std::fopen(path, "rb") : nullptr;
    if (!f)
        return false;
    unsigned char head[FontFormat::kHeaderSize];
    bool ok = std::fread(head, 1, sizeof(head), f) == sizeof(head);
    int32_t w = ok ? FontFormat::GetInt32(head) : 0;
    int32_t h = ok ? FontFormat::GetInt32(head + 4) : 0;
    GLint max_side = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_side);
    ok = ok && w > 0 && h > 0 && w <= max_side && h <= max_side;
    // The file must really hold what its header promises before anything is allocated.
    int64_t bytes = ok ? FontFormat::PixelBytes(w, h) : 0;
    if (ok) {
        ok = std::fseek(f, 0, SEEK_END) == 0;
        long size = ok ? std::ftell(f) : -1;
        ok = ok && size >= 0 && static_cast<int64_t>(size) - FontFormat::kHeaderSize >= bytes &&
             std::fseek(f, FontFormat::kHeaderSize, SEEK_SET) == 0;
    }
    std::vector<unsigned char> pixels;
    if (ok) {
        pixels.resize(static_cast<size_t>(bytes));
        ok = std::fread(pixels.data(), 1, pixels.size(), f) == pixels.size();
    }
    std::fclose(f);
    if (!ok)
        return false;
    glGenTextures(1, &font);
    glBindTexture(GL_TEXTURE_2D, font);
    ForgetBoundTexture();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    RememberTexture(font);
    return true;
}

int ConvertCharToGlASCII(char c) { return static_cast<int>(c) - FontFormat::kFirstChar; }

void glPrintText(float raster_x, float raster_y, float size, bool center, const char* fmt, ...)
{
    if (!fmt)
        return;
    char text[256];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(text, sizeof(text), fmt, args);
    va_end(args);

    BeginText(size);
    float advance = size * kAdvance;
    size_t length = std::strlen(text);
    if (center)
        raster_x -= advance * static_cast<float>(length) * 0.5f;
    for (size_t i = 0; i < length; ++i) {
        AddGlyph(text[i], size, raster_x, raster_y);
        raster_x += advance;
    }
    EndText();
}

void glPrintTextBox(float raster_x, float raster_y, float size, int mc, const char* fmt, ...)
{
    if (!fmt)
        return;
    char text[512];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(text, sizeof(text), fmt, args);
    va_end(args);

    BeginText(size);
    float advance = size * kAdvance;
    float start_x = raster_x;
    int on_line = 0;
    for (size_t i = 0; text[i] != '\0'; ++i) {
        AddGlyph(text[i], size, raster_x, raster_y);
        raster_x += advance;
        if (++on_line == mc) {
            on_line = 0;
            raster_x = start_x;
            raster_y -= 2.0f * advance;
        }
    }
    EndText();
}

namespace {
// One quad from (-hw, -hh) to (hw, hh); u_left is the texture u of its left edge.
void QuadWithU(float hw, float hh, float u_left)
{
    SpriteBatch::Flush();
    Clip clip = ClipToOpaqueBounds(hw, hh, u_left != 0.0f);
    if (clip == Clip::kNothing)
        return;
    float u_right = 1.0f - u_left;
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glTexCoord2f(u_left, 0.0f);
    glVertex2f(-hw, -hh);
    glTexCoord2f(u_right, 0.0f);
    glVertex2f(hw, -hh);
    glTexCoord2f(u_right, 1.0f);
    glVertex2f(hw, hh);
    glTexCoord2f(u_left, 1.0f);
    glVertex2f(-hw, hh);
    glEnd();
    if (clip == Clip::kPart)
        glDisable(GL_SCISSOR_TEST);
}
} // namespace

void DrawQuad(float hw, float hh) { QuadWithU(hw, hh, 0.0f); }

void DrawMirroredQuad(float hw, float hh) { QuadWithU(hw, hh, 1.0f); }

void PrimeDrawingStates()
{
    SpriteBatch::Flush();
    GLint bound = 0, blend_src = GL_ONE, blend_dst = GL_ZERO;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetIntegerv(GL_BLEND_SRC, &blend_src);
    glGetIntegerv(GL_BLEND_DST, &blend_dst);
    // One texture of each kind: what a driver builds for a drawing state can
    // differ with a texture's size, format and sampling, never with its pixels.
    std::vector<GLuint> kinds;
    std::vector<std::array<GLint, 7>> seen;
    for (GLuint tex : RememberedTextures()) {
        // A texture deleted behind the kit's back is not made again by binding its name.
        if (!glIsTexture(tex))
            continue;
        glBindTexture(GL_TEXTURE_2D, tex);
        std::array<GLint, 7> kind{};
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &kind[0]);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &kind[1]);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &kind[2]);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &kind[3]);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &kind[4]);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &kind[5]);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &kind[6]);
        if (std::find(seen.begin(), seen.end(), kind) == seen.end()) {
            seen.push_back(kind);
            kinds.push_back(tex);
        }
    }
    ForgetBoundTexture();
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glEnable(GL_TEXTURE_2D);
    PushVirtualScreen();
    // Every corner lands on one point: the quads cover no pixel.
    glScalef(0.0f, 0.0f, 1.0f);
    // Blended over, blended additively (the effects' light), and not blended.
    static const GLenum kBlends[2][2] = {{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}, {GL_SRC_ALPHA, GL_ONE}};
    for (int way = 0; way < 3; ++way) {
        if (way < 2) {
            glEnable(GL_BLEND);
            SpriteBatch::SetBlendFunc(kBlends[way][0], kBlends[way][1]);
        } else {
            glDisable(GL_BLEND);
        }
        for (GLuint tex : kinds) {
            BindTexture(tex);
            // The three ways the kit hands the GL vertices: the batch's arrays
            // with a colour each, the unit quad's arrays, and glBegin/glEnd.
            SpriteBatch::Sprite(Transform2D(), 1.0f, 1.0f, false);
            SpriteBatch::Flush();
            DrawUnitQuad();
            DrawQuad(1.0f, 1.0f);
        }
    }
    PopVirtualScreen();
    SpriteBatch::SetBlendFunc(static_cast<GLenum>(blend_src), static_cast<GLenum>(blend_dst));
    BindTexture(static_cast<GLuint>(bound));
    glPopAttrib();
    // The driver has done its work for each state before the first frame.
    glFinish();
}

void RenderOnViewport(float s, vector3f t)
{
    PushVirtualScreen();
    glEnable(GL_TEXTURE_2D);
    glTranslatef(t.x + 256.0f, t.y + 256.0f, 0.0f);
    glScalef(s, s, 1.0f);
    DrawQuad(256.0f, 256.0f);
    PopVirtualScreen();
}

void glPrint(GLfloat x, GLfloat y, const char* text)
{
    glDisable(GL_DEPTH_TEST);
    glPushMatrix();
    glLoadIdentity();
    glRasterPos3f(x, y, -10.0f);
    for (const char* p = text; p && *p; ++p)
        glutBitmapCharacter(GLUT_BITMAP_TIMES_ROMAN_24, static_cast<unsigned char>(*p));
    glPopMatrix();
    glEnable(GL_DEPTH_TEST);
}

void DrawRect(float w, float h, float sy)
{
    float hw = w / 2.0f, hh = h / 2.0f;
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-hw, -hh);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(hw, -hh);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(hw, hh + sy);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(-hw, hh + sy);
    glEnd();
}

void RenderPlane(float l, float wrap)
{
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glTexCoord2f(wrap, 0.0f);
    glVertex2f(-l, -l);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(l, -l);
    glTexCoord2f(0.0f, wrap);
    glVertex2f(l, l);
    glTexCoord2f(wrap, wrap);
    glVertex2f(-l, l);
    glEnd();
}

void glBillboarding()
{
    static GLfloat matrix[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 3; ++row)
            matrix[col * 4 + row] = col == row ? 1.0f : 0.0f;
    glLoadMatrixf(matrix);
    glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
}

void RenderParticle(float s, bool radial)
{
    glPushMatrix();
    glBillboarding();
    if (radial)
        glRotatef(static_cast<float>(std::rand() % 360), 0.0f, 0.0f, 1.0f);
    DrawMirroredQuad(s, s);
    glPopMatrix();
}

namespace {
struct SkyCorner {
    float u, v, x, y, z;
};

void SkyFace(GLuint tex, float nx, float ny, float nz, const SkyCorner (&c)[4])
{
    BindTexture(tex);
    glBegin(GL_QUADS);
    glNormal3f(nx, ny, nz);
    for (const SkyCorner& k : c) {
        glTexCoord2f(k.u, k.v);
        glVertex3f(k.x, k.y, k.z);
    }
    glEnd();
}
} // namespace

void RenderSkyBoxMask(GLuint left, GLuint right, GLuint front, GLuint back, GLuint top, GLuint bottom)
{
    SkyFace(front, 0, 0, -1, {{0, 0, -1, -1, 1}, {1, 0, 1, -1, 1}, {1, 1, 1, 1, 1}, {0, 1, -1, 1, 1}});
    SkyFace(back, 0, 0, 1, {{1, 0, -1, -1, -1}, {1, 1, -1, 1, -1}, {0, 1, 1, 1, -1}, {0, 0, 1, -1, -1}});
    SkyFace(top, 0, -1, 0, {{0, 1, -1, 1, -1}, {0, 0, -1, 1, 1}, {1, 0, 1, 1, 1}, {1, 1, 1, 1, -1}});
    SkyFace(bottom, 0, 1, 0, {{1, 1, -1, -1, -1}, {0, 1, 1, -1, -1}, {0, 0, 1, -1, 1}, {1, 0, -1, -1, 1}});
    SkyFace(right, -1, 0, 0, {{1, 0, 1, -1, -1}, {1, 1, 1, 1, -1}, {0, 1, 1, 1, 1}, {0, 0, 1, -1, 1}});
    SkyFace(left, 1, 0, 0, {{0, 0, -1, -1, -1}, {1, 0, -1, -1, 1}, {1, 1, -1, 1, 1}, {0, 1, -1, 1, -1}});
}

vector3f GetOGLPos(int x, int y)
{
    GLdouble modelview[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLfloat winX = static_cast<GLfloat>(x);
    GLfloat winY = static_cast<GLfloat>(viewport[3]) - static_cast<GLfloat>(y);
    // A point off the window reads nothing; it then counts as the far plane.
    GLfloat depth = 1.0f;
    glReadPixels(x, static_cast<int>(winY), 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    GLdouble px = 0, py = 0, pz = 0;
    gluUnProject(winX, winY, depth, modelview, projection, viewport, &px, &py, &pz);
    return vector3f(static_cast<float>(px), static_cast<float>(py), static_cast<float>(pz));
}

bool checkOGLExtension(const char* extensionName)
{
    if (!extensionName)
        return false;
    const char* list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (!list)
        return false;
    size_t name_len = std::strlen(extensionName);
    const char* p = list;
    while (*p) {
        while (*p == ' ')
            ++p;
        const char* end = p;
        while (*end && *end != ' ')
            ++end;
        size_t len = static_cast<size_t>(end - p);
        if (len > 0 && len == name_len && std::strncmp(p, extensionName, len) == 0)
            return true;
        p = end;
    }
    return false;
}

// The swap-control extensions live in the window system binding, not in the
// GL_EXTENSIONS list, so the platform layer is asked for them.
void SpeedUp()
{
    if (Sys::SwapControlExtension() != nullptr)
        Sys::SetSwapIntervalZero();
}
