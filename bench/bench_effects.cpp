// Cost of one emitter frame with a few hundred live particles, the busiest the game's effects get.
#include "engine/lfx.h"
#include "tests/gl_context.h"

#include <benchmark/benchmark.h>

#include <GL/gl.h>

namespace {

// A looping emitter that keeps its population near `count`: long-lived particles
// and one burst per frame until the limit holds it.
LumenarParticlesFX MakeEmitter(int count)
{
    LumenarParticlesFX e;
    const unsigned char white[4] = {255, 255, 255, 255};
    glGenTextures(1, &e.p_texture);
    glBindTexture(GL_TEXTURE_2D, e.p_texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
    e.sizeX = e.sizeY = 1;
    e.instance = true;
    e.loop = 1;
    e.p_limit = count;
    e.spawn_time_min = e.spawn_time_max = 0;
    e.spawn_p_min = e.spawn_p_max = 50;
    e.spawn_dir_min = {-1, -1, 0};
    e.spawn_dir_max = {1, 1, 0};
    e.p_speed_min = 0.1f;
    e.p_speed_max = 0.5f;
    e.p_timelife_min = e.p_timelife_max = 1e6f;
    e.p_scale_min = 0.1f;
    e.p_scale_max = 0.3f;
    return e;
}

void BM_EmitterFrame(benchmark::State& state)
{
    bm::EnsureGlContext();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 512, 0, 512, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    LumenarParticlesFX e = MakeEmitter(static_cast<int>(state.range(0)));
    while (e.particles.size() < static_cast<size_t>(state.range(0)))
        e.render(256, 256, 0, 8, 0.001f);
    for (auto _ : state) {
        e.render(256, 256, 0, 8, 0.016f);
        glFinish();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(e.particles.size()));
}

} // namespace

BENCHMARK(BM_EmitterFrame)->Arg(100)->Arg(300)->Arg(999);
