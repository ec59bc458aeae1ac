// The texture bound for drawing, and the visible part of each picture that has
// one: what lets a frame skip rebinding a bound texture and rasterising a
// sprite's transparent padding.
#pragma once

#include <GL/gl.h>

// Binds a texture for drawing, unless it is the one bound already. Whoever binds,
// creates or deletes a texture any other way calls ForgetBoundTexture, so that
// the next BindTexture binds for real.
void BindTexture(GLuint tex);
void ForgetBoundTexture();

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
