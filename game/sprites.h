// The textured quad every field sprite (rabbit, carrot, eagle) is drawn with.
#pragma once

// Draws one quad of half-width hw and half-height hh around the current origin,
// its texture mirrored left to right as all our field sprites are painted.
void DrawSpriteQuad(float hw, float hh);
