// Particle effects: an effect is a list of emitters read from a ".lfx" text file;
// each emitter spawns, moves, fades and draws its particles every frame.
#pragma once

#include "engine/node_pool.h"
#include "engine/sprite_batch.h"

#include <GL/gl.h>

// The ".lfx" format, shared by the loader and the tool that writes effects: text,
// "LFX", "ver:" 2, then emitter blocks, each "texture:" W H B with W*H*4 pixel
// values and then the keys below in this order, each followed by its numbers.
// Limits of what the game keeps of a file, far above what its own effects use
// (two emitters, limits of 140 particles and about 40 alive at once):
// - at most kMaxEmitters blocks; any after them are not read;
// - each emitter keeps its own "particles_limit:", cut to kMaxEmitterParticles
//   (a negative limit compares as unsigned: the largest there is, so the cut);
// - all emitters of one effect together hold at most kMaxEffectParticles: only
//   a file whose limits add up beyond it (no ordinary effect) sees the emitters
//   late in the file get less than they ask for;
// - lifetimes, particle sizes and speeds are taken as read, negative ones too (a
//   negative speed flies the other way, a negative size draws the square turned);
//   only values that are not numbers read as 0, and those beyond kMaxValue
//   either way are cut to it.
namespace LfxFormat {
constexpr const char* kMagic = "LFX";
constexpr const char* kVersionKey = "ver:";
constexpr int kVersion = 2;

// The keys of one emitter block, in the only order a file may hold them.
constexpr const char* kTexture = "texture:";
constexpr const char* kParticlesLimit = "particles_limit:";
constexpr const char* kSpawnTime = "spawn_time:";
constexpr const char* kSpawnParticles = "spawn_particles:";
constexpr const char* kSpawnPosition = "spawn_position:";
constexpr const char* kSpawnDirection = "spawn_direction:";
constexpr const char* kParticlesAcceleration = "particles_acceleration:";
constexpr const char* kParticlesRotation = "particles_rotation:";
constexpr const char* kParticleRandomRot = "particle_random_rot:";
constexpr const char* kParticlesSpeed = "particles_speed:";
constexpr const char* kParticlesTimelife = "particles_timelife:";
constexpr const char* kParticlesScale = "particles_scale:";
constexpr const char* kParticlesColorStart = "particles_color_start:";
constexpr const char* kParticlesColorEnd = "particles_color_end:";
constexpr const char* kBillboarding = "billboarding:";
constexpr const char* kTimeDelay = "time_delay:";
constexpr const char* kTimeStep = "time_step:";
constexpr const char* kLoop = "loop:";

// Files are read whole into memory; anything longer is cut at this size.
constexpr long kMaxFileBytes = 16L * 1024 * 1024;
constexpr int kMaxEmitters = 16;
constexpr int kMaxEmitterParticles = 65536;
// As much as one emitter may hold: sixteen emitters of limit 999, well beyond
// any effect of ours, still fit.
constexpr int kMaxEffectParticles = kMaxEmitterParticles;
constexpr float kMaxValue = 1.0e6f;
} // namespace LfxFormat

class LumenarParticlesFX {
public:
    struct Vector3d {
        float x, y, z;
        float length() const;
        void normalize();
    };
    struct ColorRGB {
        float r, g, b;
    };
    struct Particle {
        Vector3d pos;
        Vector3d dir;
        float rot;
        float speed;
        float life;
        float life_max;
        float scale;
        ColorRGB color_s;
        ColorRGB color_e;
    };

    LumenarParticlesFX();

    void render(float x, float y, float z, float simulation_scale, float simulation_time);
    void spawn_particle(float scale);
    void reset();
    float rate_interpole(float start, float end, float rate);
    float get_rate(float val, float max);
    // Appends one particle square of half-side l, placed by `at` at depth z, to the batch.
    void render_particle(const Transform2D& at, float z, float l, const GLfloat* colour);
    int get_active_particles();
    int get_inactive_particles();
    float Get3dDistance(float x, float y, float z, float a, float b, float c);

    float source_x, source_y, source_z;
    int sizeX;
    int sizeY;
    GLuint p_texture;
    int black_alpha;
    int p_rand_rot;
    int loop;
    int p_limit;
    float spawn_time;
    float spawn_time_min;
    float spawn_time_max;
    int spawn_p;
    int spawn_p_min;
    int spawn_p_max;
    Vector3d source;
    Vector3d spawn_pos_min;
    Vector3d spawn_pos_max;
    Vector3d spawn_dir_min;
    Vector3d spawn_dir_max;
    Vector3d p_acceleration;
    float p_rotation_min;
    float p_rotation_max;
    float p_speed_min;
    float p_speed_max;
    float p_timelife_min;
    float p_timelife_max;
    float p_scale_min;
    float p_scale_max;
    ColorRGB p_color_s_min;
    ColorRGB p_color_s_max;
    ColorRGB p_color_e_min;
    ColorRGB p_color_e_max;
    int billboarding;
    int lost_particles;
    bool instance;
    float time_delay;
    float total_time_simulation;
    float store_total_time_simulation;
    float time_elapsed;
    float time_delay_elapsed;
    float global_time_elapsed;
    bool first_spawn;
    // Particles are born and die every frame: their nodes come from a pool.
    PooledList<Particle> particles;
};

bool dead_particle(const LumenarParticlesFX::Particle& particle);

class LumenarFX {
public:
    LumenarFX();

    bool load(const char* path);
    void render(float x, float y, float z, float scale, float global_time);
    void reset();
    bool dead_animation();

    // Pooled too, since every placed copy of an effect copies its emitters.
    PooledList<LumenarParticlesFX> FX;
    bool turned_off;
};

namespace LFX {
void SetWatcher(float* x, float* y, float* z);
extern float* watcher_x;
extern float* watcher_y;
extern float* watcher_z;
} // namespace LFX
