// Shared set-up for the rule tests: a small in-memory tray, the world pass of a
// game frame, rabbits sent the way the tray commands send them, and probes for
// sound slots and the sprite picture a draw call chose.
#pragma once

#include "game/state.h"

#include <GL/gl.h>

namespace rules {

constexpr float kDt = 0.02f;

// GL context, audio output, hole ids, a full tray, sprite textures, a new game
// and a fixed frame time.
void StartWorld();

// The tray: 121 buttons; hole buttons sit at HoleX(i), target buttons above them,
// everything else out of the pointer's reach.
void BuildTray();
float HoleX(int hole);
float TargetY();
constexpr float kHoleY = 60.0f;

// Puts the pointer over a point of the 512 x 512 screen (window of 512 x 512).
void PointerAt(float x, float y);
// Presses the left button over a point for one frame's click.
void ClickAt(float x, float y);
void ReleasePointer();

// Sends a rabbit out of `selection` like the tray commands do.
Rabbit& SendFetch(Carrot& carrot);
Rabbit& SendTo(Hole& destination);
Rabbit& SendBait(float x);

// The world pass of a game frame: wave, carrots, finished rabbits dropped, rabbits,
// eagles, new eagles up to their number.
void StepWorld();
// The holes' part of a frame: tray refresh, then constructions and clicks.
void StepHoles(int clicked = 0);
// Lays the carrots far apart at known places, the first at `x0`.
void LayCarrots(float x0);

// Sound probes: a cleared slot has no source; a slot that played has one.
void ClearSlot(int slot);
bool SlotFired(int slot);

// The texture the last sprite was drawn with.
GLuint BoundTexture();

} // namespace rules
