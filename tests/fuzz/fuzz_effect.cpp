// A hostile effect file: loaded, played for a few frames as the template and as
// placed copies, within the format's limits.
#include "engine/lfx.h"
#include "fuzz/fuzz_support.h"
#include "game/fx_instances.h"
#include "math/global_time.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LumenarFX fx;
    fx.load(fuzz::WriteFile("effect.lfx", data, size).c_str());
    fuzz::Require(fx.FX.size() <= static_cast<size_t>(LfxFormat::kMaxEmitters), "too many emitters");
    global_time = 0.1f;
    SP_Fx.Add(fx, vector3f(100, 100, 0), 17);
    for (int frame = 0; frame < 4; ++frame) {
        fx.render(256, 256, 0, 10, frame == 0 ? 0.0f : 0.05f);
        SP_Fx.Display();
        size_t particles = 0;
        for (const LumenarParticlesFX& e : fx.FX)
            particles += e.particles.size();
        fuzz::Require(particles <= static_cast<size_t>(LfxFormat::kMaxEffectParticles), "too many particles");
    }
    SP_Fx.Reset();
    return 0;
}
