// Shared set-up for the rule tests: a small in-memory tray, the world pass of a
// game frame, rabbits sent the way the tray commands send them, and probes.
#pragma once

#include "game/state.h"

#include <GL/gl.h>

namespace rules {

constexpr float kDt = 0.02f;
constexpr float kHoleY = 60.0f;

// GL context, audio output, hole ids, the tray, sprite textures, a new game, frame time kDt.
void StartWorld();
// 121 buttons: hole buttons at HoleX(i), target buttons above them, the rest out of reach.
void BuildTray();
float HoleX(int hole);
float TargetY();

// The pointer over a point of a 512 x 512 window; ClickAt also presses for one frame's click.
void PointerAt(float x, float y);
void ClickAt(float x, float y);
void ReleasePointer();

// A rabbit sent out of `selection` like the tray commands do.
Rabbit& SendFetch(Carrot& carrot);
Rabbit& SendTo(Hole& destination);
Rabbit& SendBait(float x);

// The world pass of a game frame: wave, carrots, finished rabbits dropped, rabbits, eagles, new eagles.
void StepWorld();
// The holes' part of a frame: tray refresh, then constructions and clicks.
void StepHoles(int clicked = 0);
// Lays the carrots 37 units apart from `x0`, untaken.
void LayCarrots(float x0);

// A cleared slot has no source; a slot that played has one.
void ClearSlot(int slot);
bool SlotFired(int slot);
// The texture the last sprite was drawn with.
GLuint BoundTexture();

} // namespace rules
