// The shared fixture of the rule, frame and screen tests: the real game from Data/ on a 512 x 512 test window.
#pragma once

#include "game/state.h"
#include "platform/platform.h"

#include <GL/gl.h>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace rules {

// Each test starts a new game, no screen up, carrots at x = 30, 78, ..., 462, hints seen, no record on disk.
class Game : public ::testing::Test {
protected:
    void SetUp() override;
};

// Frames of the running program, 50 ms apart; FramesUntil stops once `done` holds.
void Frames(int n = 1);
bool FramesUntil(const std::function<bool()>& done, int limit = 2000);

// Input in virtual units (pixels of the test window): a click holds the button one frame, keys are held one frame.
void PointAt(float x, float y);
void PointAtButton(GUILab& panel, int id);
void Press(bool down);
void ClickAt(float x, float y);
void ClickButton(GUILab& panel, int id);
void HoldKeys(const std::vector<Sys::Key>& keys);

// A rabbit of `hole` out in the field at x, running towards target_x.
Rabbit& PutRabbit(float x, float target_x, Hole* hole);
float ButtonX(int tray_button);
// A sound slot is cleared before an action and has a source once something played in it.
void ClearSlot(int slot);
bool SlotFired(int slot);

GLuint BoundTexture();
GLuint SolidTexture(unsigned char r, unsigned char g, unsigned char b);
std::vector<int> Pixel(int x, int y);

// Files in this process's temporary folder, which is removed at exit; FileBytes reads at most 64.
std::string TempPath(const char* name);
std::vector<unsigned char> FileBytes(const std::string& path);
void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes);

} // namespace rules
