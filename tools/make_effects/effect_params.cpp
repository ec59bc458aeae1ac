// Reader of the ".fx" effect descriptions: "name value..." lines, '#' comments.
#include "tools/make_effects/effect_params.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace effects {
namespace {

struct Field {
    const char* name;
    int count;
    int* ints;
    double* reals;
};

std::vector<Field> FieldsOf(EmitterParams& e)
{
    return {
        {"particles_limit", 1, &e.particles_limit, nullptr},
        {"spawn_time", 2, nullptr, e.spawn_time},
        {"spawn_particles", 2, e.spawn_particles, nullptr},
        {"spawn_position", 6, nullptr, e.spawn_position},
        {"spawn_direction", 6, nullptr, e.spawn_direction},
        {"particles_acceleration", 3, nullptr, e.particles_acceleration},
        {"particles_rotation", 2, nullptr, e.particles_rotation},
        {"particle_random_rot", 1, &e.particle_random_rot, nullptr},
        {"particles_speed", 2, nullptr, e.particles_speed},
        {"particles_timelife", 2, nullptr, e.particles_timelife},
        {"particles_scale", 2, nullptr, e.particles_scale},
        {"particles_color_start", 6, nullptr, e.particles_color_start},
        {"particles_color_end", 6, nullptr, e.particles_color_end},
        {"billboarding", 1, &e.billboarding, nullptr},
        {"time_delay", 1, nullptr, &e.time_delay},
        {"time_step", 1, nullptr, &e.time_step},
        {"loop", 1, &e.loop, nullptr},
    };
}

bool ToReal(const std::string& s, double& out)
{
    char* end = nullptr;
    errno = 0;
    out = strtod(s.c_str(), &end);
    return !s.empty() && *end == '\0' && errno == 0;
}

bool ToInt(const std::string& s, int& out)
{
    char* end = nullptr;
    errno = 0;
    long v = strtol(s.c_str(), &end, 10);
    if (s.empty() || *end != '\0' || errno != 0 || v < -2147483647L - 1 || v > 2147483647L)
        return false;
    out = static_cast<int>(v);
    return true;
}

} // namespace

bool ParseEffectParams(const std::string& text, EffectParams& out, std::string& error)
{
    out.emitters.clear();
    std::istringstream lines(text);
    std::string line;
    int line_no = 0;
    while (std::getline(lines, line)) {
        ++line_no;
        size_t hash = line.find('#');
        if (hash != std::string::npos)
            line.erase(hash);
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;)
            w.push_back(word);
        if (w.empty())
            continue;
        auto fail = [&](const std::string& why) {
            error = "line " + std::to_string(line_no) + ": " + why;
            return false;
        };
        const std::string& name = w[0];
        const size_t nvalues = w.size() - 1;
        if (name == "emitter") {
            if (nvalues != 0)
                return fail("'emitter' takes no values");
            out.emitters.emplace_back();
            continue;
        }
        if (out.emitters.empty())
            return fail("'" + name + "' before the first 'emitter'");
        EmitterParams& e = out.emitters.back();
        if (name == "texture") {
            if (nvalues != 3)
                return fail("'texture' wants a shape, a width and a height");
            if (w[1] != "dot" && w[1] != "star" && w[1] != "ring")
                return fail("unknown texture shape '" + w[1] + "' (dot, star or ring)");
            int width = 0, height = 0;
            if (!ToInt(w[2], width) || !ToInt(w[3], height) || width < 1 || height < 1 || width > 256 ||
                height > 256)
                return fail("texture sizes must be whole numbers from 1 to 256");
            e.sprite = Sprite{w[1], width, height};
            continue;
        }
        if (name == "blending") {
            if (nvalues != 1 || (w[1] != "add" && w[1] != "over"))
                return fail("'blending' is 'add' or 'over'");
            e.black_alpha = w[1] == "over" ? 1 : 0;
            continue;
        }
        bool known = false;
        for (const Field& f : FieldsOf(e)) {
            if (name != f.name)
                continue;
            known = true;
            if (nvalues != static_cast<size_t>(f.count))
                return fail("'" + name + "' wants " + std::to_string(f.count) + " values");
            for (int i = 0; i < f.count; ++i) {
                bool ok = f.ints ? ToInt(w[i + 1], f.ints[i]) : ToReal(w[i + 1], f.reals[i]);
                if (!ok)
                    return fail("bad number '" + w[i + 1] + "' for '" + name + "'");
            }
        }
        if (!known)
            return fail("unknown parameter '" + name + "'");
    }
    if (out.emitters.empty()) {
        error = "no 'emitter' in the file";
        return false;
    }
    return true;
}

} // namespace effects
