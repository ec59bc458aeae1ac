// The sound slots on OpenAL Soft's null backend (slots, bounds, gains, hostile
// files) and the game's built sounds; the game without any sound device is the
// end-to-end "silent" test.
#include "engine/sound.h"
#include "engine/wav_format.h"
#include "reader_support.h"

#include <AL/al.h>
#include <AL/alut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <tuple>

namespace {

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
    return alGetBufferi(snd.alSampleSet, AL_SIZE, &size), size;
}

class AudioSlots : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartAudioOutput()) << "the null backend always opens"; }
    static void TearDownTestSuite() { StopAudioOutput(); }
    void TearDown() override
    {
        for (Sound& slot : AudioEngine.s)
            slot.Stop(), slot.Destroy();
        ForgetSoundFiles();
    }
    bm::ScratchDir dir;
};

TEST_F(AudioSlots, ARequestReplacesWhatTheSlotHeldAndPlaysAtTwiceItsGain)
{
    AudioEngine.spawn_dynamic(1, Tone(dir, "long.wav", 2.0).c_str(), 2.0f);
    const ALuint first_source = AudioEngine.s[1].alSource;
    AudioEngine.spawn_dynamic(1, Tone(dir, "short.wav", 1.0).c_str(), 0.75f);
    Sound& slot = AudioEngine.s[1];
    EXPECT_TRUE(slot.State(AL_PLAYING) && BufferBytes(slot) == 2 * 22050) << "the slot plays the second file";
    EXPECT_TRUE(first_source == slot.alSource || !alIsSource(first_source));
    AudioEngine.spawn_static(0, Tone(dir, "music.wav", 0.5).c_str(), true);
    ALfloat gain[2] = {};
    ALint looping[2] = {-1, -1};
    for (int i : {0, 1})
        alGetSourcef(AudioEngine.s[i].alSource, AL_GAIN, &gain[i]), alGetSourcei(AudioEngine.s[i].alSource, AL_LOOPING, &looping[i]);
    EXPECT_TRUE(gain[0] == 1.0f && looping[0] == AL_TRUE && gain[1] == 1.5f && looping[1] == AL_FALSE);
}

TEST_F(AudioSlots, OnlySlotsZeroToTwentyFourAreStaticAndZeroToTwentyFiveDynamic)
{
    const std::string tone = Tone(dir, "range.wav", 0.5);
    for (int slot : {-1, 0, 24, 25, 26}) {
        for (bool dynamic : {false, true}) {
            TearDown();
            dynamic ? AudioEngine.spawn_dynamic(slot, tone.c_str(), 1.0f) : AudioEngine.spawn_static(slot, tone.c_str(), false);
            for (int i = 0; i < AudioEngine.kSlots; ++i)
                EXPECT_EQ(AudioEngine.s[i].State(AL_PLAYING), i == slot && (dynamic || slot <= 24)) << slot << dynamic;
        }
    }
}

TEST_F(AudioSlots, MissingOrHostileFilesGiveSilentSlotsAndLeaveTheOthersPlaying)
{
    bm::Bytes header(Wav::kHeaderSize);
    Wav::WriteMonoHeader(header.data(), 22050, 0);
    bm::Bytes liar = header; // four gigabytes of samples in 44 bytes
    Wav::PutU32(liar.data() + 40, 0xFFFFFFF0u);
    bm::Bytes still(Wav::kHeaderSize + 200); // samples played at no rate at all
    Wav::WriteMonoHeader(still.data(), 0, 100);
    const std::string files[] = {"Data/sFx/no_such_click.wav", dir.Write("liar.wav", liar),
                                 dir.Write("cut.wav", bm::Bytes(header.begin(), header.begin() + 20)),
                                 dir.Write("text.wav", "hello"), dir.Write("empty.wav", header),
                                 dir.Write("still.wav", still), dir.path};
    AudioEngine.spawn_dynamic(2, Tone(dir, "ok.wav", 2.0).c_str(), 0.75f);
    for (const std::string& path : files) {
        AudioEngine.spawn_dynamic(7, path.c_str(), 0.5f);
        const Sound& click = AudioEngine.s[7];
        EXPECT_TRUE(click.alBuffer == nullptr && click.alBufferLen == 0 && click.alSource != 0) << path;
        EXPECT_TRUE(BufferBytes(click) == 0 && AudioEngine.s[2].State(AL_PLAYING)) << path;
    }
}

// PCM in the extensible layout many editors write: a 40-byte "fmt " chunk whose
// sub-format names PCM. It plays; cut short, or naming another sub-format, it is silent.
bm::Bytes Extensible(uint16_t sub_format, uint32_t frames)
{
    bm::Bytes bytes(68 + 2 * frames);
    const uint8_t guid_tail[14] = {0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    std::copy_n("RIFF\0\0\0\0WAVEfmt ", 16, bytes.begin());
    Wav::PutU32(bytes.data() + 4, uint32_t(bytes.size() - 8));
    Wav::PutU32(bytes.data() + 16, 40);
    Wav::PutU16(bytes.data() + 20, Wav::kFormatExtensible);
    Wav::PutU16(bytes.data() + 22, 1);
    Wav::PutU32(bytes.data() + 24, 22050);
    Wav::PutU32(bytes.data() + 28, 44100);
    Wav::PutU16(bytes.data() + 32, 2);
    Wav::PutU16(bytes.data() + 34, 16);
    Wav::PutU16(bytes.data() + 36, 22);
    Wav::PutU16(bytes.data() + 38, 16);
    Wav::PutU16(bytes.data() + 44, sub_format);
    std::copy_n(guid_tail, 14, bytes.begin() + 46);
    std::copy_n("data", 4, bytes.begin() + 60);
    Wav::PutU32(bytes.data() + 64, 2 * frames);
    for (uint32_t i = 0; i < frames; ++i)
        Wav::PutU16(bytes.data() + 68 + 2 * i, uint16_t(int16_t(12000.0 * std::sin(0.1 * i))));
    return bytes;
}

TEST_F(AudioSlots, PcmInTheExtensibleLayoutPlaysAndACutOneStaysSilent)
{
    const bm::Bytes pcm = Extensible(Wav::kFormatPcm, 22050);
    const std::pair<bm::Bytes, ALint> files[] = {{pcm, 2 * 22050},
                                                 {bm::Bytes(pcm.begin(), pcm.begin() + 1000), 0},
                                                 {Extensible(3, 22050), 0}};
    for (const auto& [bytes, expected] : files) {
        ForgetSoundFiles();
        AudioEngine.spawn_dynamic(5, dir.Write("extensible.wav", bytes).c_str(), 0.75f);
        EXPECT_TRUE(BufferBytes(AudioEngine.s[5]) == expected && (AudioEngine.s[5].alBuffer != nullptr) == (expected > 0))
            << bytes.size();
    }
}

TEST_F(AudioSlots, AFileIsReadAtItsFirstPlayFoundOrMissingUntilForgotten)
{
    // Each step: what lies on disk (seconds of tone, or none) before the play, then the bytes the slot plays.
    const std::string path = dir.path + "/ding.wav";
    const std::tuple<double, bool, ALint> steps[] = {
        {1.0, false, 2 * 22050}, {0.5, false, 2 * 22050}, {-1, false, 2 * 22050}, // kept, whatever the disk says
        {-1, true, 0}, {0.5, false, 0},                                          // forgotten; the miss is kept too
        {0.5, true, 22050}};
    for (const auto& [seconds, forget, expected] : steps) {
        seconds < 0 ? (void)std::remove(path.c_str()) : (void)Tone(dir, "ding.wav", seconds);
        if (forget)
            ForgetSoundFiles();
        AudioEngine.spawn_dynamic(2, path.c_str(), 0.75f);
        EXPECT_TRUE(BufferBytes(AudioEngine.s[2]) == expected && (expected == 0 || AudioEngine.s[2].State(AL_PLAYING)))
            << seconds << forget;
    }
    // Kept ahead of its first play, a file plays what it held then.
    ForgetSoundFiles();
    KeepSoundFile(Tone(dir, "ahead.wav", 0.5).c_str());
    std::remove((dir.path + "/ahead.wav").c_str());
    AudioEngine.spawn_dynamic(2, (dir.path + "/ahead.wav").c_str(), 0.75f);
    EXPECT_EQ(BufferBytes(AudioEngine.s[2]), 22050);
    // A bounded number of files is kept: one beyond them is read again at every play.
    const std::string first = Tone(dir, "0.wav", 1.0);
    AudioEngine.spawn_dynamic(3, first.c_str(), 1.0f);
    std::vector<std::string> more;
    for (int i = 1; i <= 40; ++i)
        more.push_back(Tone(dir, (std::to_string(i) + ".wav").c_str(), 1.0));
    for (const std::string& p : more)
        AudioEngine.spawn_dynamic(3, p.c_str(), 1.0f);
    Tone(dir, "0.wav", 0.5), Tone(dir, "40.wav", 0.5);
    for (const auto& [p, expected] : {std::pair{first, 2 * 22050}, std::pair{more.back(), 22050}}) {
        AudioEngine.spawn_dynamic(3, p.c_str(), 1.0f);
        EXPECT_EQ(BufferBytes(AudioEngine.s[3]), expected) << p;
    }
}

// A start of the sound loader that failed is tried again at the next sound. Run in
// a fresh copy of this program, where the game has not started the loader yet: the
// test starts it first, so the game's own start is refused; once the test stops it
// again, only a second try by the game lets the next sound load.
TEST_F(AudioSlots, AFailedStartOfTheLoaderIsTriedAgainAtTheNextSound)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string path = Tone(dir, "retry.wav", 1.0);
    auto plays = [&] {
        ForgetSoundFiles();
        AudioEngine.spawn_dynamic(4, path.c_str(), 1.0f);
        return BufferBytes(AudioEngine.s[4]) == 2 * 22050;
    };
    EXPECT_EXIT(
        {
            bool started = alutInitWithoutContext(nullptr, nullptr) == AL_TRUE;
            bool first = plays();
            bool stopped = alutExit() == AL_TRUE;
            std::exit(started && first && stopped && plays() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(AudioSlots, TheBuiltSoundsLoadWholeAndAreLoudButNotClipped)
{
    for (const char* name : {"music", "powerup", "spawn_2", "ding", "spawn", "swoosh", "carrots", "eagle", "click"}) {
        const std::string path = std::string("Data/sFx/") + name + ".wav";
        const bm::Bytes bytes = bm::ReadFile(path);
        Wav::Info info;
        ASSERT_TRUE(Wav::Parse(bytes.data(), bytes.size(), info)) << name;
        AudioEngine.spawn_dynamic(3, path.c_str(), 1.0f);
        EXPECT_EQ(BufferBytes(AudioEngine.s[3]), ALint(info.data_bytes)) << name;
        const std::vector<int16_t> s = Wav::MonoSamples(bytes.data(), info);
        int peak = 0;
        for (int16_t x : s)
            peak = std::max(peak, std::abs(int(x)));
        // Loud but not clipped; the music sits under the effects.
        EXPECT_TRUE(std::string(name) == "music" ? peak < 32767 / 3 : peak > 16000 && peak < 32767) << name;
    }
}

} // namespace
