// The colony's holes: population counts, buying rabbits, finishing
// constructions, choosing the source hole, and the tray's hole buttons.
#include "engine/sound.h"
#include "game/state.h"
#include "math/global_time.h"
#include "math/numeric.h"

namespace {

bool ValidIndex(int index) { return index >= 0 && index < 7; }

// The tray may be missing or short: every button write goes through here and a
// missing button is simply left alone, so the game runs without its tray.
void SetIcon(int button, GLuint icon)
{
    if (GUILab::Button* b = gui.GetButton(button))
        b->SetIcon(icon);
}

void SetHidden(int button, bool hidden)
{
    if (GUILab::Button* b = gui.GetButton(button))
        b->hide = hidden;
}

bool ButtonClicked(int button)
{
    GUILab::Button* b = gui.GetButton(button);
    return b && b->isClicked();
}

// Hole 6 has its target button in front of the others.
int TargetButton(int index) { return index == 6 ? 113 : 114 + index; }

} // namespace

int EstimateHoleRabbits(int index)
{
    if (!ValidIndex(index))
        return 0;
    const Hole* h = &holes[index];
    int population = h->rabbits;
    // A rabbit that has just walked in is already counted inside its hole until
    // the list drops it, so finished rabbits are left out here.
    for (const Rabbit& r : rabbits)
        if (r.hole == h && !r.bait && !r.catched && !r.removed)
            ++population;
    return population;
}

int EstimateTotalRabbits()
{
    int total = 0;
    for (int i = 0; i < 7; ++i)
        total += EstimateHoleRabbits(i);
    return total;
}

bool CanProcreate(int index)
{
    if (!ValidIndex(index))
        return false;
    const Hole& h = holes[index];
    return h.status == 2 && h.rabbits >= 2 && EstimateHoleRabbits(index) < holes_capacity &&
           n_carrots >= rabbit_cost;
}

void ManageHoleGraph(int index)
{
    // One timer for every hole, so all the slot rabbits blink together.
    static bool blink = false;
    static float next_blink = 2.5f;

    if (!ValidIndex(index))
        return;
    Hole& h = holes[index];

    SetIcon(h.id, &h == selection ? GUI::hole[1] : GUI::hole[0]);
    SetIcon(h.id + 10, GUI::add);
    SetIcon(h.id + 12, GUI::building[0]);
    SetIcon(h.id + 13, GUI::building[1]);

    if (index == 0) {
        next_blink -= global_time;
        if (next_blink < 0.0f) {
            blink = !blink;
            next_blink = blink ? 0.1f : 2.5f;
        }
    }

    for (int k = 1; k <= 9; ++k)
        SetIcon(h.id + 10 - k, blink ? rabbit_run[7] : rabbit_run[6]);

    SetHidden(h.id + 10, !CanProcreate(index));
    SetHidden(h.id, h.status == 0);
    for (int i = 0; i < 7; ++i)
        SetHidden(TargetButton(i), holes[i].status != 2);

    for (int i = 0; i < 7; ++i)
        SetIcon(TargetButton(i), &holes[i] == selection ? GUI::target[1] : GUI::target[0]);

    for (int k = 1; k <= 9; ++k)
        SetHidden(h.id + 10 - k, h.rabbits < k);

    SetHidden(h.id + 12, h.status != 1);
    SetHidden(h.id + 13, h.status != 1);

    if (GUILab::Button* bar = gui.GetButton(h.id + 13))
        bar->w = RateInterpole(0.5f, 12.5f, h.rate);
}

void ManageHolesEvnt(int event)
{
    for (int i = 0; i < 7; ++i) {
        Hole& h = holes[i];
        if (h.status == 1 && h.rate > 100.0f) {
            // Ready but empty: the builder walks in on its own.
            h.rate = 0.0f;
            h.status = 2;
        }
        if (event == h.id + 10 && CanProcreate(i)) {
            h.rabbits += 1;
            n_carrots -= rabbit_cost;
            AudioEngine.spawn_dynamic(3, "Data/sFx/spawn.wav", 2.5f);
        }
    }
    // Hidden target buttons still answer clicks; only a ready hole may be chosen.
    for (int i = 0; i < 6; ++i)
        if (ButtonClicked(114 + i) && holes[i].status == 2)
            selection = &holes[i];
    if (ButtonClicked(113) && holes[6].status == 2)
        selection = &holes[6];
}

void ManageHolesSct(int event)
{
    for (int i = 0; i < 7; ++i)
        if (event == holes[i].id + 10 && CanProcreate(i))
            cursor = Cursor::spawn;
}
