// make_effects: reads one effect description (".fx") and writes the game's ".lfx" effect file.
#include "tools/make_effects/effect_params.h"
#include "tools/make_effects/lfx_writer.h"

#include <cstdio>
#include <fstream>
#include <sstream>

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: make_effects <effect.fx> <out.lfx>\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        fprintf(stderr, "make_effects: cannot read %s\n", argv[1]);
        return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();
    effects::EffectParams effect;
    std::string error;
    if (!effects::ParseEffectParams(text.str(), effect, error)) {
        fprintf(stderr, "make_effects: %s: %s\n", argv[1], error.c_str());
        return 1;
    }
    const std::string lfx = effects::WriteLfx(effect);
    // Written beside the target and renamed, so a failed run never leaves half a file in Data/.
    const std::string tmp = std::string(argv[2]) + ".tmp";
    FILE* out = fopen(tmp.c_str(), "wb");
    if (!out) {
        fprintf(stderr, "make_effects: cannot write %s\n", tmp.c_str());
        return 1;
    }
    bool ok = fwrite(lfx.data(), 1, lfx.size(), out) == lfx.size();
    ok = fclose(out) == 0 && ok;
    if (!ok || rename(tmp.c_str(), argv[2]) != 0) {
        remove(tmp.c_str());
        fprintf(stderr, "make_effects: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
