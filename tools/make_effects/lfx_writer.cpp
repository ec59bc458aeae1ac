// The ".lfx" writer: the header, then one block per emitter with its texture as decimal pixels.
#include "tools/make_effects/lfx_writer.h"

#include "engine/lfx.h"
#include "tools/make_effects/sprite.h"

#include <cstdio>

namespace effects {
namespace {

void Line(std::string& out, const char* key, const double* v, int n)
{
    out += key;
    char buf[64];
    for (int i = 0; i < n; ++i) {
        snprintf(buf, sizeof buf, " %.9g", v[i]);
        out += buf;
    }
    out += '\n';
}

void Line(std::string& out, const char* key, const int* v, int n)
{
    out += key;
    for (int i = 0; i < n; ++i)
        out += " " + std::to_string(v[i]);
    out += '\n';
}

} // namespace

std::string WriteLfx(const EffectParams& effect)
{
    std::string out = LfxFormat::kMagic;
    out += '\n';
    out += std::string(LfxFormat::kVersionKey) + " " + std::to_string(LfxFormat::kVersion) + "\n";
    for (const EmitterParams& e : effect.emitters) {
        const int w = e.sprite.width, h = e.sprite.height;
        out += std::string(LfxFormat::kTexture) + " " + std::to_string(w) + " " + std::to_string(h) + " " +
               std::to_string(e.black_alpha) + "\n";
        std::vector<unsigned char> px = DrawSprite(e.sprite);
        for (int row = 0; row < h; ++row) {
            for (int i = 0; i < w * 4; ++i) {
                if (i > 0)
                    out += ' ';
                out += std::to_string(px[static_cast<size_t>(row) * w * 4 + i]);
            }
            out += '\n';
        }
        Line(out, LfxFormat::kParticlesLimit, &e.particles_limit, 1);
        Line(out, LfxFormat::kSpawnTime, e.spawn_time, 2);
        Line(out, LfxFormat::kSpawnParticles, e.spawn_particles, 2);
        Line(out, LfxFormat::kSpawnPosition, e.spawn_position, 6);
        Line(out, LfxFormat::kSpawnDirection, e.spawn_direction, 6);
        Line(out, LfxFormat::kParticlesAcceleration, e.particles_acceleration, 3);
        Line(out, LfxFormat::kParticlesRotation, e.particles_rotation, 2);
        Line(out, LfxFormat::kParticleRandomRot, &e.particle_random_rot, 1);
        Line(out, LfxFormat::kParticlesSpeed, e.particles_speed, 2);
        Line(out, LfxFormat::kParticlesTimelife, e.particles_timelife, 2);
        Line(out, LfxFormat::kParticlesScale, e.particles_scale, 2);
        Line(out, LfxFormat::kParticlesColorStart, e.particles_color_start, 6);
        Line(out, LfxFormat::kParticlesColorEnd, e.particles_color_end, 6);
        Line(out, LfxFormat::kBillboarding, &e.billboarding, 1);
        Line(out, LfxFormat::kTimeDelay, &e.time_delay, 1);
        Line(out, LfxFormat::kTimeStep, &e.time_step, 1);
        Line(out, LfxFormat::kLoop, &e.loop, 1);
    }
    return out;
}

} // namespace effects
