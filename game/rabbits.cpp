// Rabbits out of their holes: fetching carrots, moving house, building and
// waiting as bait; their animation and drawing; and the eagles' links to them.
#include "engine/draw.h"
#include "engine/sound.h"
#include "game/fx_instances.h"
#include "game/state.h"
#include "math/global_time.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>

Rabbit::Rabbit()
    : position(0.0f, 214.0f, 0.0f), direction(0.0f, 0.0f, 0.0f), target(256.0f, 256.0f, 0.0f), carrot(nullptr),
      hole(nullptr), reached(false), catched(false), removed(false), stand(false), bait(false), cfps(0.0f),
      fps(0.0f), blink(false), next_blink(2.5f)
{
    // Rabbits start at different points of their cycles so they never run in step.
    cfps = static_cast<float>(rand() % 2);
    fps = static_cast<float>(rand() % 6);
}

void Rabbit::Render()
{
    const float dt = global_time;

    fps += dt * rabbits_speed * 0.5f;
    while (fps > 6.0f)
        fps -= 6.0f;
    int frame_id = static_cast<int>(fps);
    if (frame_id < 0 || frame_id > 6)
        frame_id = 0;

    if (bait && reached) {
        frame_id = 0;
    } else if (catched) {
        frame_id = 0;
    } else {
        if (!stand) {
            direction = target - position;
            direction.y = 0.0f;
            direction.normalize();
            position += direction * dt * rabbits_speed;
        }
        if (std::fabs(position.x - target.x) < 10.0f) {
            if (!reached) {
                if (hole) {
                    // Home is where the hole's tray button is; without a tray the
                    // rabbit keeps its goal and goes in where it stands.
                    if (GUILab::Button* b = gui.GetButton(hole->id))
                        target.x = b->position.x;
                    target.y = 212.0f;
                }
                if (carrot) {
                    if (!carrot->taken) {
                        carrot->taken = true;
                        user_score += 1;
                        SP_Fx.Add(FX::point, carrot->position, 17.0f);
                        AudioEngine.spawn_dynamic(2, "Data/sFx/ding.wav", 0.75f);
                    } else {
                        // Someone else's harvest: nothing to carry home, nothing to credit.
                        carrot = nullptr;
                    }
                }
                if (bait)
                    stand = true;
                reached = true;
            } else {
                stand = true;
                if (hole) {
                    if (hole->status == 2) {
                        hole->rabbits += 1;
                        AudioEngine.spawn_dynamic(4, "Data/sFx/swoosh.wav", 1.5f);
                        if (carrot)
                            SpawnCarrotsFX(position + vector3f(0.0f, -15.0f, 0.0f));
                        removed = true;
                    } else {
                        // The builder works the site until it is ready, then moves in.
                        hole->rate += dt * 100.0f / (building_delay - 1.0f);
                    }
                }
            }
        }
    }

    if (stand) {
        next_blink -= dt;
        if (next_blink < 0.0f) {
            blink = !blink;
            next_blink = blink ? 0.1f : 2.5f;
        }
        frame_id = blink ? 7 : 6;
    }

    cfps += dt * 7.0f;
    while (cfps > 2.0f)
        cfps -= 2.0f;
    if (catched) {
        frame_id = static_cast<int>(cfps);
        if (frame_id < 0 || frame_id > 1)
            frame_id = 0;
    }

    if (catched)
        BindTexture(rabbit_taken[frame_id]);
    else if (carrot && reached)
        BindTexture(rabbit_run_wc[frame_id]);
    else
        BindTexture(rabbit_run[frame_id]);
    Transform2D at = Transform2D().Translated(position.x, position.y);
    if (direction.x < 0.0f)
        at = at.Scaled(-1.0f, 1.0f);
    SpriteBatch::Sprite(at, 10.0f, 15.0f, true);
}

bool null_rabbit(const Rabbit& entity) { return entity.removed; }

void EraseTarget(Rabbit* rabbit)
{
    for (Eagle& e : eagles) {
        if (e.target == rabbit)
            e.target = nullptr;
        // A later rabbit may be born at the same address; it must not inherit
        // this one's escape.
        e.miss.erase(std::remove(e.miss.begin(), e.miss.end(), rabbit), e.miss.end());
    }
}

bool ValidateTarget(Rabbit* rabbit)
{
    if (!rabbit || rabbit->catched || rabbit->removed)
        return false;
    for (const Eagle& e : eagles)
        if (e.target == rabbit)
            return false;
    return true;
}
