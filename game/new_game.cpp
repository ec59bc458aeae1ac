// Setting up a game from scratch: a fresh field, one hole with two rabbits.
#include "game/fx_instances.h"
#include "game/state.h"

void NewGame()
{
    SP_Fx.Reset();
    ResetCarrotsFX();
    n_carrots = 0;
    user_score = 0;
    // Eagles point at rabbits and rabbits at carrots: all three go before
    // anything new is laid out, so no link of the last game survives.
    carrots.clear();
    rabbits.clear();
    eagles.clear();
    n_predator = 0;
    n_lairs = 1;
    for (bool& shown : show_hints)
        shown = false;
    show_hint = false;
    hint_id = 0;
    hint_tl = 0.0f;
    // Reserving first keeps the vector from moving while each new carrot looks
    // at the ones already laid.
    carrots.reserve(10);
    for (int i = 0; i < 10; ++i)
        carrots.push_back(Carrot());
    for (Hole& h : holes) {
        h.status = 0;
        h.rabbits = 0;
        h.rate = 0.0f;
    }
    holes[3].status = 2;
    holes[3].rabbits = 2;
    selection = &holes[3];
    Skill::eval = 1;
    Skill::build = 0;
    Skill::evasion = 0;
    Skill::progeny = 0;
    Skill::speed = 0;
    develop_cost = 12;
    game_over = false;
}
