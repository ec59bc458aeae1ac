// Reads the recipe text: header lines, "voice" blocks for effects and "track"
// blocks whose note lists become voices on the beat grid of the tune.
#include "tools/synth_sounds/recipe.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace Synth {

namespace {

// Generous limits that still keep a mistaken recipe from asking for gigabytes.
constexpr double kMaxSeconds = 300.0;
constexpr size_t kMaxVoices = 20000;

// Words of a line up to its comment. A comment starts with a '#' that begins a
// word, so sharps such as F#5 stay notes.
std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    std::string word;
    while (in >> word && word[0] != '#') words.push_back(word);
    return words;
}

bool Number(const std::string& word, double& value) {
    const char* begin = word.c_str();
    char* end = nullptr;
    value = std::strtod(begin, &end);
    return end != begin && *end == '\0' && std::isfinite(value);
}

// A frequency may be written in Hz or as a note name.
bool Frequency(const std::string& word, double& hz) {
    if (NoteFrequency(word, hz)) return true;
    return Number(word, hz) && hz >= 0.0 && hz < 100000.0;
}

struct Block {
    Voice voice;
    bool is_track = false;
    // Voice blocks
    int repeat_count = 1;
    double repeat_every = 0.0, repeat_pitch = 1.0, repeat_gain = 1.0;
    // Track blocks
    double from_beat = 0.0;
    double legato = 0.9;
    std::vector<std::pair<std::vector<double>, double>> notes;  // chord (Hz, empty = rest), beats
};

bool ParseNotes(const std::vector<std::string>& words, Block& block, std::string& why) {
    for (size_t i = 1; i < words.size(); ++i) {
        const std::string& token = words[i];
        const size_t colon = token.find(':');
        double beats = 0.0;
        if (colon == std::string::npos || !Number(token.substr(colon + 1), beats) || beats <= 0.0 || beats > 64.0) {
            why = "note '" + token + "' needs a length in beats, like C5:1";
            return false;
        }
        std::vector<double> chord;
        const std::string pitches = token.substr(0, colon);
        if (pitches != "r") {
            size_t pos = 0;
            while (pos <= pitches.size()) {
                size_t plus = pitches.find('+', pos);
                if (plus == std::string::npos) plus = pitches.size();
                double hz = 0.0;
                if (!NoteFrequency(pitches.substr(pos, plus - pos), hz)) {
                    why = "unknown note in '" + token + "'";
                    return false;
                }
                chord.push_back(hz);
                pos = plus + 1;
            }
        }
        block.notes.emplace_back(chord, beats);
    }
    return true;
}

// One setting line of a voice or track block.
bool ParseSetting(const std::vector<std::string>& w, Block& block, std::string& why) {
    Voice& v = block.voice;
    const std::string& key = w[0];
    std::vector<double> n;
    for (size_t i = 1; i < w.size(); ++i) {
        double x = 0.0;
        const bool is_frequency = key == "pitch" || key == "lowpass" || key == "highpass" ||
                                  (key == "bandpass" && i + 1 < w.size());
        if (!(is_frequency ? Frequency(w[i], x) : Number(w[i], x))) {
            if (key == "wave" || key == "notes") break;
            why = "bad value '" + w[i] + "' for " + key;
            return false;
        }
        n.push_back(x);
    }
    auto want = [&](size_t lo, size_t hi) {
        if (w.size() - 1 < lo || w.size() - 1 > hi) {
            why = key + " takes " + std::to_string(lo) + (lo == hi ? "" : " to " + std::to_string(hi)) + " values";
            return false;
        }
        return true;
    };
    auto nonneg = [&]() {
        for (double x : n)
            if (x < 0.0) {
                why = key + " values must not be negative";
                return false;
            }
        return true;
    };
    if (key == "wave") {
        if (!want(1, 1)) return false;
        const std::string& name = w[1];
        if (name == "sine") v.wave = Wave::Sine;
        else if (name == "triangle") v.wave = Wave::Triangle;
        else if (name == "square") v.wave = Wave::Square;
        else if (name == "saw") v.wave = Wave::Saw;
        else if (name == "noise") v.wave = Wave::Noise;
        else {
            why = "unknown wave '" + name + "'";
            return false;
        }
        return true;
    }
    if (key == "notes") {
        if (!block.is_track) {
            why = "notes belong in a track";
            return false;
        }
        return ParseNotes(w, block, why);
    }
    if (!nonneg()) return false;
    if (key == "pitch") {
        if (!want(1, 3)) return false;
        v.pitch_from = n[0];
        v.pitch_to = n.size() > 1 ? n[1] : n[0];
        v.pitch_time = n.size() > 2 ? n[2] : 0.0;
    } else if (key == "at" && !block.is_track) {
        if (!want(1, 1)) return false;
        v.start = n[0];
    } else if (key == "hold" && !block.is_track) {
        if (!want(1, 1)) return false;
        v.hold = n[0];
    } else if (key == "adsr") {
        if (!want(4, 4)) return false;
        v.attack = n[0];
        v.decay = n[1];
        v.sustain = n[2];
        v.release = n[3];
        if (v.sustain > 1.0) {
            why = "sustain is a level from 0 to 1";
            return false;
        }
    } else if (key == "gain") {
        if (!want(1, 1)) return false;
        v.gain = n[0];
    } else if (key == "lowpass" || key == "highpass") {
        if (!want(1, 2)) return false;
        (key == "lowpass" ? v.lowpass_from : v.highpass_from) = n[0];
        (key == "lowpass" ? v.lowpass_to : v.highpass_to) = n.size() > 1 ? n[1] : n[0];
    } else if (key == "bandpass") {
        if (!want(2, 3)) return false;
        v.band_from = n[0];
        v.band_to = n.size() > 2 ? n[1] : n[0];
        v.band_q = n.back();
        if (v.band_q < 0.1 || v.band_q > 50.0) {
            why = "bandpass Q must be from 0.1 to 50";
            return false;
        }
    } else if (key == "vibrato") {
        if (!want(2, 3)) return false;
        v.vibrato_rate = n[0];
        v.vibrato_depth = n[1];
        v.vibrato_fade = n.size() > 2 ? n[2] : 0.0;
    } else if (key == "tremolo") {
        if (!want(2, 2)) return false;
        v.tremolo_rate = n[0];
        v.tremolo_depth = n[1];
        if (v.tremolo_depth > 1.0) {
            why = "tremolo depth is from 0 to 1";
            return false;
        }
    } else if (key == "fm") {
        if (!want(2, 3)) return false;
        v.fm_ratio = n[0];
        v.fm_index_from = n[1];
        v.fm_index_to = n.size() > 2 ? n[2] : n[1];
    } else if (key == "duty") {
        if (!want(1, 1)) return false;
        v.duty = n[0];
        if (v.duty <= 0.0 || v.duty >= 1.0) {
            why = "duty is between 0 and 1";
            return false;
        }
    } else if (key == "repeat" && !block.is_track) {
        if (!want(2, 4)) return false;
        if (n[0] < 1.0 || n[0] > 256.0) {
            why = "repeat count is from 1 to 256";
            return false;
        }
        block.repeat_count = int(n[0]);
        block.repeat_every = n[1];
        block.repeat_pitch = n.size() > 2 ? n[2] : 1.0;
        block.repeat_gain = n.size() > 3 ? n[3] : 1.0;
    } else if (key == "from" && block.is_track) {
        if (!want(1, 1)) return false;
        block.from_beat = n[0];
    } else if (key == "legato" && block.is_track) {
        if (!want(1, 1)) return false;
        block.legato = n[0];
        if (block.legato <= 0.0 || block.legato > 1.0) {
            why = "legato is a fraction of the note from 0 to 1";
            return false;
        }
    } else {
        why = "unknown setting '" + key + "'" + (block.is_track ? " in a track" : " in a voice");
        return false;
    }
    return true;
}

bool CloseBlock(const Block& block, double seconds_per_beat, Recipe& recipe, std::string& why) {
    std::vector<Voice> made;
    if (block.is_track) {
        if (seconds_per_beat <= 0.0) {
            why = "a track needs a tempo line before it";
            return false;
        }
        double beat = block.from_beat;
        for (const auto& note : block.notes) {
            for (double hz : note.first) {
                Voice v = block.voice;
                v.start = beat * seconds_per_beat;
                v.hold = note.second * seconds_per_beat * block.legato;
                v.pitch_to = hz * (v.pitch_to / (v.pitch_from > 0.0 ? v.pitch_from : hz));
                v.pitch_from = hz;
                made.push_back(v);
            }
            beat += note.second;
        }
    } else {
        for (int i = 0; i < block.repeat_count; ++i) {
            Voice v = block.voice;
            const double scale = std::pow(block.repeat_pitch, i);
            v.start += i * block.repeat_every;
            v.pitch_from *= scale;
            v.pitch_to *= scale;
            v.gain *= std::pow(block.repeat_gain, i);
            made.push_back(v);
        }
    }
    for (const Voice& v : made) {
        if (v.start + v.hold + v.attack + v.release > kMaxSeconds) {
            why = "a voice reaches past " + std::to_string(int(kMaxSeconds)) + " s";
            return false;
        }
        if (recipe.voices.size() >= kMaxVoices) {
            why = "too many voices";
            return false;
        }
        recipe.voices.push_back(v);
    }
    return true;
}

} // namespace

bool NoteFrequency(const std::string& name, double& hz) {
    static const int kSemitone[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (name.size() < 2 || name[0] < 'A' || name[0] > 'G') return false;
    int semitone = kSemitone[name[0] - 'A'];
    size_t pos = 1;
    if (name[pos] == '#') semitone += 1, ++pos;
    else if (name[pos] == 'b') semitone -= 1, ++pos;
    if (pos + 1 != name.size() || !std::isdigit(static_cast<unsigned char>(name[pos]))) return false;
    const int octave = name[pos] - '0';
    const int midi = 12 * (octave + 1) + semitone;
    hz = 440.0 * std::pow(2.0, (midi - 69) / 12.0);
    return true;
}

bool ParseRecipe(const std::string& text, Recipe& recipe, std::string& error) {
    recipe = Recipe();
    std::istringstream in(text);
    std::string line;
    int number = 0;
    double seconds_per_beat = 0.0;
    bool in_block = false;
    Block block;
    auto fail = [&](const std::string& why) {
        error = "line " + std::to_string(number) + ": " + why;
        return false;
    };
    while (std::getline(in, line)) {
        ++number;
        const std::vector<std::string> w = Split(line);
        if (w.empty()) continue;
        const std::string& key = w[0];
        if (in_block) {
            if (key == "end") {
                std::string why;
                if (!CloseBlock(block, seconds_per_beat, recipe, why)) return fail(why);
                in_block = false;
                continue;
            }
            std::string why;
            if (!ParseSetting(w, block, why)) return fail(why);
            continue;
        }
        if (key == "voice" || key == "track") {
            block = Block();
            block.is_track = key == "track";
            in_block = true;
            continue;
        }
        if (key == "loop") {
            recipe.loop = true;
            continue;
        }
        double x = 0.0;
        if (w.size() != 2 || !Number(w[1], x)) return fail("'" + key + "' takes one number");
        if (key == "rate") {
            if (x != 22050.0 && x != 44100.0) return fail("rate is 22050 or 44100");
            recipe.rate = int(x);
        } else if (key == "length") {
            if (x <= 0.0 || x > kMaxSeconds) return fail("length out of range");
            recipe.length = x;
        } else if (key == "tempo") {
            if (x < 20.0 || x > 400.0) return fail("tempo is from 20 to 400 beats a minute");
            seconds_per_beat = 60.0 / x;
        } else if (key == "beats") {
            if (seconds_per_beat <= 0.0) return fail("beats needs a tempo line before it");
            if (x <= 0.0 || x * seconds_per_beat > kMaxSeconds) return fail("beats out of range");
            recipe.length = x * seconds_per_beat;
        } else if (key == "peak") {
            if (x > -0.1 || x < -60.0) return fail("peak is in dBFS, from -60 to -0.1");
            recipe.peak_db = x;
        } else if (key == "seed") {
            recipe.seed = unsigned(std::fabs(x));
        } else {
            return fail("unknown line '" + key + "'");
        }
    }
    if (in_block) return fail("block not closed with 'end'");
    if (recipe.voices.empty()) return fail("no voices");
    return true;
}

} // namespace Synth
