// The batch of quads drawn together, the kit's own transform and its colour.
#include "engine/sprite_batch.h"

#include "engine/texture_binding.h"

#include <cmath>

Transform2D Transform2D::Translated(float x, float y) const
{
    Transform2D m = *this;
    m.e = a * x + c * y + e;
    m.f = b * x + d * y + f;
    return m;
}

Transform2D Transform2D::Scaled(float x, float y) const
{
    Transform2D m = *this;
    m.a = a * x;
    m.b = b * x;
    m.c = c * y;
    m.d = d * y;
    return m;
}

Transform2D Transform2D::Rotated(float degrees) const
{
    // Sine and cosine as the GL works them out, in double then rounded, so that
    // a turned sprite lands where glRotatef would have put it.
    const double radians = static_cast<double>(degrees) * M_PI / 180.0;
    const float s = static_cast<float>(std::sin(radians));
    const float k = static_cast<float>(std::cos(radians));
    Transform2D m = *this;
    m.a = a * k + c * s;
    m.b = b * k + d * s;
    m.c = c * k - a * s;
    m.d = d * k - b * s;
    return m;
}

namespace {

GLfloat kit_colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};

struct Vertex {
    GLfloat x, y, z, u, t, r, g, b, a;
};

Vertex held[SpriteBatch::kMaxVertices];
int held_count = 0;
GLuint held_texture = 0;
unsigned long draws = 0;

struct Scissor {
    bool on;
    GLint x, y;
    GLsizei w, h;
    bool operator!=(const Scissor& o) const { return on != o.on || x != o.x || y != o.y || w != o.w || h != o.h; }
};
GLenum blend_src = GL_SRC_ALPHA, blend_dst = GL_ONE_MINUS_SRC_ALPHA;
Scissor scissor{false, 0, 0, 0, 0};

// Room for `n` more vertices of the bound texture: what is held of another
// texture, or what fills the arrays, is drawn first.
Vertex* Reserve(int n)
{
    const GLuint tex = BoundTexture();
    if (held_count > 0 && (held_texture != tex || held_count + n > SpriteBatch::kMaxVertices))
        SpriteBatch::Flush();
    if (n > SpriteBatch::kMaxVertices)
        return nullptr;
    held_texture = tex;
    Vertex* v = held + held_count;
    held_count += n;
    return v;
}

void Put(Vertex& v, const GLfloat* xy, GLfloat z, GLfloat u, GLfloat t, const GLfloat* rgba)
{
    v = Vertex{xy[0], xy[1], z, u, t, rgba[0], rgba[1], rgba[2], rgba[3]};
}

// A convex polygon of `n` texture points, as a fan of triangles placed by `m`
// on a quad of half-size (hw, hh).
void AppendPolygon(const Transform2D& m, float hw, float hh, bool mirrored, GLfloat z, const GLfloat* rgba,
                   const float* u, const float* t, int n)
{
    Vertex* out = Reserve(3 * (n - 2));
    if (!out)
        return;
    GLfloat xy[8][2];
    for (int i = 0; i < n; ++i) {
        float px = mirrored ? 1.0f - u[i] : u[i];
        m.Apply(-hw + 2.0f * hw * px, -hh + 2.0f * hh * t[i], xy[i]);
    }
    for (int i = 1; i + 1 < n; ++i) {
        Put(*out++, xy[0], z, u[0], t[0], rgba);
        Put(*out++, xy[i], z, u[i], t[i], rgba);
        Put(*out++, xy[i + 1], z, u[i + 1], t[i + 1], rgba);
    }
}

} // namespace

void DrawColor(float r, float g, float b, float a)
{
    kit_colour[0] = r;
    kit_colour[1] = g;
    kit_colour[2] = b;
    kit_colour[3] = a;
    glColor4f(r, g, b, a);
}

void DrawColor4ub(GLubyte r, GLubyte g, GLubyte b, GLubyte a)
{
    // The GL's own conversion of a byte to a colour component.
    DrawColor(r / 255.0f, g / 255.0f, b / 255.0f, a / 255.0f);
}

namespace SpriteBatch {

void Sprite(const Transform2D& m, float hw, float hh, bool mirrored, GLfloat z, const GLfloat* rgba)
{
    if (!rgba)
        rgba = kit_colour;
    // Texels outside the polygon or the visible part are transparent: blended,
    // they change no pixel, so leaving them out draws the same picture.
    if (const VisibleHull* hull = BoundVisibleHull()) {
        if (hull->count >= 3 && hull->count <= 8)
            AppendPolygon(m, hw, hh, mirrored, z, rgba, hull->u, hull->t, hull->count);
        return;
    }
    if (const OpaqueBounds* b = BoundOpaqueBounds()) {
        if (b->u0 >= b->u1 || b->t0 >= b->t1)
            return;
        const float u[4] = {b->u0, b->u1, b->u1, b->u0}, t[4] = {b->t0, b->t0, b->t1, b->t1};
        AppendPolygon(m, hw, hh, mirrored, z, rgba, u, t, 4);
        return;
    }
    const float u[4] = {0.0f, 1.0f, 1.0f, 0.0f}, t[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    AppendPolygon(m, hw, hh, mirrored, z, rgba, u, t, 4);
}

void Triangles(const GLfloat* xy, const GLfloat* ut, int count, GLfloat z, const GLfloat* rgba)
{
    if (!rgba)
        rgba = kit_colour;
    while (count > 0) {
        // A long run goes in pieces of whole triangles.
        const int n = count < kMaxVertices ? count : kMaxVertices - kMaxVertices % 3;
        Vertex* out = Reserve(n);
        if (!out)
            return;
        for (int i = 0; i < n; ++i)
            Put(out[i], xy + 2 * i, z, ut[2 * i], ut[2 * i + 1], rgba);
        xy += 2 * n;
        ut += 2 * n;
        count -= n;
    }
}

void Flush()
{
    if (held_count == 0)
        return;
    const int n = held_count;
    held_count = 0;
    // Normally bound already; rebound in case somebody bound another texture
    // by hand and told the kit so.
    BindTexture(held_texture);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(Vertex), &held[0].x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex), &held[0].u);
    glColorPointer(4, GL_FLOAT, sizeof(Vertex), &held[0].r);
    glDrawArrays(GL_TRIANGLES, 0, n);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    // A colour array leaves the current colour undefined; what is drawn
    // outside the batch next gets the kit's colour back.
    glColor4fv(kit_colour);
    ++draws;
}

void SetBlendFunc(GLenum src, GLenum dst)
{
    if (src != blend_src || dst != blend_dst)
        Flush();
    blend_src = src;
    blend_dst = dst;
    glBlendFunc(src, dst);
}

void SetScissor(bool on, GLint x, GLint y, GLsizei w, GLsizei h)
{
    const Scissor wanted{on, on ? x : 0, on ? y : 0, on ? w : 0, on ? h : 0};
    if (wanted != scissor)
        Flush();
    scissor = wanted;
    if (on) {
        glScissor(x, y, w, h);
        glEnable(GL_SCISSOR_TEST);
    } else {
        glDisable(GL_SCISSOR_TEST);
    }
}

unsigned long Draws() { return draws; }

} // namespace SpriteBatch
