// Input state: callbacks, the press pulse handed to the panels, the F1 latch and
// the frame clock, against a real GLUT window and the scriptable platform.
#include "engine/guilab.h"
#include "game/frame.h"
#include "game/input.h"
#include "gl_context.h"
#include "math/global_time.h"
#include "platform/platform_fake.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

class Input : public ::testing::Test {
protected:
    void SetUp() override
    {
        bm::EnsureGlContext();
        Sys::Fake::ReleaseAllKeys();
        Sys::Fake::SetFocus(true);
    }
};

TEST_F(Input, CallbacksStoreWhatTheyAreGiven)
{
    mouse(-20, 4000);
    EXPECT_EQ(touch_coord_x, -20.0f) << "positions outside the window are kept as they are";
    EXPECT_EQ(touch_coord_y, 4000.0f);
    mouse_event(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
    EXPECT_TRUE(touch_event);
    EXPECT_TRUE(single_touch);
    mouse_event(GLUT_RIGHT_BUTTON, GLUT_UP, 0, 0);
    mouse_event(GLUT_MIDDLE_BUTTON, GLUT_UP, 0, 0);
    EXPECT_TRUE(touch_event) << "other buttons leave the left button's state alone";
    mouse_event(GLUT_LEFT_BUTTON, GLUT_UP, 0, 0);
    EXPECT_FALSE(touch_event);
    skeyboard_down(255, 0, 0);
    EXPECT_TRUE(key_state[255]);
    skeyboard_up(255, 0, 0);
    EXPECT_FALSE(key_state[255]);
}

TEST_F(Input, PanelsSeeOnePressPulsePerPress)
{
    mouse(100, 50);
    FeedPanelInput();
    EXPECT_FALSE(GUILab_inf::s_touch);
    EXPECT_EQ(GUILab_inf::cursor.x, 100.0f);
    EXPECT_EQ(GUILab_inf::device_w, glutGet(GLUT_WINDOW_WIDTH));
    EXPECT_FALSE(GUILab_inf::landscape);

    Sys::Fake::SetKey(Sys::Key::LeftButton, true);
    FeedPanelInput();
    EXPECT_TRUE(GUILab_inf::s_touch);
    EXPECT_TRUE(GUILab_inf::touch);
    for (int frame = 0; frame < 5; ++frame) {
        FeedPanelInput();
        EXPECT_FALSE(GUILab_inf::s_touch) << "holding the button is not a new press";
        EXPECT_TRUE(GUILab_inf::touch);
    }
    Sys::Fake::SetKey(Sys::Key::LeftButton, false);
    FeedPanelInput();
    EXPECT_FALSE(GUILab_inf::touch);
    Sys::Fake::SetKey(Sys::Key::LeftButton, true);
    FeedPanelInput();
    EXPECT_TRUE(GUILab_inf::s_touch) << "a new press after a release pulses again";
    Sys::Fake::SetKey(Sys::Key::LeftButton, false);
    FeedPanelInput();
}

TEST_F(Input, HoldingF1TogglesFullScreenOncePerPress)
{
    bool start = fullscreen;
    Sys::Fake::SetKey(Sys::Key::F1, true);
    for (int frame = 0; frame < 10; ++frame)
        FullScreenKey();
    EXPECT_NE(fullscreen, start);
    Sys::Fake::SetKey(Sys::Key::F1, false);
    FullScreenKey();
    EXPECT_NE(fullscreen, start);
    Sys::Fake::SetKey(Sys::Key::F1, true);
    FullScreenKey();
    FullScreenKey();
    EXPECT_EQ(fullscreen, start) << "release and press again toggles back";
    Sys::Fake::SetKey(Sys::Key::F1, false);
    FullScreenKey();
    glutMainLoopEvent();
}

TEST_F(Input, FrameClockSurvivesTheCounterWrapAndIsClamped)
{
    float dt = 0;
    Sys::Fake::SetMilliseconds(0xFFFFFF00u);
    GetGlobalTime(dt);
    Sys::Fake::SetMilliseconds(0x00000010u);
    GetGlobalTime(dt);
    EXPECT_NEAR(dt, 0.272f, 1e-6f) << "0x100 + 0x10 milliseconds across the wrap";
    Sys::Fake::SetMilliseconds(0x00000010u);
    GetGlobalTime(dt);
    EXPECT_EQ(dt, 0.0f) << "a frame shorter than a millisecond advances by nothing";

    // In the background the frame draws nothing, but its clock still runs and is clamped.
    Sys::Fake::SetFocus(false);
    Sys::Fake::SetMilliseconds(5000000u);
    display();
    EXPECT_FLOAT_EQ(global_time, 0.1f);
    Sys::Fake::SetMilliseconds(5000040u);
    display();
    EXPECT_NEAR(global_time, 0.04f, 1e-6f);
    global_time = 0.0f;
}
