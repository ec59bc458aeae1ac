// Effect files and emitters: loading sane and hostile files within the format's
// limits, the emitter's clocks, bursts, scale chain, fading and drawing, the
// game's own effects, and placed copies that always end.
#include "engine/lfx.h"
#include "game/fx_instances.h"
#include "math/global_time.h"
#include "reader_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <vector>

namespace {

using bm::Pixel;
const std::string kHeader = "LFX\nver: 2\n";

// One emitter block with every key in file order: neutral values (long-lived
// particles, a long emission window) except where `changes` says otherwise.
std::string Block(const std::map<std::string, std::string>& changes = {}, const std::string& texture = "1 1 0 255 255 255 255")
{
    static const char* const keys[][2] = {
        {"particles_limit", "999"}, {"spawn_time", "0.02 0.02"}, {"spawn_particles", "1 1"},
        {"spawn_position", "0 0 0 0 0 0"}, {"spawn_direction", "0 0 0 0 0 0"}, {"particles_acceleration", "0 0 0"},
        {"particles_rotation", "0 0"}, {"particle_random_rot", "0"}, {"particles_speed", "0 0"},
        {"particles_timelife", "9 9"}, {"particles_scale", "1 1"}, {"particles_color_start", "255 255 255 255 255 255"},
        {"particles_color_end", "255 255 255 255 255 255"}, {"billboarding", "3"}, {"time_delay", "0"},
        {"time_step", "10"}, {"loop", "0"}};
    std::string text = "texture: " + texture + "\n";
    for (const auto& kv : keys)
        text += std::string(kv[0]) + ": " + (changes.count(kv[0]) ? changes.at(kv[0]) : kv[1]) + "\n";
    return text;
}

class LfxTest : public testing::Test {
protected:
    void SetUp() override
    {
        bm::Canvas();
        srand(1234);
    }
    LumenarFX Load(const std::string& text)
    {
        LumenarFX fx;
        EXPECT_TRUE(fx.load(dir.Write("fx.lfx", text).c_str()));
        return fx;
    }
    static size_t Particles(const LumenarFX& fx)
    {
        size_t n = 0;
        return std::for_each(fx.FX.begin(), fx.FX.end(), [&](const LumenarParticlesFX& e) { n += e.particles.size(); }), n;
    }
    bm::ScratchDir dir;
};

TEST_F(LfxTest, HeadersAreCheckedAndBlocksReadWhateverTheLayoutOrWhereTheFileIsCut)
{
    EXPECT_TRUE(Load(kHeader).FX.empty());
    LumenarFX fx = Load(kHeader + Block() + Block({{"particles_limit", "7"}}));
    for (const char* header : {"lfx\nver: 2\n", " LFX\nver: 2\n", "LFX\nver: 1\n", "LFX\nversion: 2\n", "LF"}) {
        EXPECT_FALSE(fx.load(dir.Write("refused.lfx", header + Block()).c_str())) << header;
        EXPECT_TRUE(fx.FX.size() == 2 && fx.FX.back().p_limit == 7) << header;
    }
    // Pixels keep their low eight bits whatever the layout; a cut file keeps the defaults.
    const std::string two = Block({}, "2 1 0 300 -1 256 128 1 2 3 4");
    std::string crlf;
    for (char c : kHeader + two + "\t" + Block({{"loop", "5"}}))
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    fx = Load(crlf);
    ASSERT_EQ(fx.FX.size(), 2u);
    EXPECT_TRUE(bm::Texels(fx.FX.front().p_texture, 2) == (bm::Bytes{44, 255, 0, 128, 1, 2, 3, 4}) && fx.FX.back().loop == 5);
    fx = Load("LFX ver:2 texture:1 1 1 9 8 7 6 particles_limit:5 spawn_time:.5 1. spawn_particles:+2 3");
    const LumenarParticlesFX& e = fx.FX.front();
    EXPECT_TRUE(e.p_limit == 5 && e.spawn_time_min == 0.5f && e.spawn_p_min == 2 && e.spawn_p_max == 3);
    EXPECT_TRUE(e.instance && e.p_scale_min == 1.0f && e.loop == 1) << "keys the file did not reach keep their defaults";
    fx = Load(kHeader + two.substr(0, two.find("2 3 4")));
    EXPECT_EQ(bm::Texels(fx.FX.front().p_texture, 2), (bm::Bytes{44, 255, 0, 128, 1, 0, 0, 0}));
}

TEST_F(LfxTest, AFileIsHeldToTheFormatsLimits)
{
    std::string many = kHeader;
    for (int i = 0; i < LfxFormat::kMaxEmitters + 4; ++i)
        many += Block({{"particles_limit", "3000"}, {"spawn_particles", "3000 3000"}});
    LumenarFX fx = Load(many);
    ASSERT_EQ(fx.FX.size(), static_cast<size_t>(LfxFormat::kMaxEmitters));
    fx.render(256, 256, 0, 1, 0.0f);
    EXPECT_EQ(Particles(fx), 16u * 3000) << "each emitter its own limit";
    EXPECT_EQ(Load(kHeader + Block({{"particles_limit", "-1"}})).FX.front().p_limit, LfxFormat::kMaxEmitterParticles);
    fx = Load(kHeader + Block({{"particles_limit", "999"}}) + Block({{"particles_limit", "999"}}) + Block({{"particles_limit", "5"}}));
    std::vector<int> limits;
    for (const LumenarParticlesFX& e : fx.FX)
        limits.push_back(e.p_limit);
    EXPECT_EQ(limits, (std::vector<int>{999, 999, 5}));
    EXPECT_EQ(fx.FX.front().source_x, 0.0f);
    // Only limits adding up beyond what one effect may hold are cut.
    many = kHeader;
    for (const char* limit : {"70000", "30000", "30000", "30000"})
        many += Block({{"particles_limit", limit}});
    limits.clear();
    for (const LumenarParticlesFX& e : Load(many).FX)
        limits.push_back(e.p_limit);
    EXPECT_EQ(limits, (std::vector<int>{65536, 0, 0, 0}));
    many = kHeader;
    for (int i = 0; i < 3; ++i)
        many += Block({{"particles_limit", "30000"}});
    limits.clear();
    for (const LumenarParticlesFX& e : Load(many).FX)
        limits.push_back(e.p_limit);
    EXPECT_EQ(limits, (std::vector<int>{30000, 30000, 5536}));

    // Values are taken as read, negative ones too; only non-numbers and sizes
    // beyond any meaning are brought back.
    fx = Load(kHeader +
              Block({{"particles_timelife", "1e39 -1e39"}, {"particles_scale", "-2 10001"}, {"particles_speed", "-1 1e40"}}));
    const LumenarParticlesFX& e = fx.FX.front();
    EXPECT_TRUE(e.p_timelife_min == LfxFormat::kMaxValue && e.p_timelife_max == -LfxFormat::kMaxValue);
    EXPECT_TRUE(e.p_scale_min == -2 && e.p_scale_max == 10001 && e.p_speed_min == -1 && e.p_speed_max == LfxFormat::kMaxValue);
    fx = Load(kHeader + Block({{"particles_speed", "-5 -5"}, {"spawn_direction", "1 0 0 1 0 0"}}));
    fx.render(256, 256, 0, 1, 0.0f);
    EXPECT_LT(fx.FX.front().particles.front().dir.x, 0.0f) << "a negative speed flies the other way";

    // A dropped particle still spends its draws: 16 per particle, after the two of the burst.
    fx = Load(kHeader + Block({{"particles_limit", "3"}, {"spawn_particles", "5 5"}}));
    srand(7);
    fx.render(256, 256, 0, 1, 0.0f);
    const int next = rand();
    int k = 0;
    for (srand(7); k < 200 && rand() != next; ++k) {}
    EXPECT_TRUE(Particles(fx) == 3 && k == 2 + 5 * 16) << k;

    // A texture larger than what is left of the file is refused before anything is allocated for it.
    for (const char* texture : {"-1 4 0 1 2 3 4", "2147483647 2147483647 0 1 2 3 4", "1000 1000 0 1 2 3 4", "1 100000 0"}) {
        const std::string path = dir.Write("hostile.lfx", kHeader + Block() + Block({}, texture));
        bm::LargestAllocation();
        ASSERT_TRUE(fx.load(path.c_str()));
        EXPECT_TRUE(bm::LargestAllocation() < 65536 && fx.FX.size() == 1) << texture;
    }
}

TEST_F(LfxTest, DelaysBurstsAndEmissionAreDueAtTheirLimitsAndAParticleDiesAtZeroLife)
{
    LumenarFX fx = Load(kHeader + Block({{"spawn_time", "0 0"}, {"time_step", "0.5"}}));
    // Without time passing every frame is due a burst and the window is still open;
    // then the emission clock runs 0.25, 0.5 (still open), 0.75.
    const size_t expected[] = {1, 2, 3, 4, 5, 5};
    for (int i = 0; i < 6; ++i) {
        fx.render(256, 256, 0, 1, i < 3 ? 0.0f : 0.25f);
        EXPECT_EQ(Particles(fx), expected[i]) << i;
    }
    fx = Load(kHeader + Block({{"particles_timelife", "0 0"}, {"time_step", "0"}}));
    fx.render(256, 256, 0, 1, 0.0f);
    EXPECT_TRUE(Particles(fx) == 0 && !fx.dead_animation()) << "born with no life: removed before it is drawn";
    fx.render(256, 256, 0, 1, 0.01f);
    EXPECT_TRUE(fx.dead_animation()) << "finished once its emission clock is past its window, not at its end";
    // A delay holds everything back, and a reset rewinds the delay too.
    fx = Load(kHeader + Block({{"time_delay", "1"}, {"time_step", "0.5"}}));
    for (int round = 0; round < 2; ++round, fx.reset()) {
        fx.render(256, 256, 0, 1, 0.5f);
        EXPECT_TRUE(Particles(fx) == 0 && !fx.dead_animation()) << round;
        fx.render(256, 256, 0, 1, 0.5f);
        EXPECT_EQ(Particles(fx), 1u) << round;
    }
    // Burst sizes: the drawn point of the range, at least one, never past the limit.
    const std::tuple<const char*, const char*, size_t> cases[] = {
        {"0 0", "999", 1}, {"-5 -3", "999", 1}, {"5 5", "3", 5}, {"7 7", "999", 7}, {"4 4", "0", 4}};
    for (const auto& [range, limit, burst] : cases) {
        fx = Load(kHeader + Block({{"spawn_particles", range}, {"particles_limit", limit}, {"spawn_time", "0 0"}}));
        for (size_t i = 1; i <= 3; ++i) {
            fx.render(256, 256, 0, 10, 0.0f);
            EXPECT_EQ(Particles(fx), std::min<size_t>(burst * i, std::atoi(limit))) << range << " " << limit;
        }
    }
}

TEST_F(LfxTest, TheScaleChainPlacesSpeedsSizesAndAccelerationAsTheEffectScaleSays)
{
    LumenarFX fx = Load(kHeader + Block({{"spawn_position", "1 2 3 1 2 3"}, {"spawn_direction", "1 0 0 1 0 0"},
                                         {"particles_speed", "3 3"}, {"particles_scale", "2 2"},
                                         {"particles_acceleration", "2 4 6"}}));
    fx.render(100, 100, 0, 10, 0.0f);
    const LumenarParticlesFX::Particle& p = fx.FX.front().particles.front();
    auto near = [](const LumenarParticlesFX::Vector3d& v, float x, float y, float z) {
        return std::abs(v.x - x) + std::abs(v.y - y) + std::abs(v.z - z) < 1e-3f;
    };
    // On every axis: spawn offsets at twice the scale, speeds and sizes at the scale, acceleration at half of it.
    EXPECT_TRUE(near(p.pos, 100 + 2 * 10 * 1, 100 + 2 * 10 * 2, 2 * 10 * 3) && near(p.dir, 3 * 10, 0, 0) &&
                std::abs(p.scale - 2 * 10) < 1e-3f);
    fx.render(100, 100, 0, 10, 0.5f);
    const float a = 0.5f * 10 / 2; // a second of acceleration at half the effect's scale
    EXPECT_TRUE(near(p.dir, 30 + 2 * a, 4 * a, 6 * a) && near(p.pos, 120 + 35 * 0.5f, 140 + 10 * 0.5f, 60 + 15 * 0.5f))
        << p.dir.x << " " << p.dir.y << " " << p.dir.z << ", " << p.pos.x << " " << p.pos.y << " " << p.pos.z;
}

TEST_F(LfxTest, AParticleFadesToItsEndColourBlendedOverTheSceneOrAddingItsLight)
{
    // With three quarters of its life left: alpha 191, colour (150, 87, 62), over a background of blue 100.
    for (const char* flag : {"1", "0"}) {
        LumenarFX fx = Load(kHeader + Block({{"particles_timelife", "4 4"}, {"spawn_time", "100 100"},
                                             {"particles_color_start", "200 100 0 200 100 0"},
                                             {"particles_color_end", "0 50 250 0 50 250"}},
                                            std::string("1 1 ") + flag + " 255 255 255 255"));
        fx.render(256, 256, 0, 20, 0.0f);
        glClearColor(0, 0, 100 / 255.0f, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        fx.render(256, 256, 0, 20, 1.0f);
        const float a = 191 / 255.0f, want[3] = {150 * a, 87 * a, 62 * a + 100 * (flag[0] == '1' ? 1 - a : 1)};
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(Pixel(256, 256)[c], want[c], 1.5) << "flag " << flag << " channel " << c;
        EXPECT_TRUE(Pixel(256 + 18, 256 - 18)[0] > 40 && Pixel(256 + 23, 256)[0] == 0) << "a square of half-side 20";
    }
}

TEST_F(LfxTest, TheGamesEffectsShowAndFinishAtSlowAndFastFrames)
{
    // Scale and speed as the game places them; the seconds they may last on screen.
    const std::tuple<const char*, float, float, float> effects[] = {
        {"Data/FX/cursor.lfx", 10, 1.0f, 0.55f}, {"Data/FX/point.lfx", 17, 0.5f, 1.5f}, {"Data/FX/spawn.lfx", 17, 0.5f, 2.5f}};
    for (const auto& [path, scale, speed, seconds] : effects)
        for (float dt : {1 / 60.0f, 0.1f}) {
            LumenarFX fx;
            ASSERT_TRUE(fx.load(path));
            float t = 0;
            size_t most = 0;
            for (; !fx.dead_animation() && t < 3; t += dt)
                fx.render(256, 256, 0, scale, dt * speed), most = std::max(most, Particles(fx));
            EXPECT_TRUE(t <= seconds && most >= 3) << path << " at " << dt << ": " << t << " s, " << most;
        }
}

TEST_F(LfxTest, PlacedCopiesAlwaysEndAndHoldABoundedNumberOfParticlesTogether)
{
    const size_t most = LfxFormat::kMaxEmitterParticles;
    LumenarFX full = Load(kHeader + Block({{"particles_limit", "65536"}, {"spawn_particles", "65536 65536"}}));
    for (size_t i = 0; i < SpawnParticleFx::kMostParticles / most + 1; ++i)
        SP_Fx.Add(full, vector3f(100, 100, 0), 17);
    SP_Fx.Display();
    SP_Fx.Display();
    EXPECT_EQ(SP_Fx.fx_list.size(), SpawnParticleFx::kMostParticles / most) << "the oldest copy goes";
    SP_Fx.Reset();
    LumenarFX looping = Load(kHeader + Block({{"loop", "1"}})), point;
    ASSERT_TRUE(point.load("Data/FX/point.lfx"));
    SP_Fx.Add(looping, vector3f(100, 100, 0), 17);
    SP_Fx.Add(point, vector3f(100, 100, 0), 17);
    global_time = 0.25f; // placed copies play at half speed
    int frames = 0;
    for (; !SP_Fx.fx_list.empty() && frames < 1000; ++frames) {
        SP_Fx.Display();
        EXPECT_TRUE(frames != 40 || SP_Fx.fx_list.size() == 1) << "our own effect ends by itself, well before";
    }
    // Dropped at the first frame after it has played longer than the longest copy may.
    EXPECT_EQ(frames, static_cast<int>(SpawnParticleFx::kLongestCopy / 0.125f) + 2);
}

TEST_F(LfxTest, ASteadyEffectTakesNoHeapAfterItsFirstFramesAndKeepsItsParticlesInBirthOrder)
{
    LumenarFX fx = Load(kHeader + Block({{"spawn_time", "0 0"}, {"spawn_particles", "3 3"}, {"particles_timelife", "0.05 0.2"}, {"loop", "1"}}));
    for (int i = 0; i < 30; ++i)
        fx.render(256, 256, 0, 1, 0.01f);
    bm::LargestAllocation();
    for (int i = 0; i < 30; ++i) {
        fx.render(256, 256, 0, 1, 0.01f);
        float age = 1e9f;
        for (const LumenarParticlesFX::Particle& p : fx.FX.front().particles) {
            EXPECT_LE(p.life_max - p.life, age + 1e-6f) << "the oldest first";
            age = p.life_max - p.life;
        }
    }
    EXPECT_EQ(bm::LargestAllocation(), 0u) << "dead particles' nodes serve the newborn";
}

} // namespace
