// The audio layer: OpenAL sources in numbered slots, each filled from a WAV file
// through ALUT, and the output device the game opens at start-up.
#include "engine/sound.h"

#include "engine/startup_order.h"
#include "engine/wav_format.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alut.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

class AudioEngine AudioEngine BM_INIT_ORDER(BM_ORDER_AUDIO);

namespace {

ALCdevice* output_device = nullptr;
ALCcontext* output_context = nullptr;

// alBuffer only tells whether a file was loaded once the samples live in OpenAL;
// it points here rather than at freed memory.
char loaded_marker;

// A sound file is read once, whole, into memory and checked there; only a file
// whose chunks lie inside its real size reaches the WAV loader, which then reads
// the same bytes from memory. Nothing is allocated for a file beyond the size
// the game accepts.
bool ReadSoundFile(const char* fname, std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(fname, "rb");
    if (!file) return false;
    struct stat st;
    bool sound = fstat(fileno(file), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 &&
                 uint64_t(st.st_size) <= Wav::kMaxFileBytes;
    if (sound) {
        bytes.resize(size_t(st.st_size));
        Wav::Info info;
        sound = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size() &&
                Wav::Parse(bytes.data(), bytes.size(), info) && info.data_bytes > 0;
        // The WAV loader knows PCM only by its plain tag; the extensible layout
        // says the same thing at more length, so it is told in the plain way.
        if (sound) Wav::PutU16(bytes.data() + info.format_offset, Wav::kFormatPcm);
    }
    std::fclose(file);
    return sound;
}

// A sound is read from disk and checked at its first play only; later plays hand
// the kept bytes to the WAV loader, so a click costs no disk inside a frame. A
// file that could not be read is remembered too and stays silent without being
// looked for again. The game has a handful of sounds: a bounded number of files
// and bytes is kept, and any beyond them is read at every play as before.
struct KeptSound {
    std::string path;
    bool sound = false;
    std::vector<uint8_t> bytes;
};
constexpr size_t kKeptSounds = 16;
constexpr uint64_t kKeptBytes = 64u * 1024u * 1024u;
KeptSound kept[kKeptSounds];
size_t kept_count = 0;
uint64_t kept_bytes = 0;

// The checked bytes of a sound file, or null when it is missing or no sound;
// `scratch` holds them when they are not kept.
const std::vector<uint8_t>* SoundBytes(const char* fname, std::vector<uint8_t>& scratch) {
    for (size_t i = 0; i < kept_count; ++i)
        if (kept[i].path == fname) return kept[i].sound ? &kept[i].bytes : nullptr;
    const bool sound = ReadSoundFile(fname, scratch);
    if (!sound) scratch.clear();
    if (kept_count == kKeptSounds || kept_bytes + scratch.size() > kKeptBytes) return sound ? &scratch : nullptr;
    KeptSound& k = kept[kept_count++];
    k.path = fname;
    k.sound = sound;
    k.bytes.swap(scratch);
    kept_bytes += k.bytes.size();
    return sound ? &k.bytes : nullptr;
}

// The memory loader needs ALUT to know it is in use; it opens no device of its own.
// A start-up that failed is tried again at the next sound rather than leaving
// the rest of the run silent.
void UseAlut() {
    static bool ready = false;
    if (!ready) ready = alutInitWithoutContext(nullptr, nullptr) == AL_TRUE;
}

} // namespace

Sound::Sound()
    : positional(true), px(0), py(0), pz(0), gain(1.0f), intensity(1.0f), attenuation(1.0f), isMusic(false),
      alFormatBuffer(0), alFreqBuffer(0), alBufferLen(0), alLoop(AL_FALSE), alSource(0), alSampleSet(0),
      alBuffer(nullptr) {}

void Sound::Load(const char* fname, bool looping) {
    if (!fname) return;
    alLoop = looping ? AL_TRUE : AL_FALSE;

    // A file the loader cannot read leaves these as they were: start from nothing
    // so a failed load never hands stale sizes or pointers to OpenAL.
    alFormatBuffer = 0;
    alBuffer = nullptr;
    alBufferLen = 0;
    alFreqBuffer = 0;
    std::vector<uint8_t> scratch;
    if (const std::vector<uint8_t>* file = SoundBytes(fname, scratch)) {
        UseAlut();
        ALfloat rate = 0.0f;
        alBuffer = alutLoadMemoryFromFileImage(file->data(), ALsizei(file->size()), &alFormatBuffer, &alBufferLen, &rate);
        alFreqBuffer = ALsizei(rate);
        // Our files carry no sampler chunk, so none asks to loop by itself.
        alLoop = AL_FALSE;
    }

    // Without a current context the generators write nothing; with one, a failed
    // call must not leave a half-made name behind either.
    alGetError();
    ALuint source = 0, buffer = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) source = 0;
    alGenBuffers(1, &buffer);
    if (alGetError() != AL_NO_ERROR) buffer = 0;
    alSource = source;
    alSampleSet = buffer;

    if (alBuffer) {
        if (alSampleSet && alBufferLen > 0)
            alBufferData(alSampleSet, alFormatBuffer, alBuffer, alBufferLen, alFreqBuffer);
        std::free(alBuffer);
        alBuffer = alBufferLen > 0 ? static_cast<ALvoid*>(&loaded_marker) : nullptr;
    }
    if (alSource && alSampleSet) alSourcei(alSource, AL_BUFFER, ALint(alSampleSet));
    if (alSource) alSourcei(alSource, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
    SetSourceRelative();
}

bool Sound::State(ALenum param) {
    ALint state = 0;
    if (alSource) alGetSourcei(alSource, AL_SOURCE_STATE, &state);
    return state == param;
}

void Sound::Play() {
    if (alSource) alSourcePlay(alSource);
}

void Sound::Stop() {
    if (alSource) alSourceStop(alSource);
}

void Sound::Pause() {
    if (alSource) alSourcePause(alSource);
}

// The names are forgotten as well: OpenAL hands freed names out again, and a
// second Destroy of the same slot must not delete another slot's source.
void Sound::Destroy() {
    if (alSource) alDeleteSources(1, &alSource);
    if (alSampleSet) alDeleteBuffers(1, &alSampleSet);
    alSource = 0;
    alSampleSet = 0;
    alBuffer = nullptr;
}

void Sound::SetGain(float g) {
    if (alSource) alSourcef(alSource, AL_GAIN, 2.0f * g);
}

void Sound::SetProperties(float g, float i, float a, bool p) {
    if (!alSource) return;
    alSourcef(alSource, AL_GAIN, 2.0f * g);
    alSourcef(alSource, AL_REFERENCE_DISTANCE, i);
    alSourcef(alSource, AL_ROLLOFF_FACTOR, a);
    // OpenAL 1.1 knows only "relative or not"; not relative is world placement.
    alSourcei(alSource, AL_SOURCE_RELATIVE, p ? AL_FALSE : AL_TRUE);
}

void Sound::SetPosition(float x, float y, float z) {
    if (alSource) alSource3f(alSource, AL_POSITION, x, y, z);
}

void Sound::SetSourceRelative() {
    if (alSource) alSourcei(alSource, AL_SOURCE_RELATIVE, AL_TRUE);
}

void Sound::Update() {
    if (!alSource) return;
    alSourcei(alSource, AL_SOURCE_RELATIVE, positional ? AL_FALSE : AL_TRUE);
    alSource3f(alSource, AL_POSITION, px, py, pz);
    alSourcef(alSource, AL_GAIN, 2.0f * gain);
    alSourcef(alSource, AL_REFERENCE_DISTANCE, intensity);
    alSourcef(alSource, AL_ROLLOFF_FACTOR, attenuation);
    alSourcef(alSource, AL_PITCH, 1.0f);
}

void Sound::UpdateStatic() { Update(); }

void SetListenerPosition(float x, float y, float z) { alListener3f(AL_POSITION, x, y, z); }

void SetListenerOrientation(float fx, float fy, float fz, float ux, float uy, float uz) {
    const ALfloat orientation[6] = {fx, fy, fz, ux, uy, uz};
    alListenerfv(AL_ORIENTATION, orientation);
}

bool sound_dead(Sound& snd) {
    if (!snd.alBuffer) return true;
    if (snd.State(AL_PLAYING)) return false;
    snd.Stop();
    snd.Destroy();
    return true;
}

AudioEngine::AudioEngine() : initialize_engine(false) {}

void AudioEngine::initialize() { initialize_engine = true; }

void AudioEngine::spawn_static(int buffer, const char* file, bool loop) {
    initialize();
    if (buffer < 0 || buffer > 24) return;
    Sound& slot = s[buffer];
    slot.Stop();
    slot.Destroy();
    slot.Load(file, loop);
    slot.Play();
}

void AudioEngine::spawn_dynamic(int index, const char* file, float g) {
    if (index < 0 || index >= kSlots) return;
    Sound& slot = s[index];
    slot.Stop();
    slot.Destroy();
    slot.Load(file, false);
    slot.SetProperties(g, 1.0f, 1.0f, true);
    slot.Play();
}

void KeepSoundFile(const char* file) {
    std::vector<uint8_t> scratch;
    if (file) SoundBytes(file, scratch);
}

void ForgetSoundFiles() {
    for (size_t i = 0; i < kept_count; ++i) {
        kept[i].path.clear();
        std::vector<uint8_t>().swap(kept[i].bytes);
    }
    kept_count = 0;
    kept_bytes = 0;
}

bool StartAudioOutput() {
    // The output is shut down at exit, so the audio library has no open device
    // to complain about on stderr as the process ends.
    static bool close_at_exit = false;
    if (!close_at_exit) close_at_exit = std::atexit(StopAudioOutput) == 0;
    if (!output_device) {
        output_device = alcOpenDevice(nullptr);
        if (output_device) {
            output_context = alcCreateContext(output_device, nullptr);
            if (!output_context || !alcMakeContextCurrent(output_context)) {
                if (output_context) alcDestroyContext(output_context);
                alcCloseDevice(output_device);
                output_context = nullptr;
                output_device = nullptr;
            }
        }
    }
    AudioEngine.initialize();
    return output_context != nullptr;
}

void StopAudioOutput() {
    for (Sound& slot : AudioEngine.s) {
        slot.Stop();
        slot.Destroy();
    }
    for (Sound& sound : AudioEngine.d) {
        sound.Stop();
        sound.Destroy();
    }
    if (output_context) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(output_context);
    }
    if (output_device) alcCloseDevice(output_device);
    output_context = nullptr;
    output_device = nullptr;
}
