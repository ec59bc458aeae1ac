// The readable effect description: one or more emitters, each a list of named
// parameters and a procedurally drawn texture.
#pragma once

#include <string>
#include <vector>

namespace effects {

struct Sprite {
    std::string shape = "dot"; // dot, star or ring
    int width = 16;
    int height = 16;
};

// Every parameter of an emitter block; unnamed ones keep the values a freshly
// made emitter has in the game.
struct EmitterParams {
    Sprite sprite;
    int black_alpha = 0;
    int particles_limit = 999;
    double spawn_time[2] = {0.02, 0.02};
    int spawn_particles[2] = {1, 1};
    double spawn_position[6] = {0, 0, 0, 0, 0, 0};
    double spawn_direction[6] = {0, 0, 0, 0, 0, 0};
    double particles_acceleration[3] = {0, 0, 0};
    double particles_rotation[2] = {0, 0};
    int particle_random_rot = 0;
    double particles_speed[2] = {0, 0};
    double particles_timelife[2] = {0, 0};
    double particles_scale[2] = {1, 1};
    double particles_color_start[6] = {255, 255, 255, 255, 255, 255};
    double particles_color_end[6] = {255, 255, 255, 255, 255, 255};
    int billboarding = 3;
    double time_delay = 0;
    double time_step = 0;
    int loop = 1;
};

// The game keeps at most LfxFormat::kMaxEmitters emitters of an effect, each with
// its own particles_limit up to LfxFormat::kMaxEmitterParticles (and at most
// LfxFormat::kMaxEffectParticles for all of them together); lifetimes, scales and
// speeds are taken as written, negative ones too, cut to LfxFormat::kMaxValue
// either way (engine/lfx.h).
struct EffectParams {
    std::vector<EmitterParams> emitters;
};

// Parses the text of a ".fx" file. On a fault returns false with a message
// naming the line in `error`.
bool ParseEffectParams(const std::string& text, EffectParams& out, std::string& error);

} // namespace effects
