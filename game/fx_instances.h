// Effects placed in the game: one-shot copies of the effect templates at a
// point, and the carrot bursts that fly to the counter and credit the purse.
#pragma once

#include "engine/lfx.h"
#include "engine/node_pool.h"
#include "math/vector3f.h"

#include <cstddef>

// The three effect templates, loaded once at start.
namespace FX {
extern LumenarFX point, spawn, cursor;
}

class SpawnParticleFx {
public:
    struct FxObj {
        LumenarFX fx;
        vector3f location;
        float scale;
        float age = 0.0f; // seconds of effect time it has played
    };

    // Every copy ends: one that has not finished after this much of its own time
    // (a looping or endlessly delayed effect from a damaged file) is dropped.
    // The game's own effects finish within about one second.
    static constexpr float kLongestCopy = 10.0f;
    // All copies together hold at most this many particles (the game's own hold
    // a few hundred at the busiest); beyond it the oldest copies are dropped.
    static constexpr std::size_t kMostParticles = LfxFormat::kMaxEffectParticles;

    void Add(LumenarFX& fx, vector3f location, float scale);
    void Display();
    void Reset();
    static bool null_fx(FxObj& obj);

    // Copies come and go with the game's events; their nodes are pooled.
    PooledList<FxObj> fx_list;
};

extern SpawnParticleFx SP_Fx;

class SpawnCarrotFX {
public:
    struct CarrotParticle {
        CarrotParticle();
        void Simulate();
        void Render();

        vector3f p;
        float alpha;
        float r;
        float rot_speed;
        bool rot_sign;
        bool life;
    };

    explicit SpawnCarrotFX(vector3f location);
    bool EOS() const { return eos; }
    void Render();

    // A sprite is added every few frames of a burst: pooled like the particles.
    PooledList<CarrotParticle> particles;
    vector3f location;
    float spawn_tl;
    bool eos;
};

extern PooledList<SpawnCarrotFX> __spawn_carrots_fx;

bool carrot_fx_EOS(const SpawnCarrotFX& fx);
void SpawnCarrotsFX(vector3f location);
void RenderCarrotsFX();
void ResetCarrotsFX();
