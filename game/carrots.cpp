// Carrots in the field: where they grow, when they grow again, how they are
// drawn and hit by the pointer, and the wave that re-arms them all.
#include "game/carrots.h"

#include "engine/draw.h"

#include "engine/sound.h"
#include "game/fx_instances.h"
#include "game/state.h"
#include "math/global_time.h"
#include "math/numeric.h"

#include <GL/gl.h>
#include <cmath>

namespace {
// Ten carrots always leave room on the 489 places of the field; this bound only
// keeps an overfull field from hanging the game, and then the last draw stands.
constexpr int kMaxPlacementDraws = 100000;
} // namespace

Carrot::Carrot() : position(0.0f, 205.0f, 0.0f), respawn(0.0f), enable_respawn(false), taken(false)
{
    Respawn();
}

void Carrot::Respawn()
{
    for (int draw = 0; draw < kMaxPlacementDraws; ++draw) {
        position.x = rand_intvf(12.0f, 500.0f, 1.0f);
        if (ValidateCarrotLocation(this))
            break;
    }
    // The delay for the next regrowth is chosen now, when the carrot appears.
    respawn = rand_intvf(1.0f, 10.0f, 10.0f);
    SP_Fx.Add(FX::spawn, vector3f(position.x, 205.0f, 0.0f), 17.0f);
    // Only a regrowth sounds; the carrots of a new game sprout silently.
    if (enable_respawn)
        AudioEngine.spawn_dynamic(1, "Data/sFx/spawn_2.wav", 0.75f);
    enable_respawn = false;
    taken = false;
}

bool ValidateCarrotLocation(Carrot* c)
{
    if (!c)
        return false;
    float store_md = 512.0f;
    for (Carrot& other : carrots) {
        if (&other == c || other.taken)
            continue;
        float d = std::fabs(other.position.x - c->position.x);
        if (d < store_md)
            store_md = d;
    }
    return store_md > 4.0f;
}

void Carrot::Render()
{
    if (!taken) {
        SpriteBatch::Sprite(Transform2D().Translated(position.x, 205.0f), 7.0f, 15.0f, true);
    } else if (enable_respawn) {
        respawn -= global_time;
        if (respawn < 0.0f)
            Respawn();
    }
}

bool Carrot::isClicked()
{
    if (taken)
        return false;
    // A window without width has no pointer position to speak of.
    if (GUILab_inf::device_w <= 0)
        return false;
    float px = GUILab_inf::cursor.x * 512.0f / static_cast<float>(GUILab_inf::device_w);
    if (!std::isfinite(px) || std::fabs(px) > 1.0e6f)
        return false;
    int tx = static_cast<int>(px);
    return position.x - 7.0f < tx && tx < position.x + 7.0f;
}

bool RunCarrotWave()
{
    for (const Carrot& c : carrots)
        if (!c.taken || c.enable_respawn)
            return false;
    for (Carrot& c : carrots)
        c.enable_respawn = true;
    // The first hint explains the carrots again with every new wave.
    show_hints[0] = false;
    n_predator += 1;
    return true;
}
