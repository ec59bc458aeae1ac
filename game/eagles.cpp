// Eagles: they wait, enter, patrol high over the field, dive at a rabbit, seize
// it or miss it, and carry their catch away before starting over.
#include "engine/draw.h"
#include "engine/sound.h"
#include "game/state.h"
#include "math/global_time.h"
#include "math/numeric.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

bool InMiss(const Eagle& e, const Rabbit* r) { return std::find(e.miss.begin(), e.miss.end(), r) != e.miss.end(); }

// A bait waiting in the field keeps the eagles off every other rabbit near it.
bool is_inside_safe_area(const Rabbit& candidate)
{
    for (const Rabbit& r : rabbits)
        if (r.bait && !r.catched && std::fabs(candidate.position.x - r.position.x) < bait_safe_area)
            return true;
    return false;
}

} // namespace

Eagle::Eagle() : target(nullptr), position(0.0f, 0.0f, 0.0f), direction(false), delay(0.0f), fps(0.0f)
{
    // Room for the rabbits one pass can miss, made when the eagle arrives rather
    // than in the frame a rabbit escapes; clearing keeps it.
    miss.reserve(8);
    Respawn();
}

void Eagle::Respawn()
{
    direction = (rand() % 2) != 0;
    position = direction ? vector3f(557.0f, 450.0f, 0.0f) : vector3f(-45.0f, 450.0f, 0.0f);
    fps = rand_intvf(0.0f, 29.0f, 1.0f);
    delay = rand_intvf(1.0f, 6.0f, 10.0f);
    miss.clear();
}

void Eagle::Render()
{
    const float dt = global_time;

    if (delay > 0.0f) {
        delay -= dt;
        return;
    }

    if (target && target->removed)
        target = nullptr;

    if (!target) {
        position.x += direction ? -dt * predator_speed : dt * predator_speed;
        if (position.y < 450.0f)
            position.y += dt * predator_speed;
        else
            position.y = 450.0f;
        if (position.x < 30.0f) {
            // Turning round gives every rabbit that escaped a fresh chance.
            if (direction)
                miss.clear();
            direction = false;
        }
        if (position.x > 482.0f) {
            if (!direction)
                miss.clear();
            direction = true;
        }

        Rabbit* candidate = nullptr;
        for (Rabbit& r : rabbits) {
            if (r.position.x - 30.0f < position.x && position.x < r.position.x + 30.0f && ValidateTarget(&r)) {
                candidate = &r;
                break;
            }
        }
        if (candidate && !InMiss(*this, candidate) && (candidate->bait || !is_inside_safe_area(*candidate))) {
            target = candidate;
            AudioEngine.spawn_dynamic(6, "Data/sFx/eagle.wav", 1.5f);
        }
    } else if (!target->catched) {
        vector3f dir = target->position - position;
        float d = dir.length();
        dir.normalize();
        // At a low frame rate one step of the dive could carry the eagle past
        // its prey and back for ever; it stops on the rabbit instead.
        float step = std::min(dt * predator_speed * 10.0f, d);
        position += dir * step;
        direction = dir.x < 0.0f;
        if (d < 20.0f) {
            if (Chance(evasion_chance)) {
                miss.push_back(target);
                target = nullptr;
            } else {
                target->catched = true;
                if (target->hole) {
                    // Losing the builder loses the site; what was paid stays paid.
                    if (target->hole->status == 1) {
                        target->hole->status = 0;
                        target->hole->rate = 0.0f;
                        target->hole = nullptr;
                    }
                }
                // A carrot not yet taken is free again; a taken one is lost.
                target->carrot = nullptr;
            }
        }
    } else {
        vector3f up(direction ? -1.0f : 1.0f, 2.0f, 0.0f);
        up.normalize();
        position += up * dt * 80.0f;
        target->direction.x = direction ? -1.0f : 1.0f;
        target->position = position + vector3f(direction ? 7.0f : -7.0f, 0.2f, 0.0f);
        if (position.y > 557.0f || position.x < -45.0f || position.x > 557.0f) {
            target->removed = true;
            target = nullptr;
            Respawn();
        }
    }

    fps += dt * 30.0f;
    while (fps > 29.0f)
        fps -= 29.0f;
    int frame_id = static_cast<int>(fps);
    if (frame_id < 0 || frame_id > 29)
        frame_id = 0;

    BindTexture(eagle_fly[frame_id]);
    SpriteBatch::Sprite(Transform2D().Translated(position.x, position.y).Scaled(direction ? -4.5f : 4.5f, 4.5f), 10.0f,
                        15.0f, true);
}
