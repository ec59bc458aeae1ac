// The game on a machine without a sound device: every sound call must be
// harmless, leave no OpenAL names behind and let play go on.
#include "engine/sound.h"
#include "engine/wav_format.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

TEST(AudioWithoutDevice, EverySoundCallIsHarmless) {
    // No backend of this name exists, so no device opens and no context is current.
    setenv("ALSOFT_DRIVERS", "no-such-backend", 1);
    EXPECT_FALSE(StartAudioOutput());
    EXPECT_TRUE(AudioEngine.initialize_engine) << "the engine is initialised with or without a device";

    const std::string path = "/tmp/bm_silent_tone.wav";
    std::vector<uint8_t> bytes(Wav::kHeaderSize + 2000, 0);
    Wav::WriteMonoHeader(bytes.data(), 22050, 1000);
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f), std::fclose(f);

    AudioEngine.spawn_static(0, path.c_str(), true);
    for (int slot = 1; slot <= 7; ++slot) AudioEngine.spawn_dynamic(slot, path.c_str(), 1.5f);
    AudioEngine.spawn_dynamic(1, "Data/sFx/missing.wav", 2.0f);
    for (Sound& slot : AudioEngine.s) {
        EXPECT_TRUE(slot.alSource == 0u && slot.alSampleSet == 0u) << "no slot may hold a made-up name";
        EXPECT_FALSE(slot.State(AL_PLAYING));
        slot.Update();
        slot.SetGain(1);
        slot.SetPosition(1, 2, 3);
        slot.Pause();
        EXPECT_TRUE(sound_dead(slot));
        EXPECT_EQ(slot.alBuffer, nullptr);
    }
    SetListenerPosition(0, 0, 0);
    SetListenerOrientation(0, 0, -1, 0, 1, 0);
    StopAudioOutput();
    std::remove(path.c_str());
}

} // namespace
