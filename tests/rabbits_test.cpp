// Rabbits: running, taking a carrot, coming home or building, waiting as bait, and the eagles' links to them.
#include "rules_support.h"

#include "game/fx_instances.h"
#include "math/global_time.h"

#include <cmath>

using Rabbits = rules::Game;

TEST_F(Rabbits, RunTakeTheCarrotWithinTenUnitsAndBringItHomeButABaitStays)
{
    global_time = 0.05f, rabbits_speed = 60.0f;
    Rabbit& runner = rules::PutRabbit(100.0f, 20.0f, selection);
    runner.Render();
    EXPECT_EQ(runner.position, vector3f(97.0f, 214.0f, 0.0f));
    rabbits_speed = 0.0f;
    for (float offset : {10.0f, -10.0f, 9.99f, -9.99f}) {
        Carrot& c = carrots[offset > 0 ? 4 : 6];
        Rabbit& r = rules::PutRabbit(c.position.x + offset, c.position.x, selection);
        r.carrot = &c;
        rules::ClearSlot(2);
        const size_t effects = SP_Fx.fx_list.size();
        const int score = user_score, arrived = std::fabs(offset) < 10.0f;
        r.Render();
        EXPECT_TRUE(c.taken == arrived && user_score == score + arrived && rules::SlotFired(2) == arrived) << offset;
        EXPECT_TRUE(SP_Fx.fx_list.size() == effects + arrived) << "the point effect at the carrot, " << offset;
        EXPECT_EQ(r.target.x, arrived ? rules::ButtonX(selection->id) : c.position.x) << "home next, " << offset;
    }
    for (Carrot* carrot : {static_cast<Carrot*>(nullptr), &carrots[6]}) {
        Rabbit& r = rules::PutRabbit(rules::ButtonX(selection->id), rules::ButtonX(selection->id), selection);
        r.reached = true, r.carrot = carrot;
        const int inside = selection->rabbits;
        rules::ClearSlot(4);
        r.Render();
        EXPECT_TRUE(r.removed && selection->rabbits == inside + 1 && rules::SlotFired(4));
        EXPECT_EQ(__spawn_carrots_fx.size(), carrot ? 1u : 0u) << "a carrot burst only for a carrot";
    }
    rabbits_speed = 60.0f;
    Rabbit& bait = rules::PutRabbit(300.0f, 305.0f, selection);
    bait.bait = true;
    bait.Render();
    const float spot = bait.position.x;
    for (int i = 0; i < 100; ++i)
        bait.Render();
    EXPECT_TRUE(bait.stand && bait.position.x == spot && !bait.removed) << "a bait stays where it stops";
}

TEST_F(Rabbits, BuildingTakesTheDelayLessOneSecondAtEachBuildLevel)
{
    global_time = 0.05f;
    for (int level : {0, 1, 2}) {
        Skill::build = level;
        ApplySkills();
        Hole& site = holes[level];
        site.status = 1;
        Rabbit& builder = rules::PutRabbit(rules::ButtonX(site.id), rules::ButtonX(site.id), &site);
        builder.reached = true;
        int frames = 0;
        for (; site.status == 1 && frames < 1000 && !builder.removed; ++frames) {
            builder.Render();
            ManageHolesEvnt(0);
        }
        EXPECT_NEAR(frames * 0.05f, 14.0f - 5.0f * static_cast<float>(level), 0.1f) << "build level " << level;
        builder.Render();
        EXPECT_TRUE(builder.removed && site.rabbits == 1) << "the builder is the new hole's first rabbit";
    }
}

TEST_F(Rabbits, EachStateWearsItsOwnPicture)
{
    global_time = 0.05f, rabbits_speed = 0.0f;
    const struct {
        bool carrot, reached, stand, blink, catched;
        GLuint picture;
    } rows[] = {{true, false, false, false, false, rabbit_run[2]}, {true, true, false, false, false, rabbit_run_wc[2]},
                {false, true, true, false, false, rabbit_run[6]},  {false, true, true, true, false, rabbit_run[7]},
                {true, true, false, false, true, rabbit_taken[0]}};
    for (const auto& row : rows) {
        Rabbit& r = rules::PutRabbit(100.0f, 400.0f, selection);
        r.carrot = row.carrot ? &carrots[0] : nullptr, r.reached = row.reached, r.stand = row.stand;
        r.blink = row.blink, r.catched = row.catched, r.fps = 2.0f, r.cfps = 0.0f;
        r.Render();
        EXPECT_EQ(rules::BoundTexture(), row.picture) << "row " << &row - rows;
    }
}

TEST_F(Rabbits, EaglesLetGoOfARabbitBeforeItIsErased)
{
    Rabbit &a = rules::PutRabbit(100.0f, 400.0f, selection), &b = rules::PutRabbit(200.0f, 400.0f, selection);
    eagles.assign(2, Eagle());
    eagles.front().target = eagles.back().target = &a;
    EXPECT_TRUE(!ValidateTarget(&a) && ValidateTarget(&b) && !ValidateTarget(nullptr)) << "a is an eagle's prey";
    EraseTarget(&a);
    EXPECT_TRUE(eagles.front().target == nullptr && eagles.back().target == nullptr && ValidateTarget(&a));
    a.catched = b.removed = true;
    EXPECT_FALSE(ValidateTarget(&a) || ValidateTarget(&b)) << "caught or finished";
}
