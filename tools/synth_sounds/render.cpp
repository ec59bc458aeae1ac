// The synthesiser proper: band-limited oscillators, held noise, ADSR envelopes,
// glides, one-pole and resonant filters, mixed and levelled into 16-bit samples.
#include "tools/synth_sounds/render.h"

#include <algorithm>
#include <cmath>

namespace Synth {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// A small fixed-seed generator so every build writes the same bytes.
struct Random {
    uint32_t state;
    explicit Random(uint32_t seed) : state(seed ? seed : 1u) {}
    double Next() {  // uniform in [-1, 1)
        state = state * 1664525u + 1013904223u;
        return double(state >> 8) / double(1u << 23) - 1.0;
    }
};

// Softens the jump of a naive square or saw at its edges so high notes do not
// fold back into the audible band.
double PolyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

double Oscillator(Wave wave, double phase, double dt, double duty) {
    switch (wave) {
    case Wave::Sine: return std::sin(kTwoPi * phase);
    case Wave::Triangle: return 1.0 - 4.0 * std::fabs(phase - 0.5);
    case Wave::Saw: return 2.0 * phase - 1.0 - PolyBlep(phase, dt);
    case Wave::Square: {
        double v = phase < duty ? 1.0 : -1.0;
        v += PolyBlep(phase, dt);
        double shifted = phase - duty;
        if (shifted < 0.0) shifted += 1.0;
        return v - PolyBlep(shifted, dt);
    }
    case Wave::Noise: break;
    }
    return 0.0;
}

// Exponential-feeling segments: fast change first, settling gently, as struck or
// blown things do. `u` runs from 0 to 1 over the segment.
double Settle(double u) {
    const double k = 5.0;
    return (1.0 - std::exp(-k * u)) / (1.0 - std::exp(-k));
}

double Envelope(const Voice& v, double t) {
    double level;
    if (t < v.attack) level = t / v.attack;
    else if (t < v.attack + v.decay) level = 1.0 - (1.0 - v.sustain) * Settle((t - v.attack) / v.decay);
    else level = v.sustain;
    if (t >= v.hold) {
        // Release from wherever the gate closed.
        const double at_gate = v.hold < v.attack ? v.hold / v.attack
                              : v.hold < v.attack + v.decay
                                  ? 1.0 - (1.0 - v.sustain) * Settle((v.hold - v.attack) / v.decay)
                                  : v.sustain;
        const double u = v.release > 0.0 ? (t - v.hold) / v.release : 1.0;
        level = u >= 1.0 ? 0.0 : at_gate * (1.0 - Settle(u));
    }
    return level;
}

double Sweep(double from, double to, double u) {
    if (from <= 0.0 || to <= 0.0) return from + (to - from) * u;
    return from * std::pow(to / from, u);
}

// Cytomic's trapezoidal state-variable filter, band output scaled to unity peak.
struct BandPass {
    double ic1 = 0.0, ic2 = 0.0;
    double Step(double x, double cutoff, double q, double rate) {
        const double g = std::tan(0.5 * kTwoPi * std::min(cutoff, 0.45 * rate) / rate);
        const double k = 1.0 / q;
        const double a1 = 1.0 / (1.0 + g * (g + k));
        const double a2 = g * a1;
        const double a3 = g * a2;
        const double v3 = x - ic2;
        const double v1 = a1 * ic1 + a2 * v3;
        const double v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2.0 * v1 - ic1;
        ic2 = 2.0 * v2 - ic2;
        return k * v1;
    }
};

double OnePoleCoefficient(double cutoff, double rate) {
    return 1.0 - std::exp(-kTwoPi * std::min(cutoff, 0.49 * rate) / rate);
}

void RenderVoice(const Voice& v, int rate, Random& random, std::vector<double>& mix, bool loop) {
    const double length = v.hold + v.release;
    const size_t count = size_t(length * rate) + 1;
    const size_t first = size_t(std::llround(v.start * rate));
    const double glide = v.pitch_time > 0.0 ? v.pitch_time : length;
    double phase = 0.0, fm_phase = 0.0;
    double held = 0.0, hold_phase = 1.0;
    double low = 0.0, high_low = 0.0;
    BandPass band;
    for (size_t i = 0; i < count; ++i) {
        const double t = double(i) / rate;
        const double u = std::min(1.0, t / length);
        double hz = Sweep(v.pitch_from, v.pitch_to, std::min(1.0, t / glide));
        if (v.vibrato_depth > 0.0) {
            const double depth = v.vibrato_fade > 0.0 ? v.vibrato_depth * std::exp(-t / v.vibrato_fade) : v.vibrato_depth;
            hz *= std::pow(2.0, depth * std::sin(kTwoPi * v.vibrato_rate * t) / 12.0);
        }
        const double dt = std::min(0.5, hz / rate);

        double x;
        if (v.wave == Wave::Noise) {
            // Held noise: a new random value `hz` times a second gives grit and crunch;
            // at 0 Hz it is plain white noise.
            hold_phase += dt;
            if (hz <= 0.0 || hold_phase >= 1.0) {
                held = random.Next();
                hold_phase -= std::floor(hold_phase);
            }
            x = held;
        } else {
            double p = phase;
            if (v.fm_ratio > 0.0) {
                const double index = v.fm_index_from + (v.fm_index_to - v.fm_index_from) * u;
                p += index / kTwoPi * std::sin(kTwoPi * fm_phase);
                p -= std::floor(p);
                fm_phase += v.fm_ratio * hz / rate;
                fm_phase -= std::floor(fm_phase);
            }
            x = Oscillator(v.wave, p, dt, v.duty);
            phase += hz / rate;
            phase -= std::floor(phase);
        }

        if (v.lowpass_from > 0.0) {
            low += OnePoleCoefficient(Sweep(v.lowpass_from, v.lowpass_to, u), rate) * (x - low);
            x = low;
        }
        if (v.highpass_from > 0.0) {
            const double a = OnePoleCoefficient(Sweep(v.highpass_from, v.highpass_to, u), rate);
            high_low += a * (x - high_low);
            x -= high_low;
        }
        if (v.band_from > 0.0) x = band.Step(x, Sweep(v.band_from, v.band_to, u), v.band_q, rate);
        if (v.tremolo_depth > 0.0) x *= 1.0 - v.tremolo_depth * (0.5 + 0.5 * std::sin(kTwoPi * v.tremolo_rate * t));

        const double sample = x * Envelope(v, t) * v.gain;
        size_t at = first + i;
        if (loop) at %= mix.size();
        else if (at >= mix.size()) break;
        mix[at] += sample;
    }
}

} // namespace

std::vector<int16_t> Render(const Recipe& recipe) {
    double seconds = recipe.length;
    if (seconds <= 0.0)
        for (const Voice& v : recipe.voices) seconds = std::max(seconds, v.start + v.hold + v.release);
    const size_t frames = std::max<size_t>(1, size_t(std::llround(seconds * recipe.rate)));
    std::vector<double> mix(frames, 0.0);
    Random random(recipe.seed);
    for (const Voice& v : recipe.voices) RenderVoice(v, recipe.rate, random, mix, recipe.loop);

    // An effect cut short by its length ends in a short fade rather than a click;
    // a loop needs none, its tails already run on into its start.
    if (!recipe.loop) {
        const size_t fade = std::min(frames, size_t(recipe.rate / 500));
        for (size_t i = 0; i < fade; ++i) mix[frames - 1 - i] *= double(i) / double(fade);
    }

    double peak = 0.0;
    for (double x : mix) peak = std::max(peak, std::fabs(x));
    const double target = 32767.0 * std::pow(10.0, recipe.peak_db / 20.0);
    const double scale = peak > 0.0 ? target / peak : 0.0;
    std::vector<int16_t> out(frames);
    for (size_t i = 0; i < frames; ++i)
        out[i] = int16_t(std::clamp(std::lround(mix[i] * scale), -32767L, 32767L));
    return out;
}

} // namespace Synth
