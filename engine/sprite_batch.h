// One draw for each run of quads that share a texture and a drawing state: the
// field's sprites, the particles of an emitter, the glyphs of a text and a
// panel's buttons are appended in painter's order and drawn together.
#pragma once

#include <GL/gl.h>

// A transform of the plane kept by the drawing kit itself, so that placing a
// sprite asks nothing of the GL: x' = a x + c y + e, y' = b x + d y + f. Each
// step is composed like the GL's own matrix calls, applying to what is drawn
// before the steps already there.
struct Transform2D {
    float a = 1.0f, b = 0.0f, c = 0.0f, d = 1.0f, e = 0.0f, f = 0.0f;

    Transform2D Translated(float x, float y) const;
    Transform2D Scaled(float x, float y) const;
    // A turn about the z axis by `degrees`, as glRotatef(degrees, 0, 0, 1) makes it.
    Transform2D Rotated(float degrees) const;
    void Apply(float x, float y, GLfloat* out) const
    {
        out[0] = a * x + c * y + e;
        out[1] = b * x + d * y + f;
    }
};

// The colour everything is drawn with, set through the kit rather than through
// glColor so that the batch knows it without asking the GL; it is set on the GL
// too, for what is drawn outside the batch.
void DrawColor(float r, float g, float b, float a);
void DrawColor4ub(GLubyte r, GLubyte g, GLubyte b, GLubyte a);

namespace SpriteBatch {

// Vertices held before a draw is made anyway.
constexpr int kMaxVertices = 6 * 1024;

// Appends the picture bound through BindTexture as a quad of half-size
// (hw, hh) placed by `m` at depth `z`, its texture u running from 0 on the left
// (from 1 when `mirrored`) and t from 0 at the bottom; drawn in `rgba`, or in
// the kit's colour when that is nullptr. A picture with a visible polygon or
// visible part is appended as only that: the same pixels once blended, fewer
// of them rasterised. Sprites are drawn blended and textured, as the game's are.
void Sprite(const Transform2D& m, float hw, float hh, bool mirrored, GLfloat z = 0.0f,
            const GLfloat* rgba = nullptr);
// Appends `count` vertices of triangles of the bound texture: positions (x, y)
// at depth z, texture coordinates (u, t), in `rgba` or the kit's colour.
void Triangles(const GLfloat* xy, const GLfloat* ut, int count, GLfloat z = 0.0f, const GLfloat* rgba = nullptr);
// Draws what is held, in the order it was appended. BindTexture calls it when
// the texture changes, SetBlendFunc and SetScissor when theirs do; whoever
// changes any other GL state (a matrix, blending on or off, the depth mask) or
// draws outside the batch calls it first, and a frame calls it before its swap.
void Flush();
// The blend function and the scissor box through the kit: what is held is drawn
// first when they change.
void SetBlendFunc(GLenum src, GLenum dst);
void SetScissor(bool on, GLint x = 0, GLint y = 0, GLsizei w = 0, GLsizei h = 0);
// Draws made by Flush since the start: what lets a test see runs joined.
unsigned long Draws();

} // namespace SpriteBatch
