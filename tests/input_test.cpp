// Input: the callbacks, the one input sample per frame and its readers, the F1
// latch, the rest in the background and the frame clock, with the scriptable platform.
#include "engine/guilab.h"
#include "game/frame.h"
#include "game/input.h"
#include "math/global_time.h"
#include "platform/platform_fake.h"
#include "rules_support.h"

#include <GL/freeglut.h>
#include <cmath>
#include <gtest/gtest.h>

namespace {
void Frame(uint32_t step_ms = 20)
{
    Sys::Fake::SetMilliseconds(Sys::Milliseconds() + step_ms);
    display();
}
} // namespace

class Input : public rules::Game {
protected:
    void SetUp() override
    {
        rules::Game::SetUp();
        Sys::Fake::SetPollHook(nullptr);
        RememberWindowSize(0, 0);
        Frame();
    }
    void TearDown() override { Sys::Fake::SetPollHook(nullptr); }
};

TEST_F(Input, PointerCallbackKeepsAnyPositionAndOnlyTheLeftButtonCounts)
{
    mouse(-20, 4000);
    EXPECT_EQ(touch_coord_x, -20.0f) << "positions outside the window are kept as they are";
    EXPECT_EQ(touch_coord_y, 4000.0f);
    mouse_event(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
    EXPECT_TRUE(touch_event && single_touch);
    for (int other : {GLUT_RIGHT_BUTTON, GLUT_MIDDLE_BUTTON})
        mouse_event(other, GLUT_UP, 0, 0);
    EXPECT_TRUE(touch_event && single_touch) << "other buttons leave the left button's state alone";
    mouse_event(GLUT_LEFT_BUTTON, GLUT_UP, 0, 0);
    EXPECT_FALSE(touch_event || single_touch);
}

TEST_F(Input, PanelsSeeOnePressPulsePerPressAndOnlyWithTheFocus)
{
    mouse(100, 50);
    Sys::Fake::SetFocus(false);
    Sys::Fake::SetKey(Sys::Key::LeftButton, true);
    Frame();
    EXPECT_FALSE(GUILab_inf::touch) << "a press in the background does not reach the panels";
    Sys::Fake::SetFocus(true);
    for (int frame = 0; frame < 4; ++frame) {
        Frame();
        EXPECT_EQ(GUILab_inf::s_touch, frame == 0) << "the first focused frame with the button held pulses, once";
        EXPECT_TRUE(GUILab_inf::touch);
    }
    EXPECT_TRUE(GUILab_inf::cursor.x == 100.0f && GUILab_inf::cursor.y == 50.0f);
    EXPECT_EQ(GUILab_inf::device_w, 512) << "until a reshape, the size GLUT reports";
    Sys::Fake::SetKey(Sys::Key::LeftButton, false);
    Frame();
    EXPECT_FALSE(GUILab_inf::touch);
    Sys::Fake::SetKey(Sys::Key::LeftButton, true);
    Frame();
    EXPECT_TRUE(GUILab_inf::s_touch) << "a new press after a release pulses again";

    reshape(300, 200);
    Frame();
    EXPECT_EQ(GUILab_inf::device_w, 300) << "the size the reshape callback reported, asked of nobody";
    EXPECT_EQ(GUILab_inf::device_h, 200);
}

// The panels, the game frame and the pointer once read the button at different
// moments of a frame: a press landing between them pulsed for the panels too late
// for the game, and no rabbit left however long the button was held.
TEST_F(Input, APressLandingInMidFrameSendsExactlyOneRabbit)
{
    mouse(static_cast<int>(carrots[0].position.x), 512 - 210);
    Frame();
    int polls = 0;
    Sys::Fake::SetPollHook([&] {
        if (++polls == 1)
            Sys::Fake::SetKey(Sys::Key::LeftButton, true);
    });
    for (int frame = 0; frame < 5; ++frame)
        Frame();
    EXPECT_EQ(polls, 5) << "one input sample per frame";
    EXPECT_EQ(rabbits.size(), 1u);
}

// The test window is square, which would hide a width taken for a height anywhere.
TEST_F(Input, InAWindowOfAnotherShapeClicksLandWhereThePointerIs)
{
    reshape(300, 200);
    auto click = [](float x, float y) { // a point of the virtual screen
        mouse(static_cast<int>(x * 300 / 512), static_cast<int>((512 - y) * 200 / 512));
        for (bool down : {true, false})
            Sys::Fake::SetKey(Sys::Key::LeftButton, down), Frame();
    };
    click(carrots[0].position.x, 210);
    ASSERT_EQ(rabbits.size(), 1u) << "the carrot under the pointer";
    rules::HoldKeys({Sys::Key::B});
    click(300, 210);
    EXPECT_TRUE(rabbits.back().bait && std::fabs(rabbits.back().target.x - 300) < 3) << "the bait where the pointer is";
    click(rules::ButtonX(121), 16);
    EXPECT_TRUE(show_menu) << "the tray's back button";
    reshape(512, 512);
}

TEST_F(Input, TheSampledLettersChooseTheCommandMode)
{
    n_carrots = 50;
    const struct {
        Sys::Key key;
        int mode;
    } table[] = {{Sys::Key::B, 2}, {Sys::Key::G, 1}, {Sys::Key::R, 0}};
    for (const auto& row : table) {
        Sys::Fake::SetKey(row.key, true);
        Frame();
        Sys::Fake::SetKey(row.key, false);
        EXPECT_EQ(mode, row.mode);
    }
}

TEST_F(Input, HoldingF1TogglesFullScreenOncePerPressAndComesBackOverTheScreen)
{
    ASSERT_TRUE(fullscreen) << "the game starts full screen";
    const int hints = Sys::Fake::FullScreenHints();
    Sys::Fake::SetKey(Sys::Key::F1, true);
    for (int frame = 0; frame < 5; ++frame)
        Frame();
    EXPECT_FALSE(fullscreen);
    EXPECT_EQ(Sys::Fake::FullScreenHint(), 0) << "the desktop is told the game is in a window";
    Sys::Fake::SetKey(Sys::Key::F1, false);
    Frame();
    EXPECT_FALSE(fullscreen);
    int covers = Sys::Fake::ScreenCovers();
    Sys::Fake::SetKey(Sys::Key::F1, true);
    Frame();
    Frame();
    EXPECT_TRUE(fullscreen) << "release and press again toggles back";
    EXPECT_EQ(Sys::Fake::FullScreenHint(), 1) << "and full screen again";
    EXPECT_EQ(Sys::Fake::FullScreenHints(), hints + 2) << "once per switch";
    EXPECT_EQ(Sys::Fake::ScreenCovers(), covers + 1)
        << "back in full screen, the next frame puts the window over the screen";
    Sys::Fake::SetKey(Sys::Key::F1, false);
}

TEST_F(Input, FrameClockSurvivesTheCounterWrapAndIsClampedAndTheBackgroundRests)
{
    float dt = 0;
    Sys::Fake::SetMilliseconds(0xFFFFFF00u);
    GetGlobalTime(dt);
    Sys::Fake::SetMilliseconds(0x00000010u);
    GetGlobalTime(dt);
    EXPECT_NEAR(dt, 0.272f, 1e-6f) << "0x100 + 0x10 milliseconds across the wrap";
    GetGlobalTime(dt);
    EXPECT_EQ(dt, 0.0f) << "a frame shorter than a millisecond advances by nothing";

    // In the background the frame waits for the window system instead of drawing;
    // its clock still runs, and is clamped when the focus comes back.
    int rests = Sys::Fake::Rests();
    Sys::Fake::SetFocus(false);
    Frame(5000000);
    EXPECT_FLOAT_EQ(global_time, 0.1f);
    Frame(40);
    EXPECT_NEAR(global_time, 0.04f, 1e-6f);
    EXPECT_EQ(Sys::Fake::Rests(), rests + 2);
    Sys::Fake::SetFocus(true);
    Frame(70000);
    EXPECT_FLOAT_EQ(global_time, 0.1f);
    EXPECT_EQ(Sys::Fake::Rests(), rests + 2) << "a focused frame does not rest";
}
