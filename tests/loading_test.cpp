// The loading step against the real Data/: the picture behind every handle, the
// panels as the screens expect them, the record, the sounds, and a game that
// still runs when Data/ is missing.
#include "rules_support.h"

#include "engine/database.h"
#include "engine/draw.h"
#include "engine/sound.h"
#include "engine/texture.h"
#include "game/frame.h"
#include "game/fx_instances.h"

#include <filesystem>
#include <unistd.h>

namespace {

using Loading = rules::Game;
using Pixels = std::vector<unsigned char>;

Pixels TexturePixels(GLuint tex)
{
    GLint w = 0, h = 0;
    glBindTexture(GL_TEXTURE_2D, tex);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    Pixels px(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
    if (!px.empty())
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return px;
}

// The RGBA pixels the store holds for a picture's path.
Pixels StoredPixels(const std::string& path)
{
    unsigned char info[8];
    if (!Textures_db.Read((path + "_info").c_str(), sizeof info, info))
        return {};
    auto le32 = [&](int at) {
        return static_cast<size_t>(info[at] | info[at + 1] << 8 | info[at + 2] << 16 | info[at + 3] << 24);
    };
    Pixels px(le32(0) * le32(4) * 4);
    if (px.empty() || !Textures_db.Read((path + "_data").c_str(), static_cast<unsigned>(px.size()), px.data()))
        return {};
    return px;
}

TEST_F(Loading, EveryHandleHoldsThePictureStoredUnderItsPath)
{
    const std::pair<GLuint*, const char*> table[] = { // paths under Data/
        {&Cursor::arrow, "GUI/cursors/cursor.png"}, {&Cursor::bait, "GUI/cursors/bait.png"},
        {&Cursor::build, "GUI/cursors/build.png"}, {&Cursor::hole, "GUI/cursors/hole.png"},
        {&Cursor::skill, "GUI/cursors/skill.png"}, {&Cursor::spawn, "GUI/cursors/spawn.png"},
        {&Cursor::take, "GUI/cursors/take.png"}, {&carrot_pattern, "carrot.png"}, {&glow_pattern, "glow_area.png"},
        {&GUI::menu, "GUI/menu.bmp"}, {&GUI::credits, "GUI/credits.png"}, {&GUI::help, "GUI/help.png"},
        {&GUI::add, "GUI/add.png"}, {&GUI::back, "GUI/back.png"}, {&GUI::background, "GUI/background.jpg"},
        {&GUI::build[0], "GUI/build.png"}, {&GUI::build[1], "GUI/build_selected.png"},
        {&GUI::build[2], "GUI/build_disabled.png"}, {&GUI::building[0], "GUI/building.png"},
        {&GUI::building[1], "GUI/building_pb.png"}, {&GUI::carrots, "GUI/carrots.png"},
        {&GUI::hole[0], "GUI/hole.png"}, {&GUI::hole[1], "GUI/hole_selected.png"}, {&GUI::move[0], "GUI/move.png"},
        {&GUI::move[1], "GUI/move_selected.png"}, {&GUI::move[2], "GUI/move_disabled.png"},
        {&GUI::sacrifice[0], "GUI/sacrifice.png"}, {&GUI::sacrifice[1], "GUI/sacrifice_selected.png"},
        {&GUI::sacrifice[2], "GUI/sacrifice_disabled.png"}, {&GUI::skill, "GUI/skill.png"},
        {&GUI::target[0], "GUI/target_base.png"}, {&GUI::target[1], "GUI/target.png"},
        {&GUI::tray_bar, "GUI/tray_bar.png"}, {&GUI::sign, "GUI/sign.png"}, {&GUI::skills, "GUI/skills.png"},
        {&GUI::arrow, "GUI/arrow.png"}, {&GUI::x1, "GUI/1x.png"}, {&GUI::x2, "GUI/2x.png"},
        {&GUI::close, "GUI/close.png"}, {&GUI::pu_build[0], "GUI/pu_build_disabled.png"},
        {&GUI::pu_build[1], "GUI/pu_build.png"}, {&GUI::pu_build[2], "GUI/pu_build_dcr.png"},
        {&GUI::pu_eval[0], "GUI/pu_eval_disabled.png"}, {&GUI::pu_eval[1], "GUI/pu_eval.png"},
        {&GUI::pu_eval[2], "GUI/pu_eval_dcr.png"}, {&GUI::pu_evasion[0], "GUI/pu_evasion_disabled.png"},
        {&GUI::pu_evasion[1], "GUI/pu_evasion.png"}, {&GUI::pu_evasion[2], "GUI/pu_evasion_dcr.png"},
        {&GUI::pu_progeny[0], "GUI/pu_progeny_disabled.png"}, {&GUI::pu_progeny[1], "GUI/pu_progeny.png"},
        {&GUI::pu_progeny[2], "GUI/pu_progeny_dcr.png"}, {&GUI::pu_speed[0], "GUI/pu_speed_disabled.png"},
        {&GUI::pu_speed[1], "GUI/pu_speed.png"}, {&GUI::pu_speed[2], "GUI/pu_speed_dcr.png"},
        {&GUI::game_over, "GUI/game_over.png"}, {&GUI::hints[0], "GUI/hints/1.png"},
        {&GUI::hints[4], "GUI/hints/5.png"}, {&GUI::helps, "GUI/help_0.jpg"},
        {&rabbit_run[0], "animation/rabbit/1.png"}, {&rabbit_run[7], "animation/rabbit/8.png"},
        {&rabbit_taken[0], "animation/rabbit_taken/1.png"}, {&rabbit_taken[1], "animation/rabbit_taken/2.png"},
        {&rabbit_run_wc[0], "animation/rabbit_carrot/1.png"}, {&rabbit_run_wc[7], "animation/rabbit_carrot/8.png"},
        {&eagle_fly[0], "animation/eagle/1.png"}, {&eagle_fly[29], "animation/eagle/30.png"},
    };
    for (const auto& [handle, path] : table) {
        const Pixels stored = StoredPixels(std::string("Data/") + path);
        ASSERT_FALSE(stored.empty()) << path;
        EXPECT_TRUE(*handle != 0 && TexturePixels(*handle) == stored) << path;
    }
}

TEST_F(Loading, RecordPanelsHolesAndSoundsAreReadyForTheFirstGame)
{
    rules::WriteFile(record_path, {0xD2, 0x04, 0x00, 0x00});
    rules::ClearSlot(1);
    init();
    EXPECT_TRUE(user_record == 1234 && selection == &holes[3]) << "the record is read and the first game set up";
    const int ids[7] = {16, 31, 46, 61, 76, 91, 1};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(holes[i].id, ids[i]) << "hole " << i;
    EXPECT_TRUE(menu.GetButton(4)->pattern == rabbit_run[0] && menu.GetButton(4)->flip_x) << "the rabbit, mirrored";
    EXPECT_TRUE(credits.GetButton(2)->hide && credits.GetButton(1)->pattern == GUI::close);
    EXPECT_TRUE(menu.background == GUI::menu && gui.background == GUI::background && skills.background == GUI::skills &&
                helps.background == GUI::helps && credits.background == GUI::credits);
    const std::pair<GUILab*, std::vector<std::pair<int, GLuint>>> icons[] = {
        {&skills, {{2, GUI::pu_progeny[2]}, {5, GUI::pu_speed[2]}, {8, GUI::pu_build[2]}, {11, GUI::pu_evasion[2]},
                   {14, GUI::pu_eval[2]}, {16, GUI::close}, {17, GUI::x2}, {22, GUI::x1}, {23, GUI::x2},
                   {27, GUI::arrow}, {36, GUI::arrow}, {37, carrot_pattern}, {46, carrot_pattern}}},
        {&gui, {{106, GUI::tray_bar}, {107, GUI::help}, {108, GUI::move[1]}, {109, GUI::sacrifice[0]},
                {110, GUI::build[0]}, {111, GUI::skill}, {112, GUI::carrots}, {113, GUI::target[0]},
                {119, GUI::target[0]}, {120, GUI::sign}, {121, GUI::back}}},
        {&helps, {{1, GUI::close}}}};
    for (const auto& [panel, expected] : icons)
        for (auto [id, icon] : expected)
            EXPECT_EQ(panel->GetButton(id)->pattern, icon) << "button " << id;
    std::vector<int> shown;
    for (int id = 1; id <= 121; ++id)
        if (!gui.GetButton(id)->hide)
            shown.push_back(id);
    EXPECT_EQ(shown, (std::vector<int>{16, 25, 26, 106, 107, 108, 109, 110, 111, 112, 120, 121}));
    ALint looping = AL_FALSE;
    alGetSourcei(AudioEngine.s[0].alSource, AL_LOOPING, &looping);
    EXPECT_TRUE(looping == AL_TRUE && rules::SlotFired(1)) << "the music loops and the power-up sounds";
    EXPECT_TRUE(font != 0 && !FX::cursor.FX.empty() && !FX::point.FX.empty() && !FX::spawn.FX.empty());
}

TEST_F(Loading, WithoutDataTheGameStillRuns)
{
    const std::string here = std::filesystem::current_path(), empty = rules::TempPath("");
    ASSERT_EQ(chdir(empty.c_str()), 0);
    init();
    EXPECT_TRUE(menu.buttons.empty() && gui.buttons.empty());
    bool game = false;
    for (bool* screen : {&show_menu, &show_skills, &show_credits, &show_helps, &game}) {
        *screen = true;
        for (int i = 0; i < 12; ++i) {
            rules::ClickAt(static_cast<float>(i * 40), i % 2 ? 210.0f : 136.0f);
            rules::HoldKeys({i % 3 ? Sys::Key::G : Sys::Key::B});
        }
        *screen = false;
    }
    EXPECT_TRUE(!game_over && holes[3].rabbits == 2) << "without its tray button no rabbit leaves the hole";
    ASSERT_EQ(chdir(here.c_str()), 0);
    init();
}

} // namespace
