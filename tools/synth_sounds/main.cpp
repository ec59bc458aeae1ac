// synth_sounds RECIPE OUT.wav: renders one sound recipe to a mono 16-bit WAV file.
#include "engine/wav_format.h"
#include "tools/synth_sounds/recipe.h"
#include "tools/synth_sounds/render.h"

#include <cstdio>
#include <fstream>
#include <sstream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: synth_sounds RECIPE OUT.wav\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "synth_sounds: cannot read %s\n", argv[1]);
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();

    Synth::Recipe recipe;
    std::string error;
    if (!Synth::ParseRecipe(text.str(), recipe, error)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
        return 1;
    }
    const std::vector<int16_t> samples = Synth::Render(recipe);

    std::vector<uint8_t> bytes(Wav::kHeaderSize + 2 * samples.size());
    Wav::WriteMonoHeader(bytes.data(), uint32_t(recipe.rate), uint32_t(samples.size()));
    for (size_t i = 0; i < samples.size(); ++i)
        Wav::PutU16(bytes.data() + Wav::kHeaderSize + 2 * i, uint16_t(samples[i]));

    // Written beside the target and renamed, so an interrupted build never leaves
    // a truncated sound that looks up to date.
    const std::string temp = std::string(argv[2]) + ".tmp";
    std::FILE* out = std::fopen(temp.c_str(), "wb");
    if (!out) {
        std::fprintf(stderr, "synth_sounds: cannot write %s\n", temp.c_str());
        return 1;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (std::fclose(out) != 0 || !written || std::rename(temp.c_str(), argv[2]) != 0) {
        std::remove(temp.c_str());
        std::fprintf(stderr, "synth_sounds: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
