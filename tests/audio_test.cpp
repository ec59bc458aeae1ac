// The sound slots on OpenAL Soft: on its null backend (slots, bounds, gains,
// hostile files), with no device at all, and through its wave-file backend; and
// the game's built sounds. The no-device and recording cases need a process of
// their own (the library reads its configuration once), so ctest runs this
// binary three times with different filters.
#include "engine/sound.h"
#include "engine/wav_format.h"
#include "scratch_dir.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace {

const char* const kBuilt[] = {"music", "powerup", "spawn_2", "ding", "spawn", "swoosh", "carrots", "eagle", "click"};

// A mono 16-bit tone, written in the game's own WAV layout.
std::string Tone(const bm::ScratchDir& dir, const char* name, double seconds)
{
    const uint32_t rate = 22050, frames = uint32_t(seconds * rate);
    bm::Bytes bytes(Wav::kHeaderSize + 2 * frames);
    Wav::WriteMonoHeader(bytes.data(), rate, frames);
    for (uint32_t i = 0; i < frames; ++i)
        Wav::PutU16(bytes.data() + Wav::kHeaderSize + 2 * i, uint16_t(int16_t(12000.0 * std::sin(0.1 * i))));
    return dir.Write(name, bytes);
}

ALint BufferBytes(const Sound& snd)
{
    ALint size = -1;
    alGetBufferi(snd.alSampleSet, AL_SIZE, &size);
    return size;
}

// Waits (up to 4 s) for a one-shot sound to finish.
void WaitStopped(Sound& snd)
{
    for (int i = 0; i < 400 && snd.State(AL_PLAYING); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

class AudioSlots : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartAudioOutput()) << "the null backend always opens"; }
    static void TearDownTestSuite() { StopAudioOutput(); }
    void TearDown() override
    {
        for (Sound& slot : AudioEngine.s)
            slot.Stop(), slot.Destroy();
    }
    bm::ScratchDir dir;
};

TEST_F(AudioSlots, ARequestReplacesWhatTheSlotHeldAndPlaysAtTwiceItsGain)
{
    AudioEngine.spawn_dynamic(1, Tone(dir, "long.wav", 2.0).c_str(), 2.0f);
    const ALuint first_source = AudioEngine.s[1].alSource;
    AudioEngine.spawn_dynamic(1, Tone(dir, "short.wav", 1.0).c_str(), 0.75f);
    Sound& slot = AudioEngine.s[1];
    EXPECT_TRUE(slot.State(AL_PLAYING));
    EXPECT_EQ(BufferBytes(slot), 2 * 22050) << "the slot holds the second file";
    EXPECT_TRUE(first_source == slot.alSource || !alIsSource(first_source));
    AudioEngine.spawn_static(0, Tone(dir, "music.wav", 0.5).c_str(), true);
    ALfloat gain[2] = {};
    ALint looping[2] = {-1, -1};
    for (int i : {0, 1}) {
        alGetSourcef(AudioEngine.s[i].alSource, AL_GAIN, &gain[i]);
        alGetSourcei(AudioEngine.s[i].alSource, AL_LOOPING, &looping[i]);
    }
    EXPECT_TRUE(gain[0] == 1.0f && looping[0] == AL_TRUE);
    EXPECT_TRUE(gain[1] == 1.5f && looping[1] == AL_FALSE);
}

TEST_F(AudioSlots, OnlySlotsZeroToTwentyFourAreStaticAndZeroToTwentyFiveDynamic)
{
    const std::string tone = Tone(dir, "range.wav", 0.5);
    for (int slot : {-1, 0, 24, 25, 26}) {
        TearDown();
        AudioEngine.spawn_static(slot, tone.c_str(), false);
        for (int i = 0; i < AudioEngine.kSlots; ++i)
            EXPECT_EQ(AudioEngine.s[i].State(AL_PLAYING), i == slot && slot <= 24) << "static " << slot;
        TearDown();
        AudioEngine.spawn_dynamic(slot, tone.c_str(), 1.0f);
        for (int i = 0; i < AudioEngine.kSlots; ++i)
            EXPECT_EQ(AudioEngine.s[i].State(AL_PLAYING), i == slot) << "dynamic " << slot;
    }
}

TEST_F(AudioSlots, MissingOrHostileFilesGiveSilentSlotsAndLeaveTheOthersPlaying)
{
    bm::Bytes header(Wav::kHeaderSize);
    Wav::WriteMonoHeader(header.data(), 22050, 0);
    bm::Bytes liar = header; // four gigabytes of samples in 44 bytes
    Wav::PutU32(liar.data() + 40, 0xFFFFFFF0u);
    const std::string files[] = {"Data/sFx/no_such_click.wav", dir.Write("liar.wav", liar),
                                 dir.Write("cut.wav", bm::Bytes(header.begin(), header.begin() + 20)),
                                 dir.Write("text.wav", "hello"), dir.Write("empty.wav", header), dir.path};
    AudioEngine.spawn_dynamic(2, Tone(dir, "ok.wav", 2.0).c_str(), 0.75f);
    for (const std::string& path : files) {
        AudioEngine.spawn_dynamic(7, path.c_str(), 0.5f);
        const Sound& click = AudioEngine.s[7];
        EXPECT_TRUE(click.alBuffer == nullptr && click.alBufferLen == 0) << path;
        ASSERT_NE(click.alSource, 0u) << path << ": the slot still gets its (silent) source";
        EXPECT_EQ(BufferBytes(click), 0) << path;
        EXPECT_TRUE(AudioEngine.s[2].State(AL_PLAYING)) << path;
    }
    AudioEngine.spawn_static(0, nullptr, true);
    EXPECT_EQ(AudioEngine.s[0].alSource, 0u) << "a null path loads nothing";
}

TEST_F(AudioSlots, TheBuiltSoundsLoadWholeAreLoudButNeverClippedAndTheMusicLoopsSmoothly)
{
    for (const char* name : kBuilt) {
        const std::string path = std::string("Data/sFx/") + name + ".wav";
        const bm::Bytes bytes = bm::ReadFile(path);
        Wav::Info info;
        ASSERT_TRUE(Wav::Parse(bytes.data(), bytes.size(), info)) << name;
        AudioEngine.spawn_dynamic(3, path.c_str(), 1.0f);
        EXPECT_EQ(BufferBytes(AudioEngine.s[3]), ALint(info.data_bytes)) << name;
        const std::vector<int16_t> s = Wav::MonoSamples(bytes.data(), info);
        ASSERT_GT(s.size(), 100u) << name;
        int peak = 0, run = 0, longest_run = 0;
        std::vector<int> steps;
        for (size_t i = 0; i < s.size(); ++i) {
            peak = std::max(peak, std::abs(int(s[i])));
            run = std::abs(int(s[i])) >= 32000 ? run + 1 : 0; // clipping shows as stuck extremes
            longest_run = std::max(longest_run, run);
            steps.push_back(i ? std::abs(s[i] - s[i - 1]) : 0);
        }
        EXPECT_LT(longest_run, 2) << name;
        std::sort(steps.begin(), steps.end());
        if (std::string(name) == "music") {
            EXPECT_LT(peak, 32767 / 3) << "the music sits under the effects";
            EXPECT_LE(std::abs(s.front() - s.back()), steps[steps.size() * 99 / 100]) << "a seam without a jump";
        } else {
            EXPECT_GT(peak, 16000) << name;
            EXPECT_TRUE(std::abs(s.front()) < 400 && std::abs(s.back()) < 400) << name << " clicks in or out";
        }
    }
}

TEST(NoDevice, EverySoundCallIsHarmlessAndLeavesNoNames)
{
    if (!std::getenv("BM_NO_SOUND_DEVICE"))
        GTEST_SKIP() << "runs as audio_silent_test";
    EXPECT_FALSE(StartAudioOutput());
    bm::ScratchDir dir;
    const std::string tone = Tone(dir, "tone.wav", 0.1);
    AudioEngine.spawn_static(0, tone.c_str(), true);
    for (int slot = 1; slot <= 7; ++slot)
        AudioEngine.spawn_dynamic(slot, tone.c_str(), 1.5f);
    for (Sound& slot : AudioEngine.s) {
        EXPECT_TRUE(slot.alSource == 0u && slot.alSampleSet == 0u && !slot.State(AL_PLAYING));
        EXPECT_TRUE(sound_dead(slot));
    }
    StopAudioOutput();
}

TEST(Recorded, TheDingReachesTheOutputAtFullLevel)
{
    if (!std::getenv("BM_RECORD_SOUND"))
        GTEST_SKIP() << "runs as audio_record_test";
    bm::ScratchDir dir;
    const std::string out = dir.path + "/out.wav";
    setenv("ALSOFT_CONF",
           dir.Write("alsoft.conf", "[general]\ndrivers=wave\nchannels=mono\nsample-type=int16\n[wave]\nfile=" + out + "\n")
               .c_str(),
           1);
    ASSERT_TRUE(StartAudioOutput());
    AudioEngine.spawn_dynamic(2, "Data/sFx/ding.wav", 0.75f);
    ASSERT_NE(AudioEngine.s[2].alBuffer, nullptr);
    WaitStopped(AudioEngine.s[2]);
    StopAudioOutput();
    // The device writes its own RIFF flavour and may not patch its lengths in: the
    // samples are whatever follows the "data" tag.
    const bm::Bytes bytes = dir.Read("out.wav");
    const std::string text(bytes.begin(), bytes.end());
    const size_t data = text.find("data");
    ASSERT_NE(data, std::string::npos);
    int peak = 0;
    for (size_t i = data + 8; i + 1 < bytes.size(); i += 2)
        peak = std::max(peak, std::abs(int(int16_t(Wav::GetU16(&bytes[i])))));
    // Twice 0.75 is capped at full gain: the bell comes out as loud as it was made.
    EXPECT_GT(peak, 13000);
    EXPECT_LT(peak, 32767);
}

} // namespace
