// The game's nine built sounds (length, level, clipping, the music's seamless
// loop) and the recipe synthesiser that makes them.
#include "engine/wav_format.h"
#include "tools/synth_sounds/recipe.h"
#include "tools/synth_sounds/render.h"

#include <AL/al.h>
#include <AL/alut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

namespace {

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct Built {
    std::string name;
    double min_seconds, max_seconds;
};

const Built kSounds[] = {
    {"music", 30.0, 90.0},  {"powerup", 0.3, 2.0}, {"spawn_2", 0.08, 1.0},
    {"ding", 0.3, 2.0},     {"spawn", 0.2, 1.5},   {"swoosh", 0.15, 1.0},
    {"carrots", 0.2, 1.5},  {"eagle", 0.4, 2.0},   {"click", 0.020, 0.040},
};

struct Loaded {
    std::vector<int16_t> samples;
    int peak = 0;
    double rms = 0.0;
};

Loaded Load(const std::string& name) {
    Loaded out;
    Wav::Info info;
    const std::vector<uint8_t> bytes = ReadBytes("Data/sFx/" + name + ".wav");
    if (Wav::Parse(bytes.data(), bytes.size(), info)) out.samples = Wav::MonoSamples(bytes.data(), info);
    double sum = 0.0;
    for (int16_t s : out.samples) out.peak = std::max(out.peak, std::abs(int(s))), sum += double(s) * s;
    if (!out.samples.empty()) out.rms = std::sqrt(sum / out.samples.size());
    return out;
}

TEST(BuiltSounds, EachLoadsThroughTheWavLoaderAsMono16) {
    for (const Built& sound : kSounds) {
        const std::string path = "Data/sFx/" + sound.name + ".wav";
        ALenum format = 0;
        ALvoid* data = nullptr;
        ALsizei size = 0, frequency = 0;
        ALboolean loop = AL_TRUE;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        alutLoadWAVFile(reinterpret_cast<ALbyte*>(const_cast<char*>(path.c_str())), &format, &data, &size, &frequency,
                        &loop);
        ASSERT_NE(data, nullptr) << path;
        alutUnloadWAV(format, data, size, frequency);
#pragma GCC diagnostic pop
        EXPECT_EQ(format, AL_FORMAT_MONO16) << path;
        EXPECT_TRUE(frequency == 22050 || frequency == 44100) << path;
        EXPECT_EQ(loop, AL_FALSE) << path;
        const double seconds = double(size) / 2.0 / frequency;
        EXPECT_GE(seconds, sound.min_seconds) << path;
        EXPECT_LE(seconds, sound.max_seconds) << path;
    }
}

TEST(BuiltSounds, LoudButNeverClippedAndTheMusicSitsUnderTheEffects) {
    const Loaded music = Load("music");
    ASSERT_FALSE(music.samples.empty());
    for (const Built& sound : kSounds) {
        const Loaded s = Load(sound.name);
        ASSERT_FALSE(s.samples.empty()) << sound.name;
        EXPECT_LT(s.peak, 32767) << sound.name;
        EXPECT_GT(s.rms, 300.0) << sound.name << " is close to silent";
        // Clipping shows as runs of samples stuck at the same extreme.
        int run = 0, longest = 0;
        for (int16_t x : s.samples) {
            run = std::abs(int(x)) >= 32000 ? run + 1 : 0;
            longest = std::max(longest, run);
        }
        EXPECT_LT(longest, 2) << sound.name;
        if (sound.name == "music") continue;
        EXPECT_GT(s.peak, 16000) << sound.name << " should be near full level: it plays at full gain";
        EXPECT_GT(s.peak, 2.5 * music.peak) << sound.name << " must stand clearly (8 dB) over the music";
        // One-shots start and end in silence, so they neither click in nor out.
        EXPECT_LT(std::abs(int(s.samples.front())), 400) << sound.name;
        EXPECT_LT(std::abs(int(s.samples.back())), 400) << sound.name;
    }
    EXPECT_LT(music.peak, 32767 / 3);
}

TEST(BuiltSounds, TheMusicLoopsWithoutAJumpAtTheSeam) {
    const std::vector<int16_t> m = Load("music").samples;
    ASSERT_GT(m.size(), 1000u);
    std::vector<int> steps;
    for (size_t i = 1; i < m.size(); ++i) steps.push_back(std::abs(m[i] - m[i - 1]));
    std::sort(steps.begin(), steps.end());
    EXPECT_LE(std::abs(m.front() - m.back()), std::max(steps[steps.size() * 99 / 100], 1));
    // Sound runs across the seam, so that compares real signal, not two silences.
    EXPECT_GT(std::abs(int(m.back())) + std::abs(int(m.front())), 0);
}

// --- The synthesiser ---------------------------------------------------------

Synth::Recipe Parse(const std::string& text) {
    Synth::Recipe recipe;
    std::string error;
    EXPECT_TRUE(Synth::ParseRecipe(text, recipe, error)) << error;
    return recipe;
}

TEST(SynthRecipe, NotesSharpsCommentsAndMistakes) {
    double hz = 0.0;
    for (const char* bad : {"H4", "C", "C45"}) EXPECT_FALSE(Synth::NoteFrequency(bad, hz)) << bad;
    // A sharp is a note, a '#' that starts a word is a comment.
    const Synth::Recipe r = Parse("tempo 120 # two beats a second\ntrack\n notes F#5:1 r:0.5 C4+E4:2 # chord\nend\n");
    ASSERT_EQ(r.voices.size(), 3u);
    EXPECT_NEAR(r.voices[0].pitch_from, 739.989, 1e-3);
    EXPECT_DOUBLE_EQ(r.voices[1].start, 0.75) << "the rest moves the chord along";
    EXPECT_DOUBLE_EQ(r.voices[2].start, 0.75) << "chord notes start together";
    EXPECT_NEAR(r.voices[1].hold, 2 * 0.5 * 0.9, 1e-12) << "notes are held for their legato share";

    const std::pair<const char*, const char*> mistakes[] = {
        {"rate 44100\nvoice\n  wave sine\n  pich 440\nend\n", "line 4"}, {"voice\n wave sine\n", "not closed"},
        {"track\n notes C4:1\nend\n", "tempo"},   {"voice\n adsr 0.1 0.1 2 0.1\nend\n", "line 2"},
        {"voice\n hold 100000\nend\n", "300"}, {"voice\n repeat 100000 1\nend\n", "repeat"}, {"", ""}};
    for (const auto& [text, message] : mistakes) {
        Synth::Recipe recipe;
        std::string error;
        EXPECT_FALSE(Synth::ParseRecipe(text, recipe, error)) << text;
        EXPECT_NE(error.find(message), std::string::npos) << text << ": " << error;
        EXPECT_FALSE(error.empty()) << text;
    }
}

TEST(SynthRender, LevelsThePeakIsDeterministicAndWrapsLoopTails) {
    const std::string voices = "voice\n wave noise\n pitch 0\n hold 0.2\nend\n"
                               "voice\n wave saw\n pitch 300 900\n hold 0.2\n bandpass 500 2000 3\nend\n";
    const std::vector<int16_t> a = Synth::Render(Parse("rate 22050\npeak -6\nseed 9\n" + voices));
    EXPECT_EQ(Synth::Render(Parse("rate 22050\npeak -6\nseed 9\n" + voices)), a);
    EXPECT_NE(Synth::Render(Parse("rate 22050\npeak -6\nseed 10\n" + voices)), a) << "the seed matters";
    int peak = 0;
    for (int16_t x : a) peak = std::max(peak, std::abs(int(x)));
    EXPECT_NEAR(peak, 32767 * std::pow(10.0, -6.0 / 20.0), 2.0);

    // A note from 0.5 s ringing past the end of a one-second loop sounds again at its start.
    const std::string note = "voice\n wave sine\n pitch 440\n at 0.5\n hold 0.8\n adsr 0.01 0.01 1 0.2\nend\n";
    const std::vector<int16_t> looped = Synth::Render(Parse("rate 22050\nlength 1\nloop\n" + note));
    ASSERT_EQ(looped.size(), 22050u);
    int early = 0, steepest = 0;
    for (size_t i = 0; i < 2205; ++i) early = std::max(early, std::abs(int(looped[i])));
    for (size_t i = 1; i < looped.size(); ++i) steepest = std::max(steepest, std::abs(looped[i] - looped[i - 1]));
    EXPECT_GT(early, 10000);
    EXPECT_LE(std::abs(looped.front() - looped.back()), steepest) << "the wrapped tone runs straight through the seam";
    const std::vector<int16_t> cut = Synth::Render(Parse("rate 22050\nlength 1\n" + note));
    EXPECT_EQ(cut.front(), 0);
    EXPECT_EQ(cut.back(), 0) << "an effect cut short fades out instead of stopping dead";
}

TEST(SynthTool, WritesTheBuiltBytesAndNothingForABadRecipe) {
    const char* build = std::getenv("BM_BUILD_DIR");
    const char* source = std::getenv("BM_SOURCE_DIR");
    ASSERT_TRUE(build && source);
    const std::string tool = std::string(build) + "/tools/synth_sounds/synth_sounds", out = "/tmp/bm_synth_click.wav";
    ASSERT_EQ(std::system((tool + " " + source + "/assets/sounds/click.recipe " + out).c_str()), 0);
    EXPECT_EQ(ReadBytes(out), ReadBytes("Data/sFx/click.wav")) << "same recipe, same bytes";
    std::remove(out.c_str());
    const std::string bad = "/tmp/bm_synth_bad.recipe";
    std::ofstream(bad) << "voice\n wave kazoo\nend\n";
    EXPECT_NE(std::system((tool + " " + bad + " " + out + " 2>/dev/null").c_str()), 0);
    EXPECT_TRUE(ReadBytes(out).empty()) << "a failed recipe writes nothing";
    std::remove(bad.c_str());
}

// The chunk walker every WAV passes before it reaches the loader.
TEST(WavFormat, ParseStaysInsideHostileFiles) {
    std::vector<uint8_t> good(Wav::kHeaderSize + 8);
    Wav::WriteMonoHeader(good.data(), 44100, 4);
    Wav::Info info;
    ASSERT_TRUE(Wav::Parse(good.data(), good.size(), info));
    EXPECT_EQ(info.data_bytes, 8u);
    for (size_t cut = 0; cut < good.size(); ++cut) EXPECT_FALSE(Wav::Parse(good.data(), cut, info)) << "cut at " << cut;
    // Samples claimed beyond the file, a format chunk longer than the file, a compressed format.
    for (auto [offset, value, bytes] : std::initializer_list<std::tuple<int, uint32_t, int>>{
             {40, 0xFFFFFFFFu, 4}, {16, 0xFFFFFFF8u, 4}, {20, 2u, 2}}) {
        std::vector<uint8_t> bad = good;
        bytes == 4 ? Wav::PutU32(bad.data() + offset, value) : Wav::PutU16(bad.data() + offset, uint16_t(value));
        EXPECT_FALSE(Wav::Parse(bad.data(), bad.size(), info)) << offset;
    }
    // An odd-sized extra chunk before the samples is skipped with its pad byte.
    std::vector<uint8_t> padded(good.begin(), good.begin() + 36);
    const uint8_t extra[] = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    padded.insert(padded.end(), std::begin(extra), std::end(extra));
    padded.insert(padded.end(), good.begin() + 36, good.end());
    ASSERT_TRUE(Wav::Parse(padded.data(), padded.size(), info));
    EXPECT_EQ(info.data_offset, Wav::kHeaderSize + sizeof(extra));
}

} // namespace
