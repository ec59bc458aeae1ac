// Immediate-mode drawing kit on the 512 x 512 virtual screen: bitmap-font text,
// full-screen pictures, quads, billboards, and the start-up vsync switch.
#pragma once

#include "engine/sprite_batch.h"
#include "engine/texture_binding.h"
#include "math/vector3f.h"
#include <GL/gl.h>

// The 16 x 16 glyph texture read from "Data/font".
extern GLuint font;
// Reads "Data/font" (or another path) into `font`; a missing or bad file leaves
// the text untextured. Returns whether a font was loaded.
bool LoadFont(const char* path);

void glPrintText(float raster_x, float raster_y, float size, bool center, const char* fmt, ...)
    __attribute__((format(printf, 5, 6)));
void glPrintTextBox(float raster_x, float raster_y, float size, int mc, const char* fmt, ...)
    __attribute__((format(printf, 5, 6)));
int ConvertCharToGlASCII(char c);
void RenderOnViewport(float s, vector3f t);
void glPrint(GLfloat x, GLfloat y, const char* text);
void DrawRect(float w, float h, float sy);
void RenderPlane(float l, float wrap);
void glBillboarding();
void RenderParticle(float s, bool radial);
void RenderSkyBoxMask(GLuint left, GLuint right, GLuint front, GLuint back, GLuint top, GLuint bottom);
vector3f GetOGLPos(int x, int y);
bool checkOGLExtension(const char* extensionName);
void SpeedUp();

// The unit quad shared by glyphs and panel buttons: six vertices of two
// triangles, corners +-1, with their texture corners.
extern const GLfloat kUnitQuadVertices[12];
extern const GLfloat kUnitQuadTexCoords[12];
// Draws the unit quad from client arrays, then disables the texture-coordinate
// array again (the vertex array stays enabled). This quad and the two below
// rasterise only the visible part of a picture that has one (SetOpaqueBounds),
// when blending and texturing are on and the scissor test is off; they set the
// scissor box for that and leave the test off, so whoever turns the test on
// sets the box too.
void DrawUnitQuad();
// A quad of half-width hw and half-height hh around the current origin with its
// picture upright: texture (0, 0) at the bottom-left corner.
void DrawQuad(float hw, float hh);
// The same quad with its picture mirrored left to right, as the field sprites
// (rabbits, carrots, eagles) and particles are drawn.
void DrawMirroredQuad(float hw, float hh);
// Draws one of each kind (size, format and sampling) of the textures the kit
// has made (RememberTexture) once in each way the game draws pictures, blended
// over, blended additively and not blended, from each of the kit's vertex
// paths, as quads squeezed to a point: no pixel changes and the GL state is
// left as found. A driver builds what it needs for each such state at its
// first draw (a software rasteriser compiles a program, or reads it from its
// disk cache); the loading step calls this so that this happens before the
// first frame, not in the frame where a panel, a hint or an effect first shows.
void PrimeDrawingStates();
// Pushes an orthographic 0..512 projection and two model-view levels; PopVirtualScreen undoes it.
void PushVirtualScreen();
void PopVirtualScreen();
