// The loading step against the real Data/: the picture behind every handle, the panels, record and sounds.
#include "rules_support.h"

#include "engine/database.h"
#include "engine/draw.h"
#include "engine/sound.h"
#include "engine/texture.h"
#include "game/frame.h"
#include "game/fx_instances.h"

using Loading = rules::Game;
using Pixels = std::vector<unsigned char>;

static Pixels TexturePixels(GLuint tex)
{
    GLint w = 0, h = 0;
    glBindTexture(GL_TEXTURE_2D, tex);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    Pixels px(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return px;
}

// The RGBA pixels the store holds for a picture's path.
static Pixels StoredPixels(const std::string& path)
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
    // Every state array whole, so that two swapped paths show; first and last animation frames; a few singles.
    const std::pair<GLuint*, const char*> table[] = { // paths under Data/
        {&Cursor::arrow, "GUI/cursors/cursor.png"}, {&Cursor::take, "GUI/cursors/take.png"},
        {&carrot_pattern, "carrot.png"}, {&glow_pattern, "glow_area.png"}, {&GUI::background, "GUI/background.jpg"},
        {&GUI::build[0], "GUI/build.png"}, {&GUI::build[1], "GUI/build_selected.png"},
        {&GUI::build[2], "GUI/build_disabled.png"}, {&GUI::building[0], "GUI/building.png"},
        {&GUI::building[1], "GUI/building_pb.png"}, {&GUI::hole[0], "GUI/hole.png"},
        {&GUI::hole[1], "GUI/hole_selected.png"}, {&GUI::move[0], "GUI/move.png"},
        {&GUI::move[1], "GUI/move_selected.png"}, {&GUI::move[2], "GUI/move_disabled.png"},
        {&GUI::sacrifice[0], "GUI/sacrifice.png"}, {&GUI::sacrifice[1], "GUI/sacrifice_selected.png"},
        {&GUI::sacrifice[2], "GUI/sacrifice_disabled.png"}, {&GUI::target[0], "GUI/target_base.png"},
        {&GUI::target[1], "GUI/target.png"}, {&GUI::pu_build[0], "GUI/pu_build_disabled.png"},
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
    EXPECT_TRUE(credits.GetButton(2)->hide && gui.background == GUI::background) << "the web link is invisible";
    for (auto [id, icon] : {std::pair<int, GLuint>{14, GUI::pu_eval[2]}, {17, GUI::x2}, {22, GUI::x1}, {37, carrot_pattern}})
        EXPECT_EQ(skills.GetButton(id)->pattern, icon) << "skills button " << id;
    EXPECT_TRUE(gui.GetButton(108)->pattern == GUI::move[1] && gui.GetButton(121)->pattern == GUI::back);
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
