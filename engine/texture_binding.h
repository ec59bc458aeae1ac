// The texture bound for drawing, and the visible part and polygon of each
// picture that has them: what lets a frame skip rebinding a bound texture and
// rasterising a sprite's transparent padding.
#pragma once

#include <GL/gl.h>
#include <vector>

// Binds a texture for drawing, unless it is the one bound already. Whoever binds,
// creates or deletes a texture any other way calls ForgetBoundTexture, so that
// the next BindTexture binds for real.
void BindTexture(GLuint tex);
void ForgetBoundTexture();
// The texture bound through BindTexture, or 0 when it is not known.
GLuint BoundTexture();

// The part of a picture that holds its visible texels, as texture coordinates
// (u0 <= u1, t0 <= t1); a picture with none has u0 == u1.
struct OpaqueBounds {
    float u0, t0, u1, t1;
};
// Remembers the visible part of texture `tex` (nullptr forgets it). The drawing
// kit's quads, drawn while `tex` is bound through BindTexture, then rasterise
// only the window rectangle around that part: the same pixels, without the padding.
void SetOpaqueBounds(GLuint tex, const OpaqueBounds* bounds);
// The visible part of the texture bound through BindTexture, or nullptr when it
// has none or the bound texture is not known.
const OpaqueBounds* BoundOpaqueBounds();

// A convex polygon of 3 to 8 vertices around a picture's visible texels, as
// texture coordinates (u to the right, t along the rows as stored, t = 0 at the
// first row), counter-clockwise with u right and t up. Drawn as a fan with
// these texture coordinates, it covers every visible texel of the picture.
struct VisibleHull {
    int count;
    float u[8], t[8];
};
// Remembers the polygon of texture `tex` (nullptr forgets it).
void SetVisibleHull(GLuint tex, const VisibleHull* hull);
// The polygon of the texture bound through BindTexture, or nullptr when it has
// none or the bound texture is not known.
const VisibleHull* BoundVisibleHull();
// Forgets the visible part and the polygon of `tex`, and that it is one of the
// kit's textures: called when a texture is made or deleted, since its name may
// be handed out again for another picture.
void ForgetPictureShape(GLuint tex);

// The kit's textures (the store's pictures, the panels' own, the font and the
// effects' particles), remembered in the order they are made, so that the
// loading step can draw each of them once before the first frame.
void RememberTexture(GLuint tex);
const std::vector<GLuint>& RememberedTextures();
