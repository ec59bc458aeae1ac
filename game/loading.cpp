// The loading step, run once after the window and the audio output exist:
// OpenGL state, font, pictures, effects, animation frames, panels, record,
// music and the first game, in that order.
#include "game/frame.h"

#include "engine/database.h"
#include "engine/draw.h"
#include "engine/lfx.h"
#include "engine/sound.h"
#include "engine/texture.h"
#include "game/fx_instances.h"
#include "game/screens_internal.h"
#include "game/state.h"

#include <GL/gl.h>
#include <initializer_list>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

// The effects are seen from the origin for the whole run.
float watcher_position[3] = {0.0f, 0.0f, 0.0f};

// Frame i of an animation comes from the file numbered i + 1.
void LoadFrames(GLuint* frames, int count, const char* pattern)
{
    for (int i = 0; i < count; ++i) {
        char path[260];
        memset(path, 0, sizeof path);
        snprintf(path, sizeof path, pattern, i + 1);
        LoadTexture(&frames[i], path);
    }
}

void LoadPictures()
{
    LoadTexture(&Cursor::arrow, "Data/GUI/cursors/cursor.png");
    LoadTexture(&Cursor::bait, "Data/GUI/cursors/bait.png");
    LoadTexture(&Cursor::build, "Data/GUI/cursors/build.png");
    LoadTexture(&Cursor::hole, "Data/GUI/cursors/hole.png");
    LoadTexture(&Cursor::skill, "Data/GUI/cursors/skill.png");
    LoadTexture(&Cursor::spawn, "Data/GUI/cursors/spawn.png");
    LoadTexture(&Cursor::take, "Data/GUI/cursors/take.png");
    LoadTexture(&carrot_pattern, "Data/carrot.png");
    LoadTexture(&glow_pattern, "Data/glow_area.png");
    LoadTexture(&GUI::menu, "Data/GUI/menu.bmp");
    LoadTexture(&GUI::credits, "Data/GUI/credits.png");
    LoadTexture(&GUI::help, "Data/GUI/help.png");
    LoadTexture(&GUI::add, "Data/GUI/add.png");
    LoadTexture(&GUI::back, "Data/GUI/back.png");
    LoadTexture(&GUI::background, "Data/GUI/background.jpg");
    LoadTexture(&GUI::build[0], "Data/GUI/build.png");
    LoadTexture(&GUI::build[1], "Data/GUI/build_selected.png");
    LoadTexture(&GUI::build[2], "Data/GUI/build_disabled.png");
    LoadTexture(&GUI::building[0], "Data/GUI/building.png");
    LoadTexture(&GUI::building[1], "Data/GUI/building_pb.png");
    LoadTexture(&GUI::carrots, "Data/GUI/carrots.png");
    LoadTexture(&GUI::hole[0], "Data/GUI/hole.png");
    LoadTexture(&GUI::hole[1], "Data/GUI/hole_selected.png");
    LoadTexture(&GUI::move[0], "Data/GUI/move.png");
    LoadTexture(&GUI::move[1], "Data/GUI/move_selected.png");
    LoadTexture(&GUI::move[2], "Data/GUI/move_disabled.png");
    LoadTexture(&GUI::sacrifice[0], "Data/GUI/sacrifice.png");
    LoadTexture(&GUI::sacrifice[1], "Data/GUI/sacrifice_selected.png");
    LoadTexture(&GUI::sacrifice[2], "Data/GUI/sacrifice_disabled.png");
    LoadTexture(&GUI::skill, "Data/GUI/skill.png");
    LoadTexture(&GUI::target[0], "Data/GUI/target_base.png");
    LoadTexture(&GUI::target[1], "Data/GUI/target.png");
    LoadTexture(&GUI::tray_bar, "Data/GUI/tray_bar.png");
    LoadTexture(&GUI::sign, "Data/GUI/sign.png");
    LoadTexture(&GUI::skills, "Data/GUI/skills.png");
    LoadTexture(&GUI::arrow, "Data/GUI/arrow.png");
    LoadTexture(&GUI::x1, "Data/GUI/1x.png");
    LoadTexture(&GUI::x2, "Data/GUI/2x.png");
    LoadTexture(&GUI::close, "Data/GUI/close.png");
    // The skill arrays hold the not-yet-bought picture first, then the lit one, then the decoration.
    LoadTexture(&GUI::pu_build[0], "Data/GUI/pu_build_disabled.png");
    LoadTexture(&GUI::pu_build[1], "Data/GUI/pu_build.png");
    LoadTexture(&GUI::pu_build[2], "Data/GUI/pu_build_dcr.png");
    LoadTexture(&GUI::pu_eval[0], "Data/GUI/pu_eval_disabled.png");
    LoadTexture(&GUI::pu_eval[1], "Data/GUI/pu_eval.png");
    LoadTexture(&GUI::pu_eval[2], "Data/GUI/pu_eval_dcr.png");
    LoadTexture(&GUI::pu_evasion[0], "Data/GUI/pu_evasion_disabled.png");
    LoadTexture(&GUI::pu_evasion[1], "Data/GUI/pu_evasion.png");
    LoadTexture(&GUI::pu_evasion[2], "Data/GUI/pu_evasion_dcr.png");
    LoadTexture(&GUI::pu_progeny[0], "Data/GUI/pu_progeny_disabled.png");
    LoadTexture(&GUI::pu_progeny[1], "Data/GUI/pu_progeny.png");
    LoadTexture(&GUI::pu_progeny[2], "Data/GUI/pu_progeny_dcr.png");
    LoadTexture(&GUI::pu_speed[0], "Data/GUI/pu_speed_disabled.png");
    LoadTexture(&GUI::pu_speed[1], "Data/GUI/pu_speed.png");
    LoadTexture(&GUI::pu_speed[2], "Data/GUI/pu_speed_dcr.png");
    LoadTexture(&GUI::game_over, "Data/GUI/game_over.png");
    LoadFrames(GUI::hints, 5, "Data/GUI/hints/%d.png");
    LoadTexture(&GUI::helps, "Data/GUI/help_0.jpg");
}

void LoadAnimations()
{
    LoadFrames(rabbit_run, 8, "Data/animation/rabbit/%d.png");
    LoadFrames(rabbit_taken, 2, "Data/animation/rabbit_taken/%d.png");
    LoadFrames(rabbit_run_wc, 8, "Data/animation/rabbit_carrot/%d.png");
    LoadFrames(eagle_fly, 30, "Data/animation/eagle/%d.png");
}

void SetUpPanels()
{
    menu.Load("Data/menu.gui");
    menu.SetBackground(GUI::menu);
    // The menu rabbit looks towards the middle of the screen.
    if (GUILab::Button* rabbit = menu.GetButton(4)) {
        rabbit->SetIcon(rabbit_run[0]);
        rabbit->flip_x = true;
    }

    helps.Load("Data/help_0.gui");
    helps.SetBackground(GUI::helps);
    Panel::SetIcon(helps, 1, GUI::close);

    credits.Load("Data/credits.gui");
    credits.SetBackground(GUI::credits);
    Panel::SetIcon(credits, 1, GUI::close);
    // The web link lies invisibly over the address printed in the picture.
    Panel::SetHide(credits, 2, true);

    skills.Load("Data/skills.gui");
    skills.SetBackground(GUI::skills);
    for (int i = 27; i <= 36; ++i)
        Panel::SetIcon(skills, i, GUI::arrow);
    for (int i = 37; i <= 46; ++i)
        Panel::SetIcon(skills, i, carrot_pattern);
    for (int i = 18; i <= 22; ++i)
        Panel::SetIcon(skills, i, GUI::x1);
    for (int i = 23; i <= 26; ++i)
        Panel::SetIcon(skills, i, GUI::x2);
    Panel::SetIcon(skills, 17, GUI::x2);
    Panel::SetIcon(skills, 2, GUI::pu_progeny[2]);
    Panel::SetIcon(skills, 5, GUI::pu_speed[2]);
    Panel::SetIcon(skills, 8, GUI::pu_build[2]);
    Panel::SetIcon(skills, 11, GUI::pu_evasion[2]);
    Panel::SetIcon(skills, 14, GUI::pu_eval[2]);
    Panel::SetIcon(skills, 16, GUI::close);

    gui.Load("Data/interface.gui");
    gui.SetBackground(GUI::background);
    Panel::SetIcon(gui, 106, GUI::tray_bar);
    Panel::SetIcon(gui, 121, GUI::back);
    Panel::SetIcon(gui, 108, GUI::move[1]);
    Panel::SetIcon(gui, 109, GUI::sacrifice[0]);
    Panel::SetIcon(gui, 110, GUI::build[0]);
    Panel::SetIcon(gui, 111, GUI::skill);
    Panel::SetIcon(gui, 112, GUI::carrots);
    for (int i = 113; i <= 119; ++i)
        Panel::SetIcon(gui, i, GUI::target[0]);
    Panel::SetIcon(gui, 120, GUI::sign);
    Panel::SetIcon(gui, 107, GUI::help);
    // The hole groups show only what the first game frame asks of them; the
    // target buttons and the back button keep what their file says.
    for (int i = 1; i <= 112; ++i)
        Panel::SetHide(gui, i, true);
    for (int i : {108, 109, 110, 106, 107, 111, 112, 16, 25, 26})
        Panel::SetHide(gui, i, false);
}

} // namespace

void init()
{
    SpeedUp();

    glShadeModel(GL_FLAT);
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    srand(static_cast<unsigned>(time(nullptr)));
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_TEXTURE_2D);

    LoadFont("Data/font");
    // Every picture of the loading step comes from the store: its data file is
    // opened once for all of them rather than once per read.
    Textures_db.OpenData();
    LoadPictures();

    LFX::SetWatcher(&watcher_position[0], &watcher_position[1], &watcher_position[2]);
    FX::cursor.load("Data/FX/cursor.lfx");
    FX::point.load("Data/FX/point.lfx");
    FX::spawn.load("Data/FX/spawn.lfx");

    LoadAnimations();
    Textures_db.CloseData();
    ReadRecord();
    SetUpPanels();

    static const int hole_buttons[7] = {16, 31, 46, 61, 76, 91, 1};
    for (int i = 0; i < 7; ++i)
        holes[i].id = hole_buttons[i];

    // Every sound is read now, so that no click, ding or eagle opens a file inside a frame.
    for (const char* sound : {"Data/sFx/click.wav", "Data/sFx/ding.wav", "Data/sFx/swoosh.wav", "Data/sFx/spawn.wav",
                              "Data/sFx/spawn_2.wav", "Data/sFx/carrots.wav", "Data/sFx/eagle.wav"})
        KeepSoundFile(sound);
    AudioEngine.spawn_static(0, "Data/sFx/music.wav", true);
    AudioEngine.spawn_dynamic(1, "Data/sFx/powerup.wav", 2.0f);

    NewGame();
    // The driver readies every way of drawing now, not in the frame where a
    // panel, a hint or an effect first shows.
    PrimeDrawingStates();
}
