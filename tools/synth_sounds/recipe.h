// A sound recipe: the text that describes one of the game's sounds as layers of
// oscillators or noise, each with its envelope, sweeps and filters.
//
// One setting per line; a word starting with '#' begins a comment.
//   rate 22050|44100     length SECONDS     tempo BPM     beats N (length on the beat grid)
//   peak DBFS (the mix is scaled so its loudest sample sits there)
//   loop (tails past the end ring on from the start: a seamless loop)   seed N
//   voice ... end        one layer, times in seconds:
//     wave sine|triangle|square|saw|noise     pitch FROM [TO [GLIDE_SECONDS]]
//     at START   hold GATE   adsr A D S R   gain G   duty FRACTION
//     lowpass FROM [TO]   highpass FROM [TO]   bandpass FROM [TO] Q
//     vibrato RATE SEMITONES [FADE]   tremolo RATE DEPTH   fm RATIO INDEX [INDEX_END]
//     repeat COUNT EVERY [PITCH_RATIO [GAIN_RATIO]]
//   track ... end        the same settings (no at/hold/repeat), plus
//     from BEAT   legato FRACTION   notes C5:1 r:0.5 G4+B4+D5:2 ... (lengths in beats)
// Pitches and filter frequencies are in Hz or note names (A4 = 440 Hz, F#5, Bb3);
// for noise the pitch is the rate at which a random value is held (0: white).
#pragma once

#include <string>
#include <vector>

namespace Synth {

enum class Wave { Sine, Triangle, Square, Saw, Noise };

// One sounding layer. Times are seconds from the start of the file.
struct Voice {
    Wave wave = Wave::Sine;
    double start = 0.0;
    double hold = 0.1;          // gate length; the release follows it
    double pitch_from = 440.0;  // Hz; for noise, the rate at which it is held (0: white)
    double pitch_to = 440.0;
    double pitch_time = 0.0;    // seconds of the glide; 0 glides over the whole voice
    double attack = 0.005, decay = 0.1, sustain = 1.0, release = 0.05;
    double gain = 1.0;
    double lowpass_from = 0.0, lowpass_to = 0.0;    // one-pole, 0 = off
    double highpass_from = 0.0, highpass_to = 0.0;  // one-pole, 0 = off
    double band_from = 0.0, band_to = 0.0, band_q = 1.0;  // resonant band-pass, 0 = off
    double vibrato_rate = 0.0, vibrato_depth = 0.0, vibrato_fade = 0.0;  // Hz, semitones, s
    double tremolo_rate = 0.0, tremolo_depth = 0.0;
    double fm_ratio = 0.0, fm_index_from = 0.0, fm_index_to = 0.0;
    double duty = 0.5;  // square wave's high fraction
};

struct Recipe {
    int rate = 44100;
    double length = 0.0;  // seconds; 0 = as long as the voices
    double peak_db = -3.0;
    bool loop = false;    // tails past the end wrap around to the start
    unsigned seed = 1;
    std::vector<Voice> voices;
};

// Parses a recipe. On failure returns false with a message naming the line.
bool ParseRecipe(const std::string& text, Recipe& recipe, std::string& error);

// Frequency in Hz of a note name such as "A4", "F#5" or "Bb3"; false if not one.
bool NoteFrequency(const std::string& name, double& hz);

} // namespace Synth
