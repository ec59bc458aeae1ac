// The game's globals at start, and what a new game sets, keeps and drops.
#include "rules_support.h"

#include "game/fx_instances.h"

#include <algorithm>

template <typename T>
struct Row {
    const char* name;
    T* value;
    T start, new_game;
    bool kept;
};

// Columns: the global, its value at start, what a new game sets it to, or whether it keeps it.
#define ROW(global, start, new_game, kept) {#global, &global, start, new_game, kept}
const Row<int> kInts[] = {
    ROW(evasion_chance, 0, 0, true), ROW(holes_capacity, 3, 0, true), ROW(carrots_eval, 3, 0, true),
    ROW(rabbit_cost, 2, 0, true), ROW(develop_cost, 12, 12, false), ROW(n_predator, 0, 0, false),
    ROW(lairs_limit, 8, 0, true), ROW(n_lairs, 1, 1, false), ROW(n_carrots, 0, 0, false), ROW(user_score, 0, 0, false),
    ROW(user_record, 0, 0, true), ROW(Skill::eval, 0, 1, false), ROW(Skill::build, 0, 0, false),
    ROW(Skill::evasion, 0, 0, false), ROW(Skill::progeny, 0, 0, false), ROW(Skill::speed, 0, 0, false),
    ROW(mode, 0, 0, true), ROW(hint_id, 0, 0, false),
};
const Row<float> kFloats[] = {
    ROW(building_delay, 15.0f, 0, true), ROW(rabbits_speed, 30.0f, 0, true), ROW(bait_safe_area, 100.0f, 0, true),
    ROW(predator_speed, 30.0f, 0, true), ROW(hint_tl, 0.0f, 0.0f, false),
};
const Row<bool> kBools[] = {
    ROW(game_over, false, false, false), ROW(show_hint, false, false, false), ROW(show_menu, true, false, true),
    ROW(show_skills, false, false, true), ROW(show_credits, false, false, true), ROW(show_helps, false, false, true),
    ROW(developer_mode, false, false, true), ROW(show_hints[0], false, false, false),
    ROW(show_hints[4], false, false, false),
};
#undef ROW

template <typename Each>
static void ForRows(Each each)
{
    std::for_each(std::begin(kInts), std::end(kInts), each);
    std::for_each(std::begin(kFloats), std::end(kFloats), each);
    std::for_each(std::begin(kBools), std::end(kBools), each);
}

// Runs before any game is set up in this process, so it sees the values at start.
TEST(GameState, StartValuesThenWhatANewGameSetsOrKeeps)
{
    ForRows([](const auto& r) { EXPECT_EQ(*r.value, r.start) << r.name << " at start"; });
    for (const Hole& h : holes)
        EXPECT_TRUE(h.rabbits == 0 && h.status == 0 && h.rate == 0.0f && h.id == 0);
    EXPECT_TRUE(selection == nullptr && carrots.empty() && rabbits.empty() && eagles.empty());

    ForRows([](const auto& r) { *r.value = !r.start; }); // unlike every start value, to see what is kept
    for (int i = 0; i < 7; ++i)
        holes[i].rabbits = 4, holes[i].status = 2, holes[i].rate = 30.0f, holes[i].id = 100 + i;
    selection = &holes[0];
    rabbits.emplace_back();
    eagles.emplace_back();
    eagles.back().target = &rabbits.back();
    SpawnCarrotsFX(vector3f(300.0f, 200.0f, 0.0f));
    SP_Fx.Add(FX::point, vector3f(100.0f, 200.0f, 0.0f), 17.0f);
    NewGame();
    ForRows([](const auto& r) { EXPECT_EQ(*r.value, r.kept ? decltype(r.start)(!r.start) : r.new_game) << r.name; });
    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(holes[i].status == (i == 3 ? 2 : 0) && holes[i].rabbits == (i == 3 ? 2 : 0) && holes[i].rate == 0 &&
                    holes[i].id == 100 + i)
            << "hole " << i;
    EXPECT_TRUE(selection == &holes[3] && carrots.size() == 10 && rabbits.empty() && eagles.empty());
    EXPECT_TRUE(SP_Fx.fx_list.size() == 10 && __spawn_carrots_fx.empty()) << "only the ten new carrots' sprouts";
}
