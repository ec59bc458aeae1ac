// Effects placed in the game: one-shot effect copies, the carrot bursts, and the effect templates.
#include "game/fx_instances.h"

#include "engine/draw.h"

#include "engine/sound.h"
#include "engine/startup_order.h"
#include "game/state.h"
#include "math/global_time.h"
#include "math/numeric.h"

#include <GL/gl.h>
#include <cstdlib>

namespace FX {
LumenarFX point BM_INIT_ORDER(BM_ORDER_FX);
LumenarFX spawn BM_INIT_ORDER(BM_ORDER_FX);
LumenarFX cursor BM_INIT_ORDER(BM_ORDER_FX);
} // namespace FX

SpawnParticleFx SP_Fx BM_INIT_ORDER(BM_ORDER_SP_FX);

PooledList<SpawnCarrotFX> __spawn_carrots_fx BM_INIT_ORDER(BM_ORDER_CARROT_FX);

namespace {
// Where the carrot counter sits on the game screen; every carrot sprite flies there.
const vector3f kCarrotCounter(51.0f, 26.0f, 0.0f);

size_t ParticlesOf(const LumenarFX& fx)
{
    size_t n = 0;
    for (const LumenarParticlesFX& e : fx.FX)
        n += e.particles.size();
    return n;
}
} // namespace

void SpawnParticleFx::Add(LumenarFX& fx, vector3f location, float scale)
{
    fx_list.push_back(FxObj{fx, location, scale, 0.0f});
}

void SpawnParticleFx::Display()
{
    fx_list.remove_if([](FxObj& obj) { return null_fx(obj) || obj.age > kLongestCopy; });
    size_t held = 0;
    for (const FxObj& obj : fx_list)
        held += ParticlesOf(obj.fx);
    while (held > kMostParticles) {
        held -= ParticlesOf(fx_list.front().fx);
        fx_list.pop_front();
    }
    // Placed effects play at half speed: they are meant to linger a moment.
    for (FxObj& obj : fx_list) {
        obj.fx.render(obj.location.x, obj.location.y, 0.0f, obj.scale, global_time * 0.5f);
        obj.age += global_time * 0.5f;
    }
}

void SpawnParticleFx::Reset() { fx_list.clear(); }

bool SpawnParticleFx::null_fx(FxObj& obj) { return obj.fx.dead_animation(); }

SpawnCarrotFX::CarrotParticle::CarrotParticle()
    : p(), alpha(1.0f), r(static_cast<float>(rand() % 360)), rot_speed(rand_intvf(12.0f, 180.0f, 1.0f)),
      rot_sign((rand() & 1) != 0), life(true)
{
}

void SpawnCarrotFX::CarrotParticle::Simulate()
{
    vector3f d = kCarrotCounter - p;
    float dist = d.length();
    d.normalize();
    if (dist < 5.0f)
        life = false;
    alpha = RateInterpole(1.0f, 0.0f, GetRate(5.0f, dist));
    if (alpha < 0.0f)
        alpha = 0.0f;
    if (alpha > 1.0f)
        alpha = 1.0f;
    r += rot_speed * global_time;
    // A sprite never flies past the counter: on slow frames a full step could
    // carry it from one side to the other and back forever, and the burst would
    // never end nor credit its carrots.
    float step = global_time * 400.0f;
    if (step > dist)
        step = dist;
    p += d * step;
}

void SpawnCarrotFX::CarrotParticle::Render()
{
    if (!life)
        return;
    Simulate();
    if (alpha > 0.0f) {
        const GLfloat faded[4] = {1.0f, 1.0f, 1.0f, alpha};
        SpriteBatch::Sprite(Transform2D().Translated(p.x, p.y).Rotated(rot_sign ? r : -r), 12.0f, 12.0f, true, 0.0f,
                            faded);
    }
}

SpawnCarrotFX::SpawnCarrotFX(vector3f location_) : particles(), location(location_), spawn_tl(0.2f), eos(false) {}

void SpawnCarrotFX::Render()
{
    if (eos)
        return;
    spawn_tl += global_time;
    // A burst worth nothing (or less) adds no sprites; it never ends, but never grows either.
    if (spawn_tl > 0.05f && carrots_eval > 0 && particles.size() < static_cast<size_t>(carrots_eval)) {
        CarrotParticle particle;
        float y = rand_intvf(-20.0f, 20.0f, 10.0f);
        float x = rand_intvf(-20.0f, 20.0f, 10.0f);
        particle.p = location + vector3f(x, y, 0.0f);
        particles.push_back(particle);
        spawn_tl = 0.0f;
        eos = false;
    }

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    BindTexture(carrot_pattern);

    if (!particles.empty())
        eos = true;
    for (CarrotParticle& particle : particles) {
        particle.Render();
        if (particle.life)
            eos = false;
    }
    // The purse grows once, in the frame the last sprite reaches the counter;
    // a burst whose first sprites arrive before the rest are due ends early but
    // still credits the full amount.
    if (eos) {
        AudioEngine.spawn_dynamic(5, "Data/sFx/carrots.wav", 0.75f);
        n_carrots += carrots_eval;
    }

    SpriteBatch::Flush();
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}

bool carrot_fx_EOS(const SpawnCarrotFX& fx) { return fx.EOS(); }

void SpawnCarrotsFX(vector3f location) { __spawn_carrots_fx.push_back(SpawnCarrotFX(location)); }

void RenderCarrotsFX()
{
    __spawn_carrots_fx.remove_if(carrot_fx_EOS);
    for (SpawnCarrotFX& fx : __spawn_carrots_fx)
        fx.Render();
}

void ResetCarrotsFX() { __spawn_carrots_fx.clear(); }
