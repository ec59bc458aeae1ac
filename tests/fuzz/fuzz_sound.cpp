// A hostile WAV file through the sound slot that loads it, on OpenAL Soft's null
// device: the file is checked in memory and only then handed to the WAV loader.
// Every run forgets the sound files read before, so each input is read afresh.
#include "engine/sound.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("ALSOFT_DRIVERS", "null", 1);
    StartAudioOutput();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ForgetSoundFiles();
    AudioEngine.spawn_dynamic(1, fuzz::WriteFile("sound.wav", data, size).c_str(), 1.0f);
    AudioEngine.s[1].Stop();
    AudioEngine.s[1].Destroy();
    return 0;
}
