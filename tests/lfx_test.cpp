// Effect files and emitters: loading (sane and hostile files), spawning, timing, fading and drawing.
#include "engine/lfx.h"

#include "gl_context.h"

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string TempPath(const std::string& name) { return testing::TempDir() + "lfx_test_" + name; }

std::string WriteFile(const std::string& name, const std::string& text)
{
    std::string path = TempPath(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// One emitter block; members are the values written for each key.
struct Block {
    int w = 1, h = 1, black_alpha = 0;
    std::vector<int> pixels{255, 255, 255, 255};
    std::string limit = "999";
    std::string spawn_time = "0.02 0.02";
    std::string spawn_particles = "1 1";
    std::string position = "0 0 0 0 0 0";
    std::string direction = "0 0 0 0 0 0";
    std::string acceleration = "0 0 0";
    std::string rotation = "0 0";
    std::string random_rot = "0";
    std::string speed = "0 0";
    std::string timelife = "1 1";
    std::string scale = "1 1";
    std::string color_start = "255 255 255 255 255 255";
    std::string color_end = "255 255 255 255 255 255";
    std::string billboarding = "3";
    std::string delay = "0";
    std::string step = "1";
    std::string loop = "0";

    std::string str() const
    {
        std::ostringstream o;
        o << "texture: " << w << " " << h << " " << black_alpha << "\n";
        for (int v : pixels)
            o << v << " ";
        o << "\nparticles_limit: " << limit << "\nspawn_time: " << spawn_time
          << "\nspawn_particles: " << spawn_particles << "\nspawn_position: " << position
          << "\nspawn_direction: " << direction << "\nparticles_acceleration: " << acceleration
          << "\nparticles_rotation: " << rotation << "\nparticle_random_rot: " << random_rot
          << "\nparticles_speed: " << speed << "\nparticles_timelife: " << timelife
          << "\nparticles_scale: " << scale << "\nparticles_color_start: " << color_start
          << "\nparticles_color_end: " << color_end << "\nbillboarding: " << billboarding
          << "\ntime_delay: " << delay << "\ntime_step: " << step << "\nloop: " << loop << "\n";
        return o.str();
    }
};

const char* kHeader = "LFX\nver: 2\n";

LumenarFX LoadOne(const Block& b, const char* name = "one.lfx")
{
    LumenarFX fx;
    EXPECT_TRUE(fx.load(WriteFile(name, kHeader + b.str()).c_str()));
    return fx;
}

std::vector<unsigned char> TexturePixels(GLuint tex, int w, int h)
{
    std::vector<unsigned char> out(static_cast<size_t>(w) * h * 4, 0xEE);
    glBindTexture(GL_TEXTURE_2D, tex);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
    return out;
}

class LfxTest : public testing::Test {
protected:
    void SetUp() override
    {
        bm::EnsureGlContext();
        glViewport(0, 0, 512, 512);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 512, 0, 512, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnable(GL_TEXTURE_2D);
        glDisable(GL_DEPTH_TEST);
        glReadBuffer(GL_BACK);
        glDrawBuffer(GL_BACK);
        Clear();
        srand(1234);
    }
    static void Clear()
    {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    static std::vector<unsigned char> Pixel(int x, int y)
    {
        std::vector<unsigned char> px(4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        return px;
    }
    // Counts lit pixels (any channel above `threshold`) in the whole window.
    static int LitPixels(int threshold = 8)
    {
        std::vector<unsigned char> px(512 * 512 * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 512, 512, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        int n = 0;
        for (size_t i = 0; i < px.size(); i += 4)
            if (px[i] > threshold || px[i + 1] > threshold || px[i + 2] > threshold)
                ++n;
        return n;
    }
};

// ---- Loading ----

TEST_F(LfxTest, HeaderOnlyFileIsAnEmptyFinishedEffect)
{
    LumenarFX fx;
    EXPECT_TRUE(fx.load(WriteFile("header.lfx", "LFX\nver: 2\n").c_str()));
    EXPECT_TRUE(fx.FX.empty());
    EXPECT_TRUE(fx.dead_animation());
    EXPECT_FALSE(fx.turned_off);
}

TEST_F(LfxTest, RefusedFilesLeaveTheEmittersAlone)
{
    Block a, b;
    b.limit = "7";
    LumenarFX fx;
    ASSERT_TRUE(fx.load(WriteFile("two.lfx", kHeader + a.str() + b.str()).c_str()));
    ASSERT_EQ(fx.FX.size(), 2u);
    GLuint first_texture = fx.FX.front().p_texture;

    const std::string body = a.str();
    const char* refused[] = {"lfx\nver: 2\n", " LFX\nver: 2\n", "LFX\nver: 1\n", "LFX\nver: x\n", "LFX\nversion: 2\n",
                             "LF", ""};
    int i = 0;
    for (const char* header : refused) {
        SCOPED_TRACE(header);
        EXPECT_FALSE(fx.load(WriteFile("refused" + std::to_string(i++), header + body).c_str()));
        ASSERT_EQ(fx.FX.size(), 2u);
        EXPECT_EQ(fx.FX.front().p_texture, first_texture);
        EXPECT_EQ(fx.FX.back().p_limit, 7);
    }
    EXPECT_FALSE(fx.load(TempPath("no_such_file.lfx").c_str()));
    EXPECT_EQ(fx.FX.size(), 2u);

    LumenarFX missing;
    EXPECT_FALSE(missing.load("Data/FX/no_such_effect.lfx"));
    EXPECT_TRUE(missing.FX.empty());
    EXPECT_TRUE(missing.dead_animation());
}

TEST_F(LfxTest, TexturePixelsKeepTheirLowEightBits)
{
    Block b;
    b.pixels = {255, 0, 0, 128};
    LumenarFX fx = LoadOne(b);
    ASSERT_EQ(fx.FX.size(), 1u);
    const LumenarParticlesFX& e = fx.FX.front();
    EXPECT_EQ(e.sizeX, 1);
    EXPECT_EQ(e.sizeY, 1);
    EXPECT_EQ(e.black_alpha, 0);
    ASSERT_NE(e.p_texture, 0u);
    EXPECT_EQ(TexturePixels(e.p_texture, 1, 1), (std::vector<unsigned char>{255, 0, 0, 128}));

    b.w = 2;
    b.black_alpha = 1;
    b.pixels = {300, -1, 256, 511, 1, 2, 3, 4};
    LumenarFX wrapped = LoadOne(b, "wrapped.lfx");
    ASSERT_EQ(wrapped.FX.size(), 1u);
    EXPECT_EQ(wrapped.FX.front().black_alpha, 1);
    EXPECT_EQ(TexturePixels(wrapped.FX.front().p_texture, 2, 1),
              (std::vector<unsigned char>{44, 255, 0, 255, 1, 2, 3, 4}));
}

TEST_F(LfxTest, EveryKeyFillsItsFieldAndBlocksKeepFileOrder)
{
    Block a;
    a.limit = "12";
    a.spawn_time = "0.5 1.5";
    a.spawn_particles = "-2 9";
    a.position = "1 2 3 4 5 6";
    a.direction = "-1 -2 -3 7 8 9";
    a.acceleration = "0.25 -0.5 2e1";
    a.rotation = "-45 90";
    a.random_rot = "1";
    a.speed = "3 4";
    a.timelife = "0.75 1.25";
    a.scale = "0.1 0.2";
    a.color_start = "1 2 3 4 5 6";
    a.color_end = "10 20 30 40 50 60";
    a.billboarding = "0";
    a.delay = "2.5";
    a.step = "3.5";
    a.loop = "0";
    Block b;
    b.limit = "34";
    b.loop = "5";

    // Tabs, CR LF line ends and numbers glued to the keys are all allowed.
    std::string text = kHeader + a.str() + "\r\n\t" + b.str();
    std::string crlf;
    for (char c : text) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    LumenarFX fx;
    ASSERT_TRUE(fx.load(WriteFile("full.lfx", crlf).c_str()));
    ASSERT_EQ(fx.FX.size(), 2u);
    const LumenarParticlesFX& e = fx.FX.front();
    EXPECT_EQ(e.p_limit, 12);
    EXPECT_FLOAT_EQ(e.spawn_time_min, 0.5f);
    EXPECT_FLOAT_EQ(e.spawn_time_max, 1.5f);
    EXPECT_FLOAT_EQ(e.spawn_time, 0.02f);
    EXPECT_EQ(e.spawn_p_min, -2);
    EXPECT_EQ(e.spawn_p_max, 9);
    EXPECT_FLOAT_EQ(e.spawn_pos_min.z, 3);
    EXPECT_FLOAT_EQ(e.spawn_pos_max.x, 4);
    EXPECT_FLOAT_EQ(e.spawn_dir_min.y, -2);
    EXPECT_FLOAT_EQ(e.spawn_dir_max.z, 9);
    EXPECT_FLOAT_EQ(e.p_acceleration.x, 0.25f);
    EXPECT_FLOAT_EQ(e.p_acceleration.y, -0.5f);
    EXPECT_FLOAT_EQ(e.p_acceleration.z, 20.0f);
    EXPECT_FLOAT_EQ(e.p_rotation_min, -45);
    EXPECT_FLOAT_EQ(e.p_rotation_max, 90);
    EXPECT_EQ(e.p_rand_rot, 1);
    EXPECT_FLOAT_EQ(e.p_speed_max, 4);
    EXPECT_FLOAT_EQ(e.p_timelife_min, 0.75f);
    EXPECT_FLOAT_EQ(e.p_scale_max, 0.2f);
    EXPECT_FLOAT_EQ(e.p_color_s_min.b, 3);
    EXPECT_FLOAT_EQ(e.p_color_s_max.r, 4);
    EXPECT_FLOAT_EQ(e.p_color_e_min.g, 20);
    EXPECT_FLOAT_EQ(e.p_color_e_max.b, 60);
    EXPECT_EQ(e.billboarding, 0);
    EXPECT_FLOAT_EQ(e.time_delay, 2.5f);
    EXPECT_FLOAT_EQ(e.total_time_simulation, 3.5f);
    EXPECT_FLOAT_EQ(e.store_total_time_simulation, 3.5f);
    EXPECT_EQ(e.loop, 0);
    EXPECT_TRUE(e.instance);
    EXPECT_TRUE(e.first_spawn);
    EXPECT_TRUE(e.particles.empty());
    EXPECT_EQ(fx.FX.back().p_limit, 34);
    EXPECT_EQ(fx.FX.back().loop, 5);

    // Loading again into the same effect replaces, never appends.
    ASSERT_TRUE(fx.load(WriteFile("single.lfx", kHeader + b.str()).c_str()));
    ASSERT_EQ(fx.FX.size(), 1u);
    EXPECT_EQ(fx.FX.front().p_limit, 34);
}

TEST_F(LfxTest, CompactFileWithoutOptionalBlanks)
{
    LumenarFX fx;
    const char* text = "LFX ver:2 texture:1 1 1 9 8 7 6 particles_limit:5 spawn_time:.5 1. spawn_particles:+2 3"
                       " spawn_position:0 0 0 1 1 1 spawn_direction:0 1 0 0 1 0 particles_acceleration:0 0 0"
                       " particles_rotation:0 0 particle_random_rot:0 particles_speed:1 1 particles_timelife:1 1"
                       " particles_scale:1 1 particles_color_start:1 1 1 1 1 1 particles_color_end:2 2 2 2 2 2"
                       " billboarding:3 time_delay:0 time_step:-1E-1 loop:0";
    ASSERT_TRUE(fx.load(WriteFile("compact.lfx", text).c_str()));
    ASSERT_EQ(fx.FX.size(), 1u);
    const LumenarParticlesFX& e = fx.FX.front();
    EXPECT_EQ(e.p_limit, 5);
    EXPECT_FLOAT_EQ(e.spawn_time_min, 0.5f);
    EXPECT_FLOAT_EQ(e.spawn_time_max, 1.0f);
    EXPECT_EQ(e.spawn_p_min, 2);
    EXPECT_FLOAT_EQ(e.total_time_simulation, -0.1f);
    EXPECT_EQ(e.loop, 0);
    EXPECT_EQ(TexturePixels(e.p_texture, 1, 1), (std::vector<unsigned char>{9, 8, 7, 6}));
}

TEST_F(LfxTest, FileEndingInsideABlockKeepsItWithDefaults)
{
    Block b;
    b.w = 2;
    b.pixels = {1, 2, 3, 4, 5, 6, 7, 8};
    std::string full = kHeader + b.str();

    // Cut in the middle of the pixels: the rest of the pixels are 0 and every key keeps its start value.
    size_t cut = full.find("6 7 8");
    ASSERT_NE(cut, std::string::npos);
    LumenarFX fx;
    ASSERT_TRUE(fx.load(WriteFile("cut_pixels.lfx", full.substr(0, cut)).c_str()));
    ASSERT_EQ(fx.FX.size(), 1u);
    const LumenarParticlesFX& e = fx.FX.front();
    EXPECT_TRUE(e.instance);
    EXPECT_EQ(e.p_limit, 999);
    EXPECT_EQ(e.loop, 1);
    EXPECT_EQ(e.billboarding, 3);
    EXPECT_EQ(TexturePixels(e.p_texture, 2, 1), (std::vector<unsigned char>{1, 2, 3, 4, 5, 0, 0, 0}));

    // Cut between the two values of a key.
    b.limit = "42";
    b.spawn_time = "0.5 0.75";
    full = kHeader + b.str();
    cut = full.find("0.75");
    ASSERT_TRUE(fx.load(WriteFile("cut_key.lfx", full.substr(0, cut)).c_str()));
    ASSERT_EQ(fx.FX.size(), 1u);
    EXPECT_EQ(fx.FX.front().p_limit, 42);
    EXPECT_FLOAT_EQ(fx.FX.front().spawn_time_min, 0.5f);
    EXPECT_FLOAT_EQ(fx.FX.front().spawn_time_max, 0.02f);
    EXPECT_EQ(fx.FX.front().spawn_p_min, 1);
    EXPECT_TRUE(fx.FX.front().instance);
}

TEST_F(LfxTest, HostileTextureSizesAreRefusedWithoutHarm)
{
    Block good;
    good.limit = "11";
    struct Case {
        const char* name;
        std::string texture_line;
    };
    const Case cases[] = {
        {"negative width", "texture: -1 4 0 1 2 3 4"},
        {"negative height", "texture: 4 -2147483648 0 1 2 3 4"},
        {"both negative", "texture: -65536 -65536 0"},
        {"beyond any texture", "texture: 2147483647 2147483647 0 1 2 3 4"},
        {"more pixels than the file", "texture: 1000 1000 0 1 2 3 4"},
        {"beyond the largest texture", "texture: 1 100000 0 1 2 3 4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LumenarFX fx;
        std::string text = kHeader + good.str() + c.texture_line + "\nparticles_limit: 5\n";
        ASSERT_TRUE(fx.load(WriteFile("hostile.lfx", text).c_str()));
        // The good block stays; the bad one and whatever follows it are not loaded.
        ASSERT_EQ(fx.FX.size(), 1u);
        EXPECT_EQ(fx.FX.front().p_limit, 11);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

TEST_F(LfxTest, TrailingTextNeverMakesExtraEmitters)
{
    Block b;
    const char* tails[] = {"garbage", "loop: 1", "0 0 0 0", "\x01\x02\xff", "ver: 2 LFX", "texturex: 1 1 0"};
    for (const char* tail : tails) {
        SCOPED_TRACE(tail);
        LumenarFX fx;
        ASSERT_TRUE(fx.load(WriteFile("tail.lfx", kHeader + b.str() + tail).c_str()));
        EXPECT_EQ(fx.FX.size(), 1u);
    }
    // A stray key in the middle of a block ends the effect at that block.
    std::string text = kHeader + b.str() + b.str();
    size_t at = text.find("particles_speed:");
    text.insert(at, "oops: 3\n");
    LumenarFX fx;
    ASSERT_TRUE(fx.load(WriteFile("stray.lfx", text).c_str()));
    ASSERT_EQ(fx.FX.size(), 1u);
    EXPECT_FLOAT_EQ(fx.FX.front().p_speed_min, 0.0f);
    EXPECT_TRUE(fx.FX.front().instance);
}

TEST_F(LfxTest, OutlandishNumbersLoadAndRunSafely)
{
    Block b;
    b.limit = "99999999999999999999";
    b.spawn_particles = "-99999999999999999999 3";
    b.spawn_time = "1e999 -1e999";
    b.speed = "1e-999 0";
    b.timelife = "0.5 0.5";
    b.color_start = "1e30 -1e30 1e999 70000 -70000 0";
    LumenarFX fx = LoadOne(b, "numbers.lfx");
    ASSERT_EQ(fx.FX.size(), 1u);
    const LumenarParticlesFX& e = fx.FX.front();
    EXPECT_EQ(e.p_limit, 2147483647);
    EXPECT_EQ(e.spawn_p_min, -2147483647 - 1);
    EXPECT_TRUE(std::isinf(e.spawn_time_min) && e.spawn_time_min > 0);
    EXPECT_TRUE(std::isinf(e.spawn_time_max) && e.spawn_time_max < 0);
    EXPECT_FLOAT_EQ(e.p_speed_min, 0.0f);
    for (int i = 0; i < 10; ++i)
        fx.render(256, 256, 0, 10, 0.05f);
    EXPECT_LE(fx.FX.front().particles.size(), 65536u);
}

// Cuts and corrupts a real effect file at many places: every load must end and
// stay inside its buffers (the sanitiser build checks the latter).
TEST_F(LfxTest, MangledFilesAlwaysLoadToSomethingBounded)
{
    Block a, b;
    a.w = 3;
    a.h = 2;
    a.pixels.assign(24, 200);
    const std::string text = kHeader + a.str() + b.str();
    srand(99);
    for (size_t cut = 0; cut <= text.size(); cut += 7) {
        LumenarFX fx;
        fx.load(WriteFile("cut.lfx", text.substr(0, cut)).c_str());
        EXPECT_LE(fx.FX.size(), 2u);
    }
    for (int round = 0; round < 200; ++round) {
        std::string m = text;
        for (int k = 0; k < 4; ++k)
            m[3 + rand() % (m.size() - 3)] = "0123456789-+.eE :xtr\n"[rand() % 21];
        LumenarFX fx;
        fx.load(WriteFile("mangled.lfx", m).c_str());
        EXPECT_LE(fx.FX.size(), 2u);
        fx.render(100, 100, 0, 5, 0.05f);
    }
}

// ---- Running ----

TEST_F(LfxTest, CopiesOwnTheirParticlesButShareTextures)
{
    Block b;
    b.step = "5";
    b.spawn_particles = "4 4";
    LumenarFX original = LoadOne(b);
    original.render(100, 100, 0, 10, 0.05f);
    ASSERT_EQ(original.FX.front().particles.size(), 4u);

    LumenarFX copy = original;
    EXPECT_EQ(copy.FX.front().p_texture, original.FX.front().p_texture);
    EXPECT_FLOAT_EQ(copy.FX.front().global_time_elapsed, original.FX.front().global_time_elapsed);
    copy.FX.front().particles.front().life = -1;
    copy.render(100, 100, 0, 10, 0.05f);
    EXPECT_EQ(original.FX.front().particles.size(), 4u);
    EXPECT_GT(original.FX.front().particles.front().life, 0);

    LumenarFX assigned;
    assigned = original;
    original.reset();
    EXPECT_EQ(assigned.FX.front().particles.size(), 4u);
}

TEST_F(LfxTest, DelayedLoopingEmitterDrawsFirstInItsSecondFrame)
{
    Block b;
    b.delay = "1.0";
    b.loop = "1";
    b.step = "0";
    b.scale = "1 1";
    b.timelife = "3 3";
    LumenarFX fx = LoadOne(b);

    fx.render(256, 256, 0, 20, 0.5f);
    EXPECT_TRUE(fx.FX.front().particles.empty());
    EXPECT_EQ(LitPixels(), 0);
    EXPECT_FALSE(fx.dead_animation());

    fx.render(256, 256, 0, 20, 0.5f);
    EXPECT_EQ(fx.FX.front().particles.size(), 1u);
    EXPECT_GT(LitPixels(), 0);
    EXPECT_GT(Pixel(256, 256)[0], 200);
}

TEST_F(LfxTest, ClosedEmissionWindowNeverSpawns)
{
    Block b;
    b.step = "0";
    b.loop = "0";
    LumenarFX fx = LoadOne(b);
    for (int i = 0; i < 20; ++i)
        fx.render(256, 256, 0, 20, 0.016f);
    EXPECT_TRUE(fx.FX.front().particles.empty());
    EXPECT_TRUE(fx.dead_animation());
    EXPECT_EQ(LitPixels(), 0);

    // A window shorter than the first frame is already closed at the first burst test.
    b.step = "0.01";
    LumenarFX short_window = LoadOne(b, "short.lfx");
    short_window.render(256, 256, 0, 20, 0.02f);
    EXPECT_TRUE(short_window.FX.front().particles.empty());
}

TEST_F(LfxTest, BurstSizesAndTheParticleLimit)
{
    struct Case {
        const char* range;
        const char* limit;
        size_t expected;
    };
    const Case cases[] = {{"0 0", "999", 1}, {"-5 -3", "999", 1}, {"5 5", "3", 3}, {"5 5", "999", 5}, {"4 4", "0", 0},
                          {"7 7", "999", 7}, {"3 3", "999", 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.range) + " limit " + c.limit);
        Block b;
        b.spawn_particles = c.range;
        b.limit = c.limit;
        b.step = "10";
        LumenarFX fx = LoadOne(b);
        // Whatever the draw, a fixed range gives exactly its size.
        for (int i = 0; i < 30; ++i) {
            fx.reset();
            fx.render(256, 256, 0, 10, 0.01f);
            ASSERT_EQ(fx.FX.front().particles.size(), c.expected);
        }
        EXPECT_EQ(fx.FX.front().get_active_particles(), static_cast<int>(c.expected));
        EXPECT_EQ(fx.FX.front().get_inactive_particles(), 0);
    }
    // The limit holds across bursts too.
    Block b;
    b.spawn_particles = "5 5";
    b.limit = "3";
    b.step = "10";
    b.spawn_time = "0 0";
    LumenarFX fx = LoadOne(b);
    for (int i = 0; i < 5; ++i)
        fx.render(256, 256, 0, 10, 0.01f);
    EXPECT_EQ(fx.FX.front().particles.size(), 3u);
}

TEST_F(LfxTest, ParticleFadesToItsEndColourAtHalfLife)
{
    Block b;
    b.black_alpha = 1; // blended over a black screen, so the pixel is colour x alpha
    b.timelife = "2 2";
    b.color_start = "200 100 0 200 100 0";
    b.color_end = "0 50 250 0 50 250";
    b.step = "10";
    b.spawn_time = "100 100";
    LumenarFX fx = LoadOne(b);
    fx.render(256, 256, 0, 20, 0.0f);
    ASSERT_EQ(fx.FX.front().particles.size(), 1u);
    Clear();
    fx.render(256, 256, 0, 20, 1.0f);
    const LumenarParticlesFX::Particle& p = fx.FX.front().particles.front();
    EXPECT_FLOAT_EQ(p.life, 1.0f);
    EXPECT_FLOAT_EQ(fx.FX.front().get_rate(p.life, p.life_max), 50.0f);

    // alpha 127; colour halfway: (100, 75, 125).
    std::vector<unsigned char> px = Pixel(256, 256);
    EXPECT_NEAR(px[0], 100 * 127 / 255.0, 1.5);
    EXPECT_NEAR(px[1], 75 * 127 / 255.0, 1.5);
    EXPECT_NEAR(px[2], 125 * 127 / 255.0, 1.5);
    // The particle is a square of half-side 20 (effect scale 20, particle scale 1) at the source.
    EXPECT_GT(Pixel(256 + 18, 256 - 18)[0], 40);
    EXPECT_EQ(Pixel(256 + 23, 256)[0], 0);
    EXPECT_EQ(Pixel(256, 256 + 23)[2], 0);
}

TEST_F(LfxTest, AdditiveEmittersAddTheirLight)
{
    Block b;
    b.black_alpha = 0;
    b.timelife = "5 5";
    b.color_start = "100 0 0 100 0 0";
    b.step = "10";
    b.spawn_time = "100 100";
    LumenarFX fx = LoadOne(b);
    glClearColor(0, 0, 100 / 255.0f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    fx.render(256, 256, 0, 20, 0.0f);
    std::vector<unsigned char> px = Pixel(256, 256);
    EXPECT_NEAR(px[0], 100, 1);
    EXPECT_NEAR(px[2], 100, 1); // what was behind stays, undimmed
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLboolean depth_writes = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depth_writes);
    EXPECT_TRUE(depth_writes);
}

TEST_F(LfxTest, ScaleChainFromEffectToParticle)
{
    Block b;
    b.position = "1 0.5 0 1 0.5 0";
    b.direction = "3 4 0 3 4 0";
    b.speed = "2 2";
    b.acceleration = "0 4 0";
    b.scale = "0.5 0.5";
    b.timelife = "9 9";
    b.step = "10";
    b.spawn_time = "100 100";
    LumenarFX fx = LoadOne(b);
    fx.render(100, 200, 0, 10, 0.0f);
    ASSERT_EQ(fx.FX.front().particles.size(), 1u);
    const LumenarParticlesFX::Particle& p = fx.FX.front().particles.front();
    // Offsets 2 x 10 x position, speed 10 x 2 along the unit direction, half-side 10 x 0.5.
    EXPECT_FLOAT_EQ(p.pos.x, 120.0f);
    EXPECT_FLOAT_EQ(p.pos.y, 210.0f);
    EXPECT_FLOAT_EQ(p.speed, 20.0f);
    EXPECT_FLOAT_EQ(p.dir.x, 12.0f);
    EXPECT_FLOAT_EQ(p.dir.y, 16.0f);
    EXPECT_FLOAT_EQ(p.scale, 5.0f);
    // One second: the acceleration acts at half the effect scale.
    fx.render(100, 200, 0, 10, 1.0f);
    EXPECT_FLOAT_EQ(p.dir.y, 16.0f + 4.0f * 5.0f);
    EXPECT_FLOAT_EQ(p.pos.x, 132.0f);
    EXPECT_FLOAT_EQ(p.pos.y, 246.0f);
}

TEST_F(LfxTest, FinishedEffectPlaysAgainAfterReset)
{
    Block b;
    b.delay = "0.2";
    b.step = "0.3";
    b.timelife = "0.25 0.25";
    b.spawn_time = "0.1 0.1";
    LumenarFX fx = LoadOne(b);
    // Still in its delay: not finished.
    fx.render(256, 256, 0, 10, 0.1f);
    EXPECT_FALSE(fx.dead_animation());

    int frames = 0;
    size_t most = 0;
    while (!fx.dead_animation() && frames < 200) {
        fx.render(256, 256, 0, 10, 0.05f);
        most = std::max(most, fx.FX.front().particles.size());
        ++frames;
    }
    ASSERT_TRUE(fx.dead_animation());
    EXPECT_GE(most, 2u);
    EXPECT_TRUE(fx.FX.front().particles.empty());

    fx.reset();
    const LumenarParticlesFX& e = fx.FX.front();
    EXPECT_FALSE(fx.dead_animation());
    EXPECT_TRUE(e.first_spawn);
    EXPECT_EQ(e.time_delay_elapsed, 0.0f);
    fx.render(256, 256, 0, 10, 0.1f);
    EXPECT_TRUE(e.particles.empty()); // delayed again
    fx.render(256, 256, 0, 10, 0.1f);
    EXPECT_EQ(e.particles.size(), 1u);
}

TEST_F(LfxTest, DeadParticlesGoOneFrameAfterTheirLastDrawing)
{
    Block b;
    b.timelife = "0.1 0.1";
    b.step = "0.05";
    b.spawn_time = "100 100";
    LumenarFX fx = LoadOne(b);
    LumenarParticlesFX& e = fx.FX.front();
    int frames = 0;
    do {
        fx.render(256, 256, 0, 10, 0.05f);
        ++frames;
    } while (e.get_inactive_particles() == 0 && frames < 10);
    // Its life ran out in this frame: still listed (drawn fully transparent), gone in the next.
    ASSERT_EQ(e.particles.size(), 1u);
    EXPECT_TRUE(dead_particle(e.particles.front()));
    EXPECT_FALSE(fx.dead_animation());
    fx.render(256, 256, 0, 10, 0.05f);
    EXPECT_TRUE(e.particles.empty());
    EXPECT_TRUE(fx.dead_animation());
}

TEST_F(LfxTest, NeverLoadedEmitterDoesNothing)
{
    LumenarParticlesFX e;
    EXPECT_FALSE(e.instance);
    EXPECT_EQ(e.p_limit, 999);
    EXPECT_EQ(e.loop, 1);
    EXPECT_EQ(e.billboarding, 3);
    EXPECT_FLOAT_EQ(e.p_color_e_max.g, 255);
    e.render(10, 20, 30, 1, 1);
    EXPECT_EQ(e.time_elapsed, 0.0f);
    EXPECT_EQ(e.source.x, 0.0f);
    EXPECT_TRUE(e.particles.empty());
    EXPECT_FLOAT_EQ(e.Get3dDistance(1, 2, 3, 4, 6, 3), 5.0f);
}

TEST_F(LfxTest, WatcherKeepsThePointersItIsGiven)
{
    float pos[3] = {0, 0, 0};
    LFX::SetWatcher(&pos[0], &pos[1], &pos[2]);
    EXPECT_EQ(LFX::watcher_x, &pos[0]);
    EXPECT_EQ(LFX::watcher_z, &pos[2]);
    LFX::SetWatcher(nullptr, nullptr, nullptr);
}

// ---- The game's own effect files ----

struct BuiltEffect {
    const char* path;
    float scale;
    float speed; // fraction of the frame time the game passes
    float max_seconds;
    float max_reach; // how far from the source anything may be drawn, in screen units
};

class BuiltEffectsTest : public LfxTest, public testing::WithParamInterface<BuiltEffect> {};

TEST_P(BuiltEffectsTest, LoadsPlaysAndFinishes)
{
    const BuiltEffect& be = GetParam();
    LumenarFX fx;
    ASSERT_TRUE(fx.load(be.path));
    ASSERT_FALSE(fx.FX.empty());
    for (const LumenarParticlesFX& e : fx.FX) {
        EXPECT_EQ(e.loop, 0);
        EXPECT_GT(e.sizeX, 0);
        EXPECT_NE(e.p_texture, 0u);
    }
    // Slow frames and fast frames alike must show the effect and let it end.
    for (float dt : {1 / 60.0f, 0.1f}) {
        SCOPED_TRACE(dt);
        fx.reset();
        float t = 0;
        size_t most = 0;
        int lit = 0;
        float reach = 0;
        while (!fx.dead_animation() && t < 10) {
            Clear();
            fx.render(256, 256, 0, be.scale, dt * be.speed);
            t += dt;
            size_t n = 0;
            for (const LumenarParticlesFX& e : fx.FX) {
                n += e.particles.size();
                for (const LumenarParticlesFX::Particle& p : e.particles)
                    reach = std::max(reach, std::hypot(p.pos.x - 256, p.pos.y - 256) + p.scale);
            }
            most = std::max(most, n);
            lit = std::max(lit, LitPixels());
        }
        EXPECT_TRUE(fx.dead_animation());
        EXPECT_LE(t, be.max_seconds);
        EXPECT_GE(most, 3u);
        EXPECT_GT(lit, 30);
        EXPECT_LE(reach, be.max_reach);
    }
}

INSTANTIATE_TEST_SUITE_P(Data, BuiltEffectsTest,
                         testing::Values(BuiltEffect{"Data/FX/cursor.lfx", 10, 1.0f, 0.55f, 26},
                                         BuiltEffect{"Data/FX/point.lfx", 17, 0.5f, 1.5f, 60},
                                         BuiltEffect{"Data/FX/spawn.lfx", 17, 0.5f, 2.5f, 80}));

} // namespace
