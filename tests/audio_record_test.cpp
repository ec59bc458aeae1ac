// Plays the built "ding" through OpenAL Soft's wave-file backend and finds the
// bell in what the device actually put out.
#include "engine/sound.h"
#include "engine/wav_format.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

namespace {

// Energy of one frequency in a stretch of samples (Goertzel), per sample.
double Power(const std::vector<float>& x, size_t from, size_t count, double hz, double rate) {
    const double coefficient = 2.0 * std::cos(6.283185307179586 * hz / rate);
    double s1 = 0.0, s2 = 0.0;
    for (size_t i = from; i < from + count && i < x.size(); ++i) {
        const double s0 = x[i] + coefficient * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return (s1 * s1 + s2 * s2 - coefficient * s1 * s2) / double(count * count);
}

// The device writes its own RIFF flavour: only the "data" chunk is looked for.
std::vector<float> RecordedSamples(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<float> samples;
    for (size_t pos = 12; bytes.size() >= 12 && Wav::TagIs(bytes.data(), "RIFF") && bytes.size() - pos >= 8;) {
        const uint32_t length = Wav::GetU32(bytes.data() + pos + 4);
        const size_t body = pos + 8, available = bytes.size() - body;
        if (Wav::TagIs(bytes.data() + pos, "data")) {
            // The device may stop before patching the length in; take what is there.
            for (size_t i = 0; i + 1 < std::min<size_t>(length ? length : available, available); i += 2)
                samples.push_back(int16_t(Wav::GetU16(bytes.data() + body + i)) / 32768.0f);
            break;
        }
        if (length > available) break;
        pos = body + length + (length & 1u);
    }
    return samples;
}

TEST(AudioRecording, TheDingReachesTheOutputAsABell) {
    char pattern[] = "/tmp/bm_record_XXXXXX";
    const char* dir = mkdtemp(pattern);
    ASSERT_NE(dir, nullptr);
    const std::string conf = std::string(dir) + "/alsoft.conf", recording = std::string(dir) + "/out.wav";
    std::ofstream(conf) << "[general]\ndrivers=wave\nchannels=mono\nsample-type=int16\nfrequency=44100\n"
                        << "[wave]\nfile=" << recording << "\n";
    setenv("ALSOFT_CONF", conf.c_str(), 1);
    unsetenv("ALSOFT_DRIVERS");  // the suite's null backend would override the file
    ASSERT_TRUE(StartAudioOutput());

    AudioEngine.spawn_dynamic(2, "Data/sFx/ding.wav", 0.75f);
    Sound& ding = AudioEngine.s[2];
    ASSERT_NE(ding.alBuffer, nullptr) << "Data/sFx/ding.wav should have been built";
    for (int i = 0; i < 400 && ding.State(AL_PLAYING); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(ding.State(AL_PLAYING));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    StopAudioOutput();

    const std::vector<float> x = RecordedSamples(recording);
    ASSERT_GT(x.size(), 44100u / 2) << "the device recorded less than half a second";
    size_t onset = x.size();
    float peak = 0.0f;
    for (size_t i = 0; i < x.size(); ++i) {
        if (onset == x.size() && std::fabs(x[i]) > 0.02f) onset = i;
        peak = std::max(peak, std::fabs(x[i]));
    }
    ASSERT_LT(onset, x.size()) << "nothing but silence was recorded";
    // Twice 0.75 is capped at full gain: the bell comes out as loud as it was made.
    EXPECT_GT(peak, 0.4f);
    EXPECT_LT(peak, 1.0f);

    // The bell rings at G6 (about 1568 Hz): 0.1 s after the strike it stands far above other pitches.
    const size_t window = 4410, at = onset + 2205;
    const double bell = Power(x, at, window, 1568.0, 44100.0);
    for (double other : {440.0, 1000.0, 2200.0, 5000.0})
        EXPECT_GT(bell, 100.0 * Power(x, at, window, other, 44100.0)) << other << " Hz";
    // And it decays like a struck bell: quieter half a second on.
    EXPECT_LT(Power(x, onset + 22050, window, 1568.0, 44100.0), 0.5 * bell);
    std::remove(recording.c_str());
    std::remove(conf.c_str());
    rmdir(dir);
}

} // namespace
