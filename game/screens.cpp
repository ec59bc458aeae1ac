// The screen flow of every focused frame: which screen is up, and the game's
// own pointer with its click sound and burst, drawn over every screen.
#include "game/screens.h"

#include "engine/draw.h"
#include "engine/sound.h"
#include "game/fx_instances.h"
#include "game/input.h"
#include "game/screens_internal.h"
#include "game/state.h"
#include "math/global_time.h"
#include "math/vector3f.h"

#include <GL/freeglut.h>

namespace {

// Far enough to keep the int conversion defined for any pointer GLUT reports.
constexpr float kVirtualLimit = 1.0e6f;

int ToVirtualInt(float v)
{
    if (v > kVirtualLimit)
        v = kVirtualLimit;
    if (v < -kVirtualLimit)
        v = -kVirtualLimit;
    return static_cast<int>(v);
}

} // namespace

int VirtualX(float window_x, int window_w)
{
    if (window_w <= 0)
        return -1;
    return ToVirtualInt(512.0f * window_x / static_cast<float>(window_w));
}

int VirtualY(float window_y, int window_h)
{
    if (window_h <= 0)
        return 513;
    return ToVirtualInt(512.0f - 512.0f * window_y / static_cast<float>(window_h));
}

void PlayPowerUp() { AudioEngine.spawn_dynamic(1, "Data/sFx/powerup.wav", 2.0f); }

void ResetPointerPicture() { cursor = Cursor::arrow; }

// Any screen that is up pauses the game; the game runs only when none is.
void ScreenFlow()
{
    if (show_menu)
        MenuScreen();
    else if (show_skills)
        SkillsScreen();
    else if (show_credits)
        CreditsScreen();
    else if (show_helps)
        HelpScreen();
    else
        Render();
}

void PointerAndClickFeedback()
{
    int rate_x = frame_input.virtual_x;
    int rate_y = frame_input.virtual_y;

    static vector3f curfxp(static_cast<float>(rate_x), static_cast<float>(rate_y), 0.0f);
    static bool first_click = false;
    static bool lmp = false;

    if (frame_input.left_button) {
        if (!lmp) {
            AudioEngine.spawn_dynamic(7, "Data/sFx/click.wav", 0.5f);
            curfxp = vector3f(static_cast<float>(rate_x), static_cast<float>(rate_y), 0.0f);
            FX::cursor.reset();
            first_click = true;
        }
        lmp = true;
    } else {
        lmp = false;
    }

    // The burst of the last click plays on where it started.
    if (first_click)
        FX::cursor.render(curfxp.x, curfxp.y, 0.0f, 10.0f, global_time);

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    glEnable(GL_TEXTURE_2D);
    DrawColor(1.0f, 1.0f, 1.0f, 1.0f);
    BindTexture(cursor);
    Transform2D at = Transform2D().Translated(static_cast<float>(rate_x), static_cast<float>(rate_y));
    // The hand that takes a carrot reaches down to it.
    if (cursor == Cursor::take)
        at = at.Translated(0.0f, -15.0f);
    float cs = cursor == Cursor::arrow ? 2.0f : 1.2f;
    SpriteBatch::Sprite(at.Scaled(cs, cs), 7.0f, 15.0f, false);
    SpriteBatch::Flush();
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}
