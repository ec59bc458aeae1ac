// The textured quad every field sprite (rabbit, carrot, eagle) is drawn with.
#include "game/sprites.h"

#include <GL/gl.h>

void DrawSpriteQuad(float hw, float hh)
{
    glBegin(GL_QUADS);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(-hw, -hh);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(hw, -hh);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(hw, hh);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(-hw, hh);
    glEnd();
}
