// The floor frames' one picture: the bound texture over the whole of a 0..1 by 0..1 projection.
#pragma once

#include <GL/gl.h>

inline void DrawFloorQuad()
{
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(0, 0);
    glTexCoord2f(1, 0);
    glVertex2f(1, 0);
    glTexCoord2f(1, 1);
    glVertex2f(1, 1);
    glTexCoord2f(0, 1);
    glVertex2f(0, 1);
    glEnd();
}
