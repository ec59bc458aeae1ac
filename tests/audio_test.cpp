// The sound slots on a live OpenAL device (OpenAL Soft's null backend): replacing,
// ignoring bad slot numbers, finishing, and surviving missing or hostile files.
#include "engine/sound.h"
#include "engine/wav_format.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string TempDir() {
    static std::string dir;
    if (dir.empty()) {
        char pattern[] = "/tmp/bm_audio_XXXXXX";
        const char* made = mkdtemp(pattern);
        dir = made ? made : "/tmp";
    }
    return dir;
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// A mono 16-bit tone of the given length, written with the game's own WAV layout.
std::string Tone(const char* name, double seconds, double hz) {
    const uint32_t rate = 22050;
    const uint32_t frames = uint32_t(seconds * rate);
    std::vector<uint8_t> bytes(Wav::kHeaderSize + 2 * frames);
    Wav::WriteMonoHeader(bytes.data(), rate, frames);
    for (uint32_t i = 0; i < frames; ++i) {
        const double x = 12000.0 * std::sin(6.283185307 * hz * i / rate);
        Wav::PutU16(bytes.data() + Wav::kHeaderSize + 2 * i, uint16_t(int16_t(x)));
    }
    const std::string path = TempDir() + "/" + name;
    WriteFile(path, bytes);
    return path;
}

ALint BufferBytes(const Sound& snd) {
    ALint size = -1;
    alGetBufferi(snd.alSampleSet, AL_SIZE, &size);
    return size;
}

bool WaitUntilStopped(Sound& snd) {
    for (int i = 0; i < 300 && snd.State(AL_PLAYING); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return !snd.State(AL_PLAYING);
}

class AudioSlots : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartAudioOutput()) << "the null backend should always open"; }
    static void TearDownTestSuite() { StopAudioOutput(); }
    void TearDown() override {
        for (Sound& slot : AudioEngine.s) {
            slot.Stop();
            slot.Destroy();
        }
    }
};

TEST_F(AudioSlots, SecondRequestOnASlotCutsOffTheFirst) {
    const std::string powerup = Tone("long.wav", 2.0, 660);
    const std::string regrowth = Tone("short.wav", 1.0, 330);
    AudioEngine.spawn_dynamic(1, powerup.c_str(), 2.0f);
    const ALuint first_source = AudioEngine.s[1].alSource;
    const ALuint first_buffer = AudioEngine.s[1].alSampleSet;
    ASSERT_NE(first_source, 0u);
    EXPECT_TRUE(AudioEngine.s[1].State(AL_PLAYING));

    AudioEngine.spawn_dynamic(1, regrowth.c_str(), 0.75f);
    const Sound& slot = AudioEngine.s[1];
    EXPECT_TRUE(AudioEngine.s[1].State(AL_PLAYING));
    EXPECT_EQ(BufferBytes(slot), 2 * 22050) << "the slot must now hold the second file";
    // Whatever names OpenAL hands out again, exactly one source and one buffer remain.
    if (first_source != slot.alSource) {
        EXPECT_FALSE(alIsSource(first_source));
    }
    if (first_buffer != slot.alSampleSet) {
        EXPECT_FALSE(alIsBuffer(first_buffer));
    }
    for (int i = 0; i < AudioEngine.kSlots; ++i) {
        if (i != 1) {
            EXPECT_EQ(AudioEngine.s[i].alSource, 0u) << "slot " << i;
        }
    }
}

TEST_F(AudioSlots, EffectsPlayPositionedAtTwiceTheirGainMusicLoopsAtDefaultGain) {
    const std::string tone = Tone("gain.wav", 0.5, 440);
    AudioEngine.spawn_dynamic(4, tone.c_str(), 0.75f);
    ALfloat gain = 0, reference = 0, rolloff = 0;
    ALint relative = -1, looping = -1;
    alGetSourcef(AudioEngine.s[4].alSource, AL_GAIN, &gain);
    alGetSourcef(AudioEngine.s[4].alSource, AL_REFERENCE_DISTANCE, &reference);
    alGetSourcef(AudioEngine.s[4].alSource, AL_ROLLOFF_FACTOR, &rolloff);
    alGetSourcei(AudioEngine.s[4].alSource, AL_SOURCE_RELATIVE, &relative);
    alGetSourcei(AudioEngine.s[4].alSource, AL_LOOPING, &looping);
    EXPECT_FLOAT_EQ(gain, 1.5f);
    EXPECT_FLOAT_EQ(reference, 1.0f);
    EXPECT_FLOAT_EQ(rolloff, 1.0f);
    EXPECT_EQ(relative, AL_FALSE);
    EXPECT_EQ(looping, AL_FALSE);

    AudioEngine.spawn_static(0, tone.c_str(), true);
    alGetSourcef(AudioEngine.s[0].alSource, AL_GAIN, &gain);
    alGetSourcei(AudioEngine.s[0].alSource, AL_SOURCE_RELATIVE, &relative);
    alGetSourcei(AudioEngine.s[0].alSource, AL_LOOPING, &looping);
    EXPECT_FLOAT_EQ(gain, 1.0f);
    EXPECT_EQ(relative, AL_TRUE);
    EXPECT_EQ(looping, AL_TRUE);
    EXPECT_TRUE(AudioEngine.s[0].State(AL_PLAYING));
    EXPECT_EQ(AudioEngine.s[0].alLoop, AL_FALSE) << "the file has no sampler chunk, so its loop flag is false";
}

TEST_F(AudioSlots, SlotNumbersOutsideTheTableDoNothing) {
    const std::string tone = Tone("range.wav", 0.5, 440);
    AudioEngine.initialize_engine = false;
    AudioEngine.spawn_static(25, tone.c_str(), true);
    EXPECT_TRUE(AudioEngine.initialize_engine) << "spawn_static initialises even when it ignores the slot";
    AudioEngine.spawn_static(-1, tone.c_str(), true);
    AudioEngine.spawn_dynamic(-1, tone.c_str(), 1.0f);
    AudioEngine.spawn_dynamic(26, tone.c_str(), 1.0f);
    AudioEngine.spawn_dynamic(1 << 30, tone.c_str(), 1.0f);
    for (int i = 0; i < AudioEngine.kSlots; ++i) {
        EXPECT_EQ(AudioEngine.s[i].alSource, 0u) << "slot " << i;
        EXPECT_EQ(AudioEngine.s[i].alBuffer, nullptr) << "slot " << i;
    }
    // The edges of the valid ranges do play.
    AudioEngine.spawn_static(24, tone.c_str(), false);
    AudioEngine.spawn_dynamic(25, tone.c_str(), 1.0f);
    EXPECT_TRUE(AudioEngine.s[24].State(AL_PLAYING));
    EXPECT_TRUE(AudioEngine.s[25].State(AL_PLAYING));
    EXPECT_TRUE(AudioEngine.d.empty());
}

TEST_F(AudioSlots, SoundDeadOnEmptyPlayingAndFinishedSlots) {
    Sound never_loaded;
    EXPECT_TRUE(sound_dead(never_loaded));
    EXPECT_EQ(never_loaded.alSource, 0u);

    AudioEngine.spawn_dynamic(2, Tone("long_dead.wav", 3.0, 880).c_str(), 0.75f);
    EXPECT_FALSE(sound_dead(AudioEngine.s[2]));
    EXPECT_NE(AudioEngine.s[2].alSource, 0u) << "a playing sound keeps its source";

    AudioEngine.spawn_dynamic(7, Tone("blip.wav", 0.03, 2000).c_str(), 0.5f);
    Sound& click = AudioEngine.s[7];
    const ALuint source = click.alSource;
    ASSERT_TRUE(WaitUntilStopped(click));
    EXPECT_TRUE(click.State(AL_STOPPED));
    EXPECT_TRUE(sound_dead(click));
    EXPECT_EQ(click.alBuffer, nullptr);
    EXPECT_FALSE(alIsSource(source)) << "a finished sound gives its source back";
    EXPECT_TRUE(AudioEngine.s[2].State(AL_PLAYING)) << "other slots play on";
}

TEST_F(AudioSlots, DestroyingASlotTwiceNeverTouchesAnotherSlot) {
    const std::string tone = Tone("twice.wav", 1.0, 500);
    AudioEngine.spawn_dynamic(2, tone.c_str(), 1.0f);
    AudioEngine.s[2].Stop();
    AudioEngine.s[2].Destroy();
    // The freed names are likely to be handed straight to the next slot.
    AudioEngine.spawn_dynamic(3, tone.c_str(), 1.0f);
    AudioEngine.s[2].Stop();
    AudioEngine.s[2].Destroy();
    EXPECT_TRUE(alIsSource(AudioEngine.s[3].alSource));
    EXPECT_TRUE(AudioEngine.s[3].State(AL_PLAYING));
}

TEST_F(AudioSlots, MissingOrHostileFilesGiveSilentSlots) {
    const std::string dir = TempDir();
    std::vector<uint8_t> header(Wav::kHeaderSize);
    Wav::WriteMonoHeader(header.data(), 22050, 0);

    // Claims four gigabytes of samples in a 44-byte file.
    std::vector<uint8_t> liar = header;
    Wav::PutU32(liar.data() + 40, 0xFFFFFFF0u);
    WriteFile(dir + "/liar.wav", liar);
    // Cut off in the middle of its format chunk.
    WriteFile(dir + "/cut.wav", std::vector<uint8_t>(header.begin(), header.begin() + 20));
    // Not a WAV file at all.
    WriteFile(dir + "/text.wav", std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o'});
    // A valid header with no samples.
    WriteFile(dir + "/empty.wav", header);

    const std::string tone = Tone("ok.wav", 1.0, 440);
    AudioEngine.spawn_dynamic(2, tone.c_str(), 0.75f);
    for (const std::string name : {"Data/sFx/no_such_click.wav", "liar.wav", "cut.wav", "text.wav", "empty.wav"}) {
        const std::string path = name[0] == 'D' ? name : dir + "/" + name;
        AudioEngine.spawn_dynamic(7, path.c_str(), 0.5f);
        const Sound& click = AudioEngine.s[7];
        EXPECT_EQ(click.alBuffer, nullptr) << name;
        EXPECT_EQ(click.alBufferLen, 0) << name;
        EXPECT_NE(click.alSource, 0u) << name << ": the slot still gets its (silent) source";
        ALint attached = -1;
        alGetSourcei(click.alSource, AL_BUFFER, &attached);
        EXPECT_EQ(ALuint(attached), click.alSampleSet) << name;
        EXPECT_EQ(BufferBytes(click), 0) << name;
        EXPECT_TRUE(AudioEngine.s[2].State(AL_PLAYING)) << name << " must not disturb other slots";
    }
    AudioEngine.spawn_static(0, nullptr, true);
    EXPECT_EQ(AudioEngine.s[0].alSource, 0u) << "a null path loads nothing";
}

TEST_F(AudioSlots, UpdatePushesTheRecordAndListenerCallsTakeEffect) {
    AudioEngine.spawn_dynamic(5, Tone("update.wav", 0.5, 440).c_str(), 1.0f);
    Sound& snd = AudioEngine.s[5];
    snd.positional = false;
    snd.px = 1;
    snd.py = 2;
    snd.pz = 3;
    snd.gain = 0.25f;
    snd.intensity = 4;
    snd.attenuation = 0.5f;
    snd.UpdateStatic();
    ALfloat pos[3] = {0, 0, 0}, gain = 0, reference = 0, rolloff = 0;
    ALint relative = -1;
    alGetSource3f(snd.alSource, AL_POSITION, &pos[0], &pos[1], &pos[2]);
    alGetSourcef(snd.alSource, AL_GAIN, &gain);
    alGetSourcef(snd.alSource, AL_REFERENCE_DISTANCE, &reference);
    alGetSourcef(snd.alSource, AL_ROLLOFF_FACTOR, &rolloff);
    alGetSourcei(snd.alSource, AL_SOURCE_RELATIVE, &relative);
    EXPECT_EQ(pos[0], 1.0f);
    EXPECT_EQ(pos[2], 3.0f);
    EXPECT_FLOAT_EQ(gain, 0.5f);
    EXPECT_FLOAT_EQ(reference, 4.0f);
    EXPECT_FLOAT_EQ(rolloff, 0.5f);
    EXPECT_EQ(relative, AL_TRUE);

    snd.SetGain(0.3f);
    alGetSourcef(snd.alSource, AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.6f);
    snd.Pause();
    EXPECT_TRUE(snd.State(AL_PAUSED));

    SetListenerPosition(0, 1, 2);
    SetListenerOrientation(0, 0, -1, 0, 1, 0);
    ALfloat listener[3] = {-1, -1, -1}, orientation[6] = {};
    alGetListener3f(AL_POSITION, &listener[0], &listener[1], &listener[2]);
    alGetListenerfv(AL_ORIENTATION, orientation);
    EXPECT_EQ(listener[2], 2.0f);
    EXPECT_EQ(orientation[2], -1.0f);
    EXPECT_EQ(orientation[4], 1.0f);
    SetListenerPosition(0, 0, 0);
}

} // namespace
