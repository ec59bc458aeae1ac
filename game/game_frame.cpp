// One frame of the running game: skills to rules, the tray, the player's click,
// the world (carrots, rabbits, eagles), the loss, and the heads-up display.
#include "engine/draw.h"
#include "engine/guilab.h"
#include "engine/sound.h"
#include "game/carrots.h"
#include "game/fx_instances.h"
#include "game/input.h"
#include "game/screens_internal.h"
#include "game/state.h"
#include "math/global_time.h"
#include "math/numeric.h"

#include <GL/freeglut.h>
#include <cstdlib>

namespace {

// Tray buttons with a role of their own (the hole groups are the holes' business).
constexpr int kHelpButton = 107;
constexpr int kMoveButton = 108;
constexpr int kSacrificeButton = 109;
constexpr int kBuildButton = 110;
constexpr int kSkillButton = 111;
constexpr int kBackButton = 121;

// Pointer bands of the field, in virtual y.
bool InFieldBand(int rate_y) { return rate_y >= 193 && rate_y <= 239; }
bool InSacrificeBand(int rate_y) { return rate_y >= 193 && rate_y <= 229; }
bool InHoleBand(int rate_y) { return rate_y <= 156; }

bool CarrotIsFetched(const Carrot* c)
{
    for (const Rabbit& r : rabbits)
        if (r.carrot == c)
            return true;
    return false;
}

bool HoleIsTargeted(const Hole* h)
{
    for (const Rabbit& r : rabbits)
        if (r.hole == h)
            return true;
    return false;
}

// A hole that a rabbit from the selected hole may move into.
bool AcceptsMovingRabbit(int i)
{
    return holes[i].status == 2 && &holes[i] != selection && EstimateHoleRabbits(i) < holes_capacity &&
           Panel::IsSelected(gui, holes[i].id);
}

// A rabbit leaves the selected hole from its tray button. Without that button
// there is no place to start from, and nobody leaves.
bool SendRabbit(Rabbit& r)
{
    GUILab::Button* home = gui.GetButton(selection->id);
    if (!home)
        return false;
    r.position.x = home->position.x;
    rabbits.push_back(r);
    selection->rabbits -= 1;
    return true;
}

void ClickInMoveMode(int rate_y)
{
    if (InFieldBand(rate_y)) {
        for (Carrot& c : carrots) {
            if (!c.isClicked() || CarrotIsFetched(&c))
                continue;
            Rabbit r;
            r.target = vector3f(c.position.x, 256.0f, 0.0f);
            r.carrot = &c;
            r.hole = selection;
            SendRabbit(r);
            return;
        }
    } else if (InHoleBand(rate_y)) {
        for (int i = 0; i < 7; ++i) {
            if (!AcceptsMovingRabbit(i))
                continue;
            Rabbit r;
            r.hole = &holes[i];
            r.target.x = gui.GetButton(holes[i].id)->position.x;
            SendRabbit(r);
            return;
        }
    }
}

void ClickInBuildMode()
{
    if (n_lairs >= lairs_limit || n_carrots < develop_cost)
        return;
    int site = -1;
    for (int i = 0; i < 7 && site < 0; ++i)
        if (Panel::IsSelected(gui, holes[i].id))
            site = i;
    if (site < 0 || HoleIsTargeted(&holes[site]) || holes[site].status != 0)
        return;
    Rabbit r;
    r.hole = &holes[site];
    r.target.x = gui.GetButton(holes[site].id)->position.x;
    if (!SendRabbit(r))
        return;
    holes[site].status = 1;
    n_carrots -= develop_cost;
    // Each hole costs a third more than the last, up to a ceiling.
    develop_cost += develop_cost / 3;
    if (develop_cost > 49)
        develop_cost = 49;
    mode = 0;
    n_lairs += 1;
}

void ClickInSacrificeMode(int rate_x, int rate_y)
{
    if (!InSacrificeBand(rate_y))
        return;
    Rabbit r;
    r.target = vector3f(static_cast<float>(rate_x), 256.0f, 0.0f);
    r.hole = selection;
    r.bait = true;
    if (SendRabbit(r))
        mode = 0;
}

void HandleClick(int rate_x, int rate_y)
{
    if (mode == 0)
        ClickInMoveMode(rate_y);
    else if (mode == 1)
        ClickInBuildMode();
    else if (mode == 2)
        ClickInSacrificeMode(rate_x, rate_y);
}

void RefreshModeButtons()
{
    Panel::SetIcon(gui, kMoveButton, mode == 0 ? GUI::move[1] : GUI::move[0]);
    Panel::SetIcon(gui, kSacrificeButton, mode == 2 ? GUI::sacrifice[1] : GUI::sacrifice[0]);
    Panel::SetIcon(gui, kBuildButton, mode == 1 ? GUI::build[1] : GUI::build[0]);
    if (selection->rabbits < 1) {
        Panel::SetIcon(gui, kMoveButton, GUI::move[2]);
        Panel::SetIcon(gui, kSacrificeButton, GUI::sacrifice[2]);
    }
    if (selection->rabbits < 1 || n_carrots < develop_cost || n_lairs >= lairs_limit)
        Panel::SetIcon(gui, kBuildButton, GUI::build[2]);
}

void CheckMode()
{
    if (game_over)
        mode = 0;
    if (mode == 1 && n_lairs >= lairs_limit)
        mode = 0;
    if (mode == 2 && selection->rabbits < 1)
        mode = 0;
    if (mode == 1 && (selection->rabbits < 1 || n_carrots < develop_cost))
        mode = 0;
}

// In build mode the empty sites show faintly, and brightly under the pointer.
void ShowEmptySites()
{
    static Oscillator signal(0.3f, 0.5f, 0.5f);
    for (int i = 0; i < 7; ++i) {
        if (holes[i].status != 0)
            continue;
        signal.simulate();
        GUILab::Button* site = gui.GetButton(holes[i].id);
        if (!site)
            continue;
        site->hide = false;
        if (site->isSelected())
            DrawColor(0.5f, 1.0f, 0.5f, 1.0f);
        else
            DrawColor(1.0f, 1.0f, 1.0f, signal);
        site->Display();
        DrawColor(1.0f, 1.0f, 1.0f, 1.0f);
        site->hide = true;
    }
}

// The glow under each waiting bait spans the stretch it shields from the eagles.
void DrawBaitGlow()
{
    static Oscillator alpha(0.35f, 0.75f, 1.0f);
    alpha.simulate();
    DrawColor(1.0f, 1.0f, 1.0f, alpha);
    for (const Rabbit& r : rabbits) {
        if (!r.bait || r.catched || r.removed)
            continue;
        GUILab::Button safe_region(glow_pattern, r.position.x, r.position.y - 15.0f, bait_safe_area * 1.15f, 10.0f);
        safe_region.Display();
    }
    DrawColor(1.0f, 1.0f, 1.0f, 1.0f);
}

void RunWorld()
{
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    BindTexture(carrot_pattern);

    RunCarrotWave();
    for (Carrot& c : carrots)
        c.Render();
    // No eagle may keep pointing at a rabbit that is about to be erased.
    for (Rabbit& r : rabbits)
        if (r.removed)
            EraseTarget(&r);
    rabbits.remove_if(null_rabbit);
    for (Rabbit& r : rabbits)
        r.Render();
    for (Eagle& e : eagles)
        e.Render();
    while (eagles.size() < static_cast<size_t>(n_predator > 0 ? n_predator : 0))
        eagles.emplace_back();

    SpriteBatch::Flush();
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}

void DrawPurse()
{
    if (n_carrots > 98) {
        n_carrots = 99;
        DrawColor(1.0f, 0.1f, 0.0f, 1.0f);
    }
    glPrintText(60, 4, 4, false, "x %d", n_carrots);
    DrawColor(1.0f, 1.0f, 1.0f, 1.0f);
}

// The game-over picture fades in from 2 s after the loss to full at 6 s.
void DrawGameOver()
{
    static float go_tl = 0.0f;
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
    if (!game_over) {
        go_tl = 0.0f;
    } else {
        go_tl += global_time * 0.25f;
        if (go_tl > 1.5f)
            go_tl = 1.5f;
    }
    if (go_tl > 0.5f) {
        DrawColor(1.0f, 1.0f, 1.0f, go_tl - 0.5f);
        BindTexture(GUI::game_over);
        RenderOnViewport(1.0f, vector3f(0.0f, 0.0f, 0.0f));
        DrawColor(1.0f, 1.0f, 1.0f, 1.0f);
    }
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}

void ChoosePointer(int rate_y)
{
    if (selection->rabbits < 1)
        return;
    if (mode == 2 && InSacrificeBand(rate_y))
        cursor = Cursor::bait;
    if (mode == 1 && n_carrots >= develop_cost)
        cursor = Cursor::build;
    if (game_over || mode != 0)
        return;
    if (InFieldBand(rate_y)) {
        for (Carrot& c : carrots) {
            if (c.isClicked()) {
                cursor = Cursor::take;
                break;
            }
        }
    } else if (InHoleBand(rate_y)) {
        for (int i = 0; i < 7; ++i) {
            if (AcceptsMovingRabbit(i)) {
                cursor = Cursor::hole;
                break;
            }
        }
    }
}

void DrawRabbitPrices()
{
    for (int i = 0; i < 7; ++i) {
        if (!CanProcreate(i))
            continue;
        GUILab::Button* add = gui.GetButton(holes[i].id + 10);
        if (!add)
            continue;
        DrawColor(0.0f, 0.0f, 0.0f, 1.0f);
        glPrintText(add->position.x - 2.0f, add->position.y - 4.75f, 4, true, "%d", rabbit_cost);
        DrawColor(1.0f, 1.0f, 1.0f, 1.0f);
    }
}

void ScoreAndRecord()
{
    if (user_score > user_record && !developer_mode)
        StoreRecord();
    DrawColor(1.0f, 1.0f, 1.0f, 1.0f);
    if (user_score >= user_record && user_score > 0) {
        user_record = user_score;
        // While this game holds the record the texts flicker from red to yellow.
        DrawColor4ub(255, static_cast<GLubyte>(rand() % 255), 0, 255);
    }
    glPrintText(445, 479, 4, false, "record: %d", user_record);
    glPrintText(445, 458, 4, false, "score: %d", user_score);
    DrawColor(1.0f, 1.0f, 1.0f, 1.0f);
}

void DrawBuildPrice()
{
    if (selection->rabbits < 1)
        return;
    if (n_carrots < develop_cost)
        DrawColor(1.0f, 0.0f, 0.0f, 1.0f);
    else
        DrawColor(1.0f, 1.0f, 1.0f, 1.0f);
    if (n_lairs < lairs_limit) {
        glPrintText(260, 4, 4, false, "(%d)", develop_cost);
    } else {
        DrawColor(1.0f, 0.0f, 0.0f, 1.0f);
        glPrintText(260, 4, 4, false, "(max)");
    }
    DrawColor(1.0f, 1.0f, 1.0f, 1.0f);
}

void StartHint(int k)
{
    PlayPowerUp();
    hint_id = k;
    hint_tl = 0.0f;
    show_hint = true;
}

// Hints wait for the first second of the run, and come one at a time in
// order of urgency: the eagles first, then the basics, then the purse.
void TriggerHints()
{
    static float game_tl = 0.0f;
    if (game_tl < 1.0f)
        game_tl += global_time;
    if (developer_mode || game_tl <= 1.0f || game_over)
        return;
    auto due = [](int k) { return !show_hint && !show_hints[k]; };
    if (due(4) && !eagles.empty())
        StartHint(4);
    else if (due(0))
        StartHint(0);
    else if (due(1) && n_carrots > 1 && selection->rabbits > 1)
        StartHint(1);
    else if (due(2) && n_carrots > 4)
        StartHint(2);
    else if (due(3) && n_carrots > 11)
        StartHint(3);
}

void ShowHint()
{
    if (!show_hint)
        return;
    show_hints[hint_id] = true;
    hint_tl += global_time;
    float a = RateInterpole(1.5f, 0.0f, GetRate(hint_tl, 6.0f));
    if (a > 1.0f)
        a = 1.0f;
    static Oscillator signal(0.5f, 1.0f, 6.0f);
    signal.simulate();
    float shown = hint_tl <= 0.5f ? signal * a : a;
    // The fade ends at zero; rounding must not leave the hint stuck just below it.
    if (a > 0.0f) {
        glEnable(GL_BLEND);
        glDepthMask(GL_FALSE);
        DrawColor(1.0f, 1.0f, 1.0f, shown);
        BindTexture(GUI::hints[hint_id]);
        RenderOnViewport(0.4f, vector3f(0.0f, 90.0f, 0.0f));
        DrawColor(1.0f, 1.0f, 1.0f, 1.0f);
        glDepthMask(GL_TRUE);
        glDisable(GL_BLEND);
    } else {
        show_hint = false;
    }
}

} // namespace

void Render()
{
    static bool lmp = false;

    ApplySkills();
    if (developer_mode) {
        n_carrots = 999;
        Skill::eval = Skill::build = Skill::evasion = Skill::progeny = Skill::speed = 2;
    }

    if (selection)
        RefreshModeButtons();
    for (int i = 0; i < 7; ++i)
        ManageHoleGraph(i);

    gui.Display();
    int id = gui.Event(3);
    int s_id = gui.Event(1);

    int rate_x = frame_input.virtual_x;
    int rate_y = frame_input.virtual_y;

    if (frame_input.left_button && !game_over) {
        // Only a press that began in this frame acts: the press that closed the
        // menu or another screen is not also a click in the field.
        if (!lmp && GUILab_inf::s_touch && selection->rabbits >= 1)
            HandleClick(rate_x, rate_y);
        lmp = true;
    } else {
        lmp = false;
    }

    ManageHolesEvnt(id);
    ManageHolesSct(s_id);

    if (id == kMoveButton || frame_input.r)
        mode = 0;
    if (id == kSacrificeButton || frame_input.b)
        mode = 2;
    if (id == kBuildButton || frame_input.g)
        mode = 1;

    if (id == kBackButton)
        show_menu = true;
    if (id == kHelpButton)
        show_helps = true;
    if (id == kSkillButton && !game_over)
        show_skills = true;
    if (s_id == kSkillButton && !game_over)
        cursor = Cursor::skill;

    CheckMode();
    if (mode == 1)
        ShowEmptySites();

    DrawBaitGlow();
    RunWorld();

    // The eagles hunt faster as the score grows, from 30 at 0 to 90 at 100.
    predator_speed = RateInterpole(30.0f, 90.0f, GetRate(static_cast<float>(user_score), 100.0f));

    if (developer_mode)
        glPrintText(256, 300, 4, true, "x(%d) y(%d)", rate_x, rate_y);
    DrawPurse();

    if (EstimateTotalRabbits() < 1)
        game_over = true;
    DrawGameOver();

    ChoosePointer(rate_y);
    DrawRabbitPrices();

    SP_Fx.Display();
    RenderCarrotsFX();

    ScoreAndRecord();
    DrawBuildPrice();

    TriggerHints();
    ShowHint();
}
