// Shared set-up for the rule tests (see rules_support.h).
#include "rules_support.h"

#include "engine/sound.h"
#include "game/carrots.h"
#include "game/fx_instances.h"
#include "gl_context.h"
#include "math/global_time.h"

#include <cstdlib>

namespace rules {

namespace {

const int kHoleIds[7] = {16, 31, 46, 61, 76, 91, 1};

void MakeNames(GLuint* names, int count)
{
    if (names[0] == 0)
        glGenTextures(count, names);
}

Rabbit& Send(float target_x, Hole* hole)
{
    Rabbit r;
    GUILab::Button* b = gui.GetButton(selection->id);
    r.position.x = b ? b->position.x : 256.0f;
    r.target = vector3f(target_x, 256.0f, 0.0f);
    r.hole = hole;
    rabbits.push_back(r);
    selection->rabbits -= 1;
    return rabbits.back();
}

} // namespace

float HoleX(int hole) { return 60.0f + 60.0f * static_cast<float>(hole); }
float TargetY() { return 130.0f; }

void BuildTray()
{
    gui.buttons.assign(121, GUILab::Button(0u, -100.0f, -100.0f, 1.0f, 1.0f));
    for (int h = 0; h < 7; ++h) {
        gui.GetButton(kHoleIds[h])->Repos(HoleX(h), kHoleY);
        gui.GetButton(kHoleIds[h])->Reshape(20.0f, 15.0f);
        int target = h == 6 ? 113 : 114 + h;
        gui.GetButton(target)->Repos(HoleX(h), TargetY());
        gui.GetButton(target)->Reshape(10.0f, 10.0f);
    }
}

void PointerAt(float x, float y)
{
    GUILab_inf::landscape = false;
    GUILab_inf::device_w = 512;
    GUILab_inf::device_h = 512;
    GUILab_inf::cursor = vector2f(x, 512.0f - y);
}

void ClickAt(float x, float y)
{
    PointerAt(x, y);
    GUILab_inf::s_touch = GUILab_inf::touch = true;
}

void ReleasePointer() { GUILab_inf::s_touch = GUILab_inf::touch = false; }

void StartWorld()
{
    bm::EnsureGlContext();
    static bool audio = [] {
        bool started = StartAudioOutput();
        std::atexit(StopAudioOutput);
        return started;
    }();
    (void)audio;
    for (int h = 0; h < 7; ++h)
        holes[h].id = kHoleIds[h];
    BuildTray();
    MakeNames(rabbit_run, 8);
    MakeNames(rabbit_run_wc, 8);
    MakeNames(rabbit_taken, 2);
    MakeNames(eagle_fly, 30);
    global_time = kDt;
    ReleasePointer();
    PointerAt(-50.0f, -50.0f);
    mode = 0;
    developer_mode = false;
    NewGame();
    ApplySkills();
}

Rabbit& SendFetch(Carrot& carrot)
{
    Rabbit& r = Send(carrot.position.x, selection);
    r.carrot = &carrot;
    return r;
}

Rabbit& SendTo(Hole& destination)
{
    GUILab::Button* b = gui.GetButton(destination.id);
    return Send(b ? b->position.x : 256.0f, &destination);
}

Rabbit& SendBait(float x)
{
    Rabbit& r = Send(x, selection);
    r.bait = true;
    return r;
}

void StepWorld()
{
    RunCarrotWave();
    for (Carrot& c : carrots)
        c.Render();
    for (Rabbit& r : rabbits)
        if (r.removed)
            EraseTarget(&r);
    rabbits.remove_if(null_rabbit);
    for (Rabbit& r : rabbits)
        r.Render();
    for (Eagle& e : eagles)
        e.Render();
    while (static_cast<int>(eagles.size()) < n_predator)
        eagles.push_back(Eagle());
}

void StepHoles(int clicked)
{
    for (int i = 0; i < 7; ++i)
        ManageHoleGraph(i);
    ManageHolesEvnt(clicked);
    ManageHolesSct(0);
}

void LayCarrots(float x0)
{
    for (size_t i = 0; i < carrots.size(); ++i) {
        carrots[i].position.x = x0 + 37.0f * static_cast<float>(i);
        if (carrots[i].position.x > 500.0f)
            carrots[i].position.x -= 488.0f;
        carrots[i].taken = false;
        carrots[i].enable_respawn = false;
    }
}

void ClearSlot(int slot)
{
    AudioEngine.s[slot].Stop();
    AudioEngine.s[slot].Destroy();
}

bool SlotFired(int slot) { return AudioEngine.s[slot].alSource != 0; }

GLuint BoundTexture()
{
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    return static_cast<GLuint>(bound);
}

} // namespace rules
