// The sound slots on a live OpenAL device (OpenAL Soft's null backend): replacing,
// ignoring bad slot numbers, finishing, and surviving missing or hostile files.
#include "engine/sound.h"
#include "engine/wav_format.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::string kDir = [] {
    char pattern[] = "/tmp/bm_audio_XXXXXX";
    return std::string(mkdtemp(pattern) ? pattern : "/tmp");
}();

std::string WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = kDir + "/" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    EXPECT_NE(f, nullptr);
    if (f) std::fwrite(bytes.data(), 1, bytes.size(), f), std::fclose(f);
    return path;
}

// A mono 16-bit tone of the given length, written with the game's own WAV layout.
std::string Tone(const char* name, double seconds, double hz) {
    const uint32_t rate = 22050, frames = uint32_t(seconds * rate);
    std::vector<uint8_t> bytes(Wav::kHeaderSize + 2 * frames);
    Wav::WriteMonoHeader(bytes.data(), rate, frames);
    for (uint32_t i = 0; i < frames; ++i)
        Wav::PutU16(bytes.data() + Wav::kHeaderSize + 2 * i, uint16_t(int16_t(12000.0 * std::sin(6.283185307 * hz * i / rate))));
    return WriteFile(name, bytes);
}

ALint BufferBytes(const Sound& snd) {
    ALint size = -1;
    alGetBufferi(snd.alSampleSet, AL_SIZE, &size);
    return size;
}

void ExpectOnlySlotsHoldSources(std::initializer_list<int> used) {
    for (int i = 0; i < AudioEngine.kSlots; ++i)
        EXPECT_TRUE(std::find(used.begin(), used.end(), i) != used.end() || AudioEngine.s[i].alSource == 0u) << i;
}

class AudioSlots : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartAudioOutput()) << "the null backend should always open"; }
    static void TearDownTestSuite() { StopAudioOutput(); }
    void TearDown() override {
        for (Sound& slot : AudioEngine.s) slot.Stop(), slot.Destroy();
    }
};

TEST_F(AudioSlots, SecondRequestOnASlotCutsOffTheFirst) {
    AudioEngine.spawn_dynamic(1, Tone("long.wav", 2.0, 660).c_str(), 2.0f);
    const ALuint first_source = AudioEngine.s[1].alSource, first_buffer = AudioEngine.s[1].alSampleSet;
    ASSERT_NE(first_source, 0u);
    AudioEngine.spawn_dynamic(1, Tone("short.wav", 1.0, 330).c_str(), 0.75f);
    Sound& slot = AudioEngine.s[1];
    EXPECT_TRUE(slot.State(AL_PLAYING));
    EXPECT_EQ(BufferBytes(slot), 2 * 22050) << "the slot must now hold the second file";
    // Whatever names OpenAL hands out again, exactly one source and one buffer remain.
    EXPECT_TRUE(first_source == slot.alSource || !alIsSource(first_source));
    EXPECT_TRUE(first_buffer == slot.alSampleSet || !alIsBuffer(first_buffer));
    ExpectOnlySlotsHoldSources({1});
}

TEST_F(AudioSlots, EffectsPlayAtTwiceTheirGainAndMusicLoops) {
    const std::string tone = Tone("gain.wav", 0.5, 440);
    AudioEngine.spawn_dynamic(4, tone.c_str(), 0.75f);
    AudioEngine.spawn_static(0, tone.c_str(), true);
    ALfloat gain[2] = {};
    ALint looping[2] = {-1, -1};
    for (int i : {0, 1}) {
        alGetSourcef(AudioEngine.s[i ? 4 : 0].alSource, AL_GAIN, &gain[i]);
        alGetSourcei(AudioEngine.s[i ? 4 : 0].alSource, AL_LOOPING, &looping[i]);
    }
    EXPECT_FLOAT_EQ(gain[0], 1.0f);
    EXPECT_EQ(looping[0], AL_TRUE);
    EXPECT_FLOAT_EQ(gain[1], 1.5f);
    EXPECT_EQ(looping[1], AL_FALSE);
}

TEST_F(AudioSlots, SlotNumbersOutsideTheTableDoNothing) {
    const std::string tone = Tone("range.wav", 0.5, 440);
    AudioEngine.spawn_static(25, tone.c_str(), true);
    AudioEngine.spawn_static(-1, tone.c_str(), true);
    for (int slot : {-1, 26, 1 << 30}) AudioEngine.spawn_dynamic(slot, tone.c_str(), 1.0f);
    ExpectOnlySlotsHoldSources({});
    for (const Sound& slot : AudioEngine.s) EXPECT_EQ(slot.alBuffer, nullptr);
    // The edges of the valid ranges do play.
    AudioEngine.spawn_static(24, tone.c_str(), false);
    AudioEngine.spawn_dynamic(25, tone.c_str(), 1.0f);
    EXPECT_TRUE(AudioEngine.s[24].State(AL_PLAYING));
    EXPECT_TRUE(AudioEngine.s[25].State(AL_PLAYING));
}

TEST_F(AudioSlots, SoundDeadOnEmptyPlayingAndFinishedSlots) {
    Sound never_loaded;
    EXPECT_TRUE(sound_dead(never_loaded));
    AudioEngine.spawn_dynamic(2, Tone("long_dead.wav", 3.0, 880).c_str(), 0.75f);
    EXPECT_FALSE(sound_dead(AudioEngine.s[2]));
    EXPECT_NE(AudioEngine.s[2].alSource, 0u) << "a playing sound keeps its source";

    AudioEngine.spawn_dynamic(7, Tone("blip.wav", 0.03, 2000).c_str(), 0.5f);
    Sound& click = AudioEngine.s[7];
    const ALuint source = click.alSource;
    for (int i = 0; i < 300 && click.State(AL_PLAYING); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(click.State(AL_STOPPED));
    EXPECT_TRUE(sound_dead(click));
    EXPECT_EQ(click.alBuffer, nullptr);
    EXPECT_FALSE(alIsSource(source)) << "a finished sound gives its source back";
    EXPECT_TRUE(AudioEngine.s[2].State(AL_PLAYING)) << "other slots play on";

    // Destroying a slot twice never frees names that another slot took over.
    AudioEngine.s[2].Stop(), AudioEngine.s[2].Destroy();
    AudioEngine.spawn_dynamic(3, Tone("twice.wav", 1.0, 500).c_str(), 1.0f);
    AudioEngine.s[2].Stop(), AudioEngine.s[2].Destroy();
    EXPECT_TRUE(alIsSource(AudioEngine.s[3].alSource));
    EXPECT_TRUE(AudioEngine.s[3].State(AL_PLAYING));
}

TEST_F(AudioSlots, MissingOrHostileFilesGiveSilentSlots) {
    std::vector<uint8_t> header(Wav::kHeaderSize);
    Wav::WriteMonoHeader(header.data(), 22050, 0);
    std::vector<uint8_t> liar = header;  // claims four gigabytes of samples in 44 bytes
    Wav::PutU32(liar.data() + 40, 0xFFFFFFF0u);
    const std::string files[] = {"Data/sFx/no_such_click.wav", WriteFile("liar.wav", liar),
                                 WriteFile("cut.wav", std::vector<uint8_t>(header.begin(), header.begin() + 20)),
                                 WriteFile("text.wav", {'h', 'e', 'l', 'l', 'o'}), WriteFile("empty.wav", header)};
    AudioEngine.spawn_dynamic(2, Tone("ok.wav", 1.0, 440).c_str(), 0.75f);
    for (const std::string& path : files) {
        AudioEngine.spawn_dynamic(7, path.c_str(), 0.5f);
        const Sound& click = AudioEngine.s[7];
        EXPECT_EQ(click.alBuffer, nullptr) << path;
        EXPECT_EQ(click.alBufferLen, 0) << path;
        ASSERT_NE(click.alSource, 0u) << path << ": the slot still gets its (silent) source";
        ALint attached = -1;
        alGetSourcei(click.alSource, AL_BUFFER, &attached);
        EXPECT_EQ(ALuint(attached), click.alSampleSet) << path;
        EXPECT_EQ(BufferBytes(click), 0) << path;
        EXPECT_TRUE(AudioEngine.s[2].State(AL_PLAYING)) << path << " must not disturb other slots";
    }
    AudioEngine.spawn_static(0, nullptr, true);
    EXPECT_EQ(AudioEngine.s[0].alSource, 0u) << "a null path loads nothing";
}

} // namespace
