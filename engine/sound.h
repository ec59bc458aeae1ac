// OpenAL sound slots: one looping music track and one-shot effects, each slot
// refilled from its WAV file when played, the file read from disk once. With no
// device every call is silent.
#pragma once

#include <AL/al.h>
#include <list>

class Sound {
public:
    Sound();

    void Load(const char* fname, bool looping);
    bool State(ALenum param);
    void Play();
    void Stop();
    void Pause();
    void Destroy();
    void SetGain(float gain);
    void SetProperties(float gain, float intensity, float attenuation, bool positional);
    void SetPosition(float x, float y, float z);
    void SetSourceRelative();
    void Update();
    void UpdateStatic();

    bool positional;
    float px, py, pz;
    float gain;
    float intensity;
    float attenuation;
    bool isMusic;
    ALenum alFormatBuffer;
    ALsizei alFreqBuffer;
    ALsizei alBufferLen;
    ALboolean alLoop;
    ALuint alSource;
    ALuint alSampleSet;
    ALvoid* alBuffer;
};

void SetListenerPosition(float x, float y, float z);
void SetListenerOrientation(float fx, float fy, float fz, float ux, float uy, float uz);
bool sound_dead(Sound& snd);

class AudioEngine {
public:
    static constexpr int kSlots = 26;

    AudioEngine();
    void initialize();
    void spawn_static(int buffer, const char* file, bool loop);
    void spawn_dynamic(int index, const char* file, float gain);

    Sound s[kSlots];
    std::list<Sound> d;
    bool initialize_engine;
};

// The one engine of the game, named like its class as the game calls it.
extern class AudioEngine AudioEngine;

// Forgets the sound files read so far, found or missing: the next play of each
// reads it from disk again. For whoever changes sound files while the game runs.
void ForgetSoundFiles();
// Reads and checks a sound file ahead of its first play and keeps it as that play
// would, so that the play itself opens no file.
void KeepSoundFile(const char* file);

// Opens the default output device and makes a context current; false when the
// machine has no sound device (the game then runs silently). Arranges for
// StopAudioOutput to run at exit.
bool StartAudioOutput();
// Releases every slot, the context and the device, so a test can start over and
// the process ends with nothing open. Harmless when called again.
void StopAudioOutput();
