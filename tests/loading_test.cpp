// The loading step against the real Data/: what it sets up, the record read
// before the first game, and a game that runs without any data.
#include "engine/draw.h"
#include "engine/guilab.h"
#include "engine/sound.h"
#include "engine/texture.h"
#include "game/frame.h"
#include "game/fx_instances.h"
#include "game/input.h"
#include "game/state.h"
#include "gl_context.h"
#include "platform/platform_fake.h"

#include <AL/al.h>
#include <GL/freeglut.h>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string record_file;

std::vector<unsigned char> TexturePixels(GLuint tex)
{
    GLint w = 0, h = 0;
    glBindTexture(GL_TEXTURE_2D, tex);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    std::vector<unsigned char> px(static_cast<size_t>(w) * h * 4);
    if (!px.empty())
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return px;
}

// The picture stored under `path`, loaded afresh for comparison.
std::vector<unsigned char> StoredPicture(const char* path)
{
    GLuint t = 0;
    if (!LoadTextureFromDB(&t, path))
        return {};
    std::vector<unsigned char> px = TexturePixels(t);
    glDeleteTextures(1, &t);
    return px;
}

void Frame()
{
    static uint32_t ms = 1000;
    ms += 50;
    Sys::Fake::SetMilliseconds(ms);
    display();
}

} // namespace

class Loading : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        bm::EnsureGlContext(512, 512);
        record_file = "/tmp/bm_loading_" + std::to_string(getpid()) + ".bin";
        record_path = record_file.c_str();
        // A stored record of 1234, read before the first game is set up.
        FILE* f = fopen(record_file.c_str(), "wb");
        const unsigned char bytes[4] = {0xD2, 0x04, 0, 0};
        fwrite(bytes, 1, 4, f);
        fclose(f);
        StartAudioOutput();
        init();
    }
    static void TearDownTestSuite() { remove(record_file.c_str()); }

    void SetUp() override { bm::EnsureGlContext(512, 512); }
};

TEST_F(Loading, PanelsHolesAndTheFirstGameAreSetUpAsTheScreensExpect)
{
    ASSERT_NE(menu.GetButton(4), nullptr);
    EXPECT_EQ(menu.GetButton(4)->pattern, rabbit_run[0]);
    EXPECT_TRUE(menu.GetButton(4)->flip_x) << "the menu rabbit is mirrored";
    ASSERT_NE(credits.GetButton(2), nullptr);
    EXPECT_TRUE(credits.GetButton(2)->hide) << "the web link is invisible";
    EXPECT_EQ(helps.GetButton(1)->pattern, GUI::close);
    EXPECT_EQ(gui.background, GUI::background);

    ASSERT_GE(gui.buttons.size(), 121u);
    std::vector<int> shown;
    for (int i = 1; i <= 112; ++i)
        if (!gui.GetButton(i)->hide)
            shown.push_back(i);
    EXPECT_EQ(shown, (std::vector<int>{16, 25, 26, 106, 107, 108, 109, 110, 111, 112}));
    EXPECT_EQ(gui.GetButton(108)->pattern, GUI::move[1]);

    ASSERT_GE(skills.buttons.size(), 46u);
    for (int i = 27; i <= 46; ++i)
        EXPECT_EQ(skills.GetButton(i)->pattern, i <= 36 ? GUI::arrow : carrot_pattern) << i;
    EXPECT_EQ(skills.GetButton(14)->pattern, GUI::pu_eval[2]);

    std::vector<int> ids;
    for (const Hole& h : holes)
        ids.push_back(h.id);
    EXPECT_EQ(ids, (std::vector<int>{16, 31, 46, 61, 76, 91, 1}));
    EXPECT_EQ(user_record, 1234) << "the record is read before the first game";
    EXPECT_EQ(selection, &holes[3]) << "the first game is set up";
    EXPECT_EQ(holes[3].rabbits, 2);
    EXPECT_TRUE(show_menu) << "the program starts on the menu";
}

TEST_F(Loading, AnimationFrameIComesFromFileIPlusOne)
{
    const std::pair<GLuint, const char*> cases[] = {{eagle_fly[0], "Data/animation/eagle/1.png"},
                                                    {eagle_fly[29], "Data/animation/eagle/30.png"},
                                                    {rabbit_run[7], "Data/animation/rabbit/8.png"},
                                                    {rabbit_run_wc[3], "Data/animation/rabbit_carrot/4.png"},
                                                    {rabbit_taken[1], "Data/animation/rabbit_taken/2.png"},
                                                    {GUI::hints[4], "Data/GUI/hints/5.png"}};
    for (auto [handle, path] : cases) {
        std::vector<unsigned char> stored = StoredPicture(path);
        ASSERT_FALSE(stored.empty()) << path;
        EXPECT_TRUE(handle != 0 && TexturePixels(handle) == stored) << path;
    }
    EXPECT_FALSE(TexturePixels(eagle_fly[0]) == StoredPicture("Data/animation/eagle/2.png"))
        << "neighbouring frames differ, so the comparison above means something";
}

TEST_F(Loading, FontEffectsAndMusicAreLoaded)
{
    EXPECT_NE(font, 0u);
    EXPECT_FALSE(FX::cursor.FX.empty() || FX::point.FX.empty() || FX::spawn.FX.empty());
    ALuint music = AudioEngine.s[0].alSource;
    ASSERT_NE(music, 0u) << "the music has its slot";
    ALint looping = AL_FALSE;
    alGetSourcei(music, AL_LOOPING, &looping);
    EXPECT_EQ(looping, AL_TRUE);
    EXPECT_NE(AudioEngine.s[1].alSource, 0u) << "the power-up plays once at start";
}

// Last: loads everything again from a folder without Data/, then restores.
TEST_F(Loading, WithoutDataTheGameStillRuns)
{
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    char empty[] = "/tmp/bm_nodata_XXXXXX";
    ASSERT_NE(mkdtemp(empty), nullptr);
    ASSERT_EQ(chdir(empty), 0);
    init();
    EXPECT_TRUE(menu.buttons.empty());
    EXPECT_TRUE(gui.buttons.empty());
    show_menu = false;
    Sys::Fake::SetFocus(true);
    for (int i = 0; i < 40; ++i) {
        mouse(i * 12, 512 - 210);
        Sys::Fake::SetKey(Sys::Key::LeftButton, i % 2 == 0);
        Sys::Fake::SetKey(i % 3 == 0 ? Sys::Key::G : Sys::Key::B, i % 4 == 0);
        Frame();
    }
    Sys::Fake::ReleaseAllKeys();
    EXPECT_FALSE(game_over);
    ASSERT_EQ(chdir(here), 0);
    rmdir(empty);
    init();
    EXPECT_GE(gui.buttons.size(), 121u);
}
