// Effect files and emitters: loading (sane and hostile files), spawning, timing, fading and drawing.
#include "engine/lfx.h"

#include "gl_context.h"

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string WriteFile(const std::string& name, const std::string& text)
{
    std::string path = testing::TempDir() + "lfx_test_" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// One emitter block: the texture, then every key in file order with a neutral value.
struct Block {
    int w = 1, h = 1, black_alpha = 0;
    std::vector<int> pixels{255, 255, 255, 255};
    std::vector<std::pair<std::string, std::string>> keys{
        {"particles_limit", "999"}, {"spawn_time", "0.02 0.02"}, {"spawn_particles", "1 1"},
        {"spawn_position", "0 0 0 0 0 0"}, {"spawn_direction", "0 0 0 0 0 0"}, {"particles_acceleration", "0 0 0"},
        {"particles_rotation", "0 0"}, {"particle_random_rot", "0"}, {"particles_speed", "0 0"},
        {"particles_timelife", "1 1"}, {"particles_scale", "1 1"},
        {"particles_color_start", "255 255 255 255 255 255"}, {"particles_color_end", "255 255 255 255 255 255"},
        {"billboarding", "3"}, {"time_delay", "0"}, {"time_step", "1"}, {"loop", "0"}};

    Block& set(const std::string& key, const std::string& value)
    {
        for (auto& kv : keys)
            if (kv.first == key)
                kv.second = value;
        return *this;
    }
    std::string str() const
    {
        std::ostringstream o;
        o << "texture: " << w << " " << h << " " << black_alpha << "\n";
        for (int v : pixels)
            o << v << " ";
        for (const auto& kv : keys)
            o << "\n" << kv.first << ": " << kv.second;
        return o.str() + "\n";
    }
};

const std::string kHeader = "LFX\nver: 2\n";

LumenarFX LoadOne(const Block& b, const char* name = "one.lfx")
{
    LumenarFX fx;
    EXPECT_TRUE(fx.load(WriteFile(name, kHeader + b.str()).c_str()));
    return fx;
}

std::vector<unsigned char> TexturePixels(GLuint tex, int w)
{
    std::vector<unsigned char> out(static_cast<size_t>(w) * 4, 0xEE);
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
        Clear();
        srand(1234);
    }
    static void Clear(float blue = 0)
    {
        glClearColor(0, 0, blue, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    static std::vector<unsigned char> Pixel(int x, int y)
    {
        std::vector<unsigned char> px(4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        return px;
    }
    // Pixels of the window with any colour channel above 8.
    static int LitPixels()
    {
        std::vector<unsigned char> px(512 * 512 * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 512, 512, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        int n = 0;
        for (size_t i = 0; i < px.size(); i += 4)
            n += px[i] > 8 || px[i + 1] > 8 || px[i + 2] > 8;
        return n;
    }
};

// ---- Loading ----

TEST_F(LfxTest, HeaderOnlyMissingAndRefusedFiles)
{
    LumenarFX empty;
    EXPECT_TRUE(empty.load(WriteFile("header.lfx", kHeader).c_str()));
    EXPECT_TRUE(empty.FX.empty());
    EXPECT_TRUE(empty.dead_animation());

    LumenarFX missing;
    EXPECT_FALSE(missing.load("Data/FX/no_such_effect.lfx"));
    EXPECT_TRUE(missing.FX.empty());
    EXPECT_TRUE(missing.dead_animation());

    // A refused file leaves the emitters already loaded untouched.
    LumenarFX fx;
    ASSERT_TRUE(fx.load(WriteFile("two.lfx", kHeader + Block().str() + Block().set("particles_limit", "7").str()).c_str()));
    GLuint first_texture = fx.FX.front().p_texture;
    int i = 0;
    for (const char* header : {"lfx\nver: 2\n", "LFX\nver: 1\n", "LFX\nversion: 2\n", "LF", ""}) {
        SCOPED_TRACE(header);
        EXPECT_FALSE(fx.load(WriteFile("refused" + std::to_string(i++), header + Block().str()).c_str()));
        ASSERT_EQ(fx.FX.size(), 2u);
        EXPECT_EQ(fx.FX.front().p_texture, first_texture);
        EXPECT_EQ(fx.FX.back().p_limit, 7);
    }

    // A never-loaded emitter draws and moves nothing.
    LumenarParticlesFX unloaded;
    unloaded.render(10, 20, 30, 1, 1);
    EXPECT_TRUE(unloaded.particles.empty());
    EXPECT_EQ(unloaded.time_elapsed, 0.0f);
}

TEST_F(LfxTest, TexturePixelsKeepTheirLowEightBits)
{
    Block b;
    b.pixels = {255, 0, 0, 128};
    LumenarFX fx = LoadOne(b);
    ASSERT_EQ(fx.FX.size(), 1u);
    EXPECT_EQ(TexturePixels(fx.FX.front().p_texture, 1), (std::vector<unsigned char>{255, 0, 0, 128}));

    b.w = 2;
    b.pixels = {300, -1, 256, 511, 1, 2, 3, 4};
    LumenarFX wrapped = LoadOne(b, "wrapped.lfx");
    ASSERT_EQ(wrapped.FX.size(), 1u);
    EXPECT_EQ(TexturePixels(wrapped.FX.front().p_texture, 2), (std::vector<unsigned char>{44, 255, 0, 255, 1, 2, 3, 4}));
}

TEST_F(LfxTest, BlocksKeepFileOrderWhateverTheBlanks)
{
    // CR LF line ends and a tab between the blocks.
    std::string crlf;
    for (char c : kHeader + Block().set("particles_limit", "12").str() + "\t" + Block().set("loop", "5").str())
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    LumenarFX fx;
    ASSERT_TRUE(fx.load(WriteFile("full.lfx", crlf).c_str()));
    ASSERT_EQ(fx.FX.size(), 2u);
    EXPECT_EQ(fx.FX.front().p_limit, 12);
    EXPECT_EQ(fx.FX.back().loop, 5);

    // Loading again replaces; numbers glued to the keys and odd number forms are read.
    const char* compact = "LFX ver:2 texture:1 1 1 9 8 7 6 particles_limit:5 spawn_time:.5 1. spawn_particles:+2 3"
                          " spawn_position:0 0 0 1 1 1 spawn_direction:0 1 0 0 1 0 particles_acceleration:0 0 0"
                          " particles_rotation:0 0 particle_random_rot:0 particles_speed:1 1 particles_timelife:1 1"
                          " particles_scale:1 1 particles_color_start:1 1 1 1 1 1 particles_color_end:2 2 2 2 2 2"
                          " billboarding:3 time_delay:0 time_step:-1E-1 loop:0";
    ASSERT_TRUE(fx.load(WriteFile("compact.lfx", compact).c_str()));
    ASSERT_EQ(fx.FX.size(), 1u);
    EXPECT_FLOAT_EQ(fx.FX.front().spawn_time_min, 0.5f);
    EXPECT_EQ(fx.FX.front().spawn_p_min, 2);
    EXPECT_FLOAT_EQ(fx.FX.front().total_time_simulation, -0.1f);
    EXPECT_EQ(TexturePixels(fx.FX.front().p_texture, 1), (std::vector<unsigned char>{9, 8, 7, 6}));
}

TEST_F(LfxTest, FileEndingInsideThePixelsKeepsTheBlockWithDefaults)
{
    Block b;
    b.w = 2;
    b.pixels = {1, 2, 3, 4, 5, 6, 7, 8};
    std::string full = kHeader + b.str();
    LumenarFX fx;
    ASSERT_TRUE(fx.load(WriteFile("cut_pixels.lfx", full.substr(0, full.find("6 7 8"))).c_str()));
    ASSERT_EQ(fx.FX.size(), 1u);
    EXPECT_TRUE(fx.FX.front().instance);
    EXPECT_EQ(fx.FX.front().p_limit, 999);
    EXPECT_EQ(TexturePixels(fx.FX.front().p_texture, 2), (std::vector<unsigned char>{1, 2, 3, 4, 5, 0, 0, 0}));
}

TEST_F(LfxTest, HostileFilesAreRefusedWithoutHarm)
{
    const std::string good = Block().set("particles_limit", "11").str();
    for (const char* texture_line :
         {"texture: -1 4 0 1 2 3 4", "texture: 4 -2147483648 0 1 2 3 4", "texture: -65536 -65536 0",
          "texture: 2147483647 2147483647 0 1 2 3 4", "texture: 1000 1000 0 1 2 3 4", "texture: 1 100000 0 1 2 3 4"}) {
        SCOPED_TRACE(texture_line);
        LumenarFX fx;
        ASSERT_TRUE(fx.load(WriteFile("hostile.lfx", kHeader + good + texture_line + "\nparticles_limit: 5\n").c_str()));
        // The good block stays; the bad one and whatever follows it are not loaded.
        ASSERT_EQ(fx.FX.size(), 1u);
        EXPECT_EQ(fx.FX.front().p_limit, 11);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
    for (const char* tail : {"garbage", "loop: 1", "0 0 0 0", "\x01\x02\xff", "ver: 2 LFX", "texturex: 1 1 0"}) {
        SCOPED_TRACE(tail);
        LumenarFX fx;
        ASSERT_TRUE(fx.load(WriteFile("tail.lfx", kHeader + good + tail).c_str()));
        EXPECT_EQ(fx.FX.size(), 1u);
    }
    // A stray key inside a block ends the effect at that block.
    std::string text = kHeader + good + good;
    text.insert(text.find("particles_speed:"), "oops: 3\n");
    LumenarFX fx;
    ASSERT_TRUE(fx.load(WriteFile("stray.lfx", text).c_str()));
    EXPECT_EQ(fx.FX.size(), 1u);
}

// Every cut and corruption must load to something bounded (the sanitiser build checks the buffers).
TEST_F(LfxTest, MangledFilesAlwaysLoadToSomethingBounded)
{
    Block a;
    a.w = 3;
    a.h = 2;
    a.pixels.assign(24, 200);
    const std::string text = kHeader + a.str() + Block().str();
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

TEST_F(LfxTest, DelayedLoopingEmitterDrawsFirstInItsSecondFrame)
{
    LumenarFX fx = LoadOne(Block().set("time_delay", "1.0").set("loop", "1").set("time_step", "0").set(
        "particles_timelife", "3 3"));
    fx.render(256, 256, 0, 20, 0.5f);
    EXPECT_TRUE(fx.FX.front().particles.empty());
    EXPECT_EQ(LitPixels(), 0);
    EXPECT_FALSE(fx.dead_animation());

    fx.render(256, 256, 0, 20, 0.5f);
    EXPECT_EQ(fx.FX.front().particles.size(), 1u);
    EXPECT_GT(Pixel(256, 256)[0], 200);
}

TEST_F(LfxTest, ZeroLengthWindowNeverSpawns)
{
    LumenarFX fx = LoadOne(Block().set("time_step", "0"));
    for (int i = 0; i < 20; ++i)
        fx.render(256, 256, 0, 20, 0.016f);
    EXPECT_TRUE(fx.FX.front().particles.empty());
    EXPECT_TRUE(fx.dead_animation());
    EXPECT_EQ(LitPixels(), 0);
}

TEST_F(LfxTest, BurstSizesAndTheParticleLimit)
{
    struct Case {
        const char* range;
        const char* limit;
        size_t expected;
    };
    for (const Case& c : {Case{"0 0", "999", 1}, Case{"-5 -3", "999", 1}, Case{"5 5", "3", 3}, Case{"7 7", "999", 7},
                          Case{"4 4", "0", 0}}) {
        SCOPED_TRACE(std::string(c.range) + " limit " + c.limit);
        LumenarFX fx = LoadOne(Block().set("spawn_particles", c.range).set("particles_limit", c.limit).set("time_step", "10"));
        for (int i = 0; i < 10; ++i) {
            fx.reset();
            fx.render(256, 256, 0, 10, 0.01f);
            ASSERT_EQ(fx.FX.front().particles.size(), c.expected);
        }
    }
    // The limit holds across bursts too.
    LumenarFX fx = LoadOne(
        Block().set("spawn_particles", "5 5").set("particles_limit", "3").set("time_step", "10").set("spawn_time", "0 0"));
    for (int i = 0; i < 5; ++i)
        fx.render(256, 256, 0, 10, 0.01f);
    EXPECT_EQ(fx.FX.front().particles.size(), 3u);
}

TEST_F(LfxTest, ParticleIsHalfwayToItsEndColourAndAlphaAtHalfLife)
{
    Block b;
    b.black_alpha = 1; // blended over black, so the pixel is colour x alpha
    b.set("particles_timelife", "2 2").set("time_step", "10").set("spawn_time", "100 100");
    b.set("particles_color_start", "200 100 0 200 100 0").set("particles_color_end", "0 50 250 0 50 250");
    LumenarFX fx = LoadOne(b);
    fx.render(256, 256, 0, 20, 0.0f);
    ASSERT_EQ(fx.FX.front().particles.size(), 1u);
    Clear();
    fx.render(256, 256, 0, 20, 1.0f);
    // alpha 127; colour (100, 75, 125).
    std::vector<unsigned char> px = Pixel(256, 256);
    EXPECT_NEAR(px[0], 100 * 127 / 255.0, 1.5);
    EXPECT_NEAR(px[1], 75 * 127 / 255.0, 1.5);
    EXPECT_NEAR(px[2], 125 * 127 / 255.0, 1.5);
    // A square of half-side 20 (effect scale 20 x particle scale 1).
    EXPECT_GT(Pixel(256 + 18, 256 - 18)[0], 40);
    EXPECT_EQ(Pixel(256 + 23, 256)[0], 0);
}

TEST_F(LfxTest, AdditiveEmittersAddTheirLightAndRestoreTheState)
{
    LumenarFX fx = LoadOne(Block().set("particles_timelife", "5 5").set("particles_color_start", "100 0 0 100 0 0").set(
        "time_step", "10"));
    Clear(100 / 255.0f);
    fx.render(256, 256, 0, 20, 0.0f);
    std::vector<unsigned char> px = Pixel(256, 256);
    EXPECT_NEAR(px[0], 100, 1);
    EXPECT_NEAR(px[2], 100, 1); // what was behind stays, undimmed
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLboolean depth_writes = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depth_writes);
    EXPECT_TRUE(depth_writes);
}

TEST_F(LfxTest, FinishedEffectPlaysAgainAfterReset)
{
    LumenarFX fx = LoadOne(Block().set("time_delay", "0.2").set("time_step", "0.3").set("particles_timelife", "0.25 0.25").set(
        "spawn_time", "0.1 0.1"));
    fx.render(256, 256, 0, 10, 0.1f);
    EXPECT_FALSE(fx.dead_animation()) << "still in its delay";
    int frames = 0;
    size_t most = 0;
    while (!fx.dead_animation() && frames++ < 200) {
        fx.render(256, 256, 0, 10, 0.05f);
        most = std::max(most, fx.FX.front().particles.size());
    }
    ASSERT_TRUE(fx.dead_animation());
    EXPECT_GE(most, 2u);

    fx.reset();
    EXPECT_FALSE(fx.dead_animation());
    fx.render(256, 256, 0, 10, 0.1f);
    EXPECT_TRUE(fx.FX.front().particles.empty()) << "delayed again";
    fx.render(256, 256, 0, 10, 0.1f);
    EXPECT_EQ(fx.FX.front().particles.size(), 1u);
}

// ---- The game's own effect files ----

struct BuiltEffect {
    const char* path;
    float scale, speed; // speed: fraction of the frame time the game passes
    float max_seconds, max_reach;
};

class BuiltEffectsTest : public LfxTest, public testing::WithParamInterface<BuiltEffect> {};

TEST_P(BuiltEffectsTest, LoadsPlaysAndFinishes)
{
    const BuiltEffect& be = GetParam();
    LumenarFX fx;
    ASSERT_TRUE(fx.load(be.path));
    ASSERT_FALSE(fx.FX.empty());
    for (const LumenarParticlesFX& e : fx.FX)
        EXPECT_EQ(e.loop, 0);
    // Slow and fast frames alike must show the effect and let it end.
    for (float dt : {1 / 60.0f, 0.1f}) {
        SCOPED_TRACE(dt);
        fx.reset();
        float t = 0, reach = 0;
        size_t most = 0;
        int lit = 0;
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
