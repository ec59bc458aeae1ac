// The skills screen: five skills of two levels each, bought with carrots, with
// their prices in red when out of reach and pulsing green when affordable.
#include "engine/draw.h"
#include "game/screens_internal.h"
#include "game/state.h"
#include "math/numeric.h"

#include <GL/gl.h>

namespace {

struct SkillRow {
    int* level;
    int level1_button;
    int level2_button;
    int arrow_button;
    int level1_label;
    int level2_label;
    int cost_x1;
    int cost_x2;
    GLuint* pictures; // not bought, lit, decoration
};

constexpr int kCloseButton = 16;

// In the order the prices are printed.
const SkillRow kSkillRows[5] = {
    {&Skill::speed, 6, 4, 27, 37, 38, Skill::speed_cost_x1, Skill::speed_cost_x2, GUI::pu_speed},
    {&Skill::build, 9, 7, 28, 46, 39, Skill::build_cost_x1, Skill::build_cost_x2, GUI::pu_build},
    {&Skill::evasion, 12, 10, 29, 45, 40, Skill::evasion_cost_x1, Skill::evasion_cost_x2, GUI::pu_evasion},
    {&Skill::eval, 15, 13, 30, 44, 41, Skill::eval_cost_x1, Skill::eval_cost_x2, GUI::pu_eval},
    {&Skill::progeny, 3, 1, 31, 43, 42, Skill::progeny_cost_x1, Skill::progeny_cost_x2, GUI::pu_progeny},
};

bool CanBuyLevel1(const SkillRow& s) { return *s.level == 0 && n_carrots >= s.cost_x1; }
// Level 2 asks only that it is not owned yet, so it can be bought straight from level 0.
bool CanBuyLevel2(const SkillRow& s) { return *s.level < 2 && n_carrots >= s.cost_x2; }

void PrintPrice(int label_button, int price, float pulse)
{
    GUILab::Button* label = skills.GetButton(label_button);
    if (!label)
        return;
    if (n_carrots < price)
        DrawColor(1.0f, 0.0f, 0.0f, 1.0f);
    else
        DrawColor(0.0f, 1.0f, 0.0f, pulse);
    glPrintText(label->position.x, label->position.y - 15.0f, 5, false, "(%d)", price);
}

void Buy(const SkillRow& s, int level, int price)
{
    *s.level = level;
    n_carrots -= price;
    PlayPowerUp();
}

} // namespace

void SkillsScreen()
{
    for (const SkillRow& s : kSkillRows) {
        Panel::SetIcon(skills, s.level1_button, *s.level > 0 ? s.pictures[1] : s.pictures[0]);
        Panel::SetIcon(skills, s.level2_button, *s.level == 2 ? s.pictures[1] : s.pictures[0]);
        Panel::SetHide(skills, s.level1_label, *s.level > 0);
        Panel::SetHide(skills, s.level2_label, *s.level != 1);
        Panel::SetHide(skills, s.arrow_button, *s.level == 0);
    }

    skills.Display();

    static Oscillator signal(0.5f, 1.0f, 3.0f);
    signal.simulate();

    for (const SkillRow& s : kSkillRows) {
        if (*s.level == 0)
            PrintPrice(s.level1_label, s.cost_x1, signal);
        if (*s.level == 1)
            PrintPrice(s.level2_label, s.cost_x2, signal);
    }
    DrawColor(1.0f, 1.0f, 1.0f, 1.0f);

    int clicked = skills.Event(3);
    if (clicked == kCloseButton)
        show_skills = false;
    for (const SkillRow& s : kSkillRows) {
        if (clicked == s.level1_button && CanBuyLevel1(s))
            Buy(s, 1, s.cost_x1);
        else if (clicked == s.level2_button && CanBuyLevel2(s))
            Buy(s, 2, s.cost_x2);
    }

    int hovered = skills.Event(1);
    for (const SkillRow& s : kSkillRows)
        if ((hovered == s.level1_button && CanBuyLevel1(s)) || (hovered == s.level2_button && CanBuyLevel2(s)))
            cursor = Cursor::skill;
}
