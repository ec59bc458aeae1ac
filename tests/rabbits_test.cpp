// Rabbits: the carrot fetch to the purse, moving house, building a hole, waiting
// as bait, the arrival threshold, the sprite frames, and the eagles' links to rabbits.
#include "rules_support.h"

#include "game/fx_instances.h"
#include "math/global_time.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class Rabbits : public ::testing::Test {
protected:
    void SetUp() override
    {
        rules::StartWorld();
        rules::LayCarrots(20.0f);
    }
    // Runs world frames until `done` holds; false if it never does.
    template <typename Pred>
    static bool RunUntil(Pred done)
    {
        for (int frame = 0; frame < 5000 && !done(); ++frame)
            rules::StepWorld();
        return done();
    }
};

TEST_F(Rabbits, CarrotFetchToThePurse)
{
    Hole& home = holes[3];
    Carrot& c = carrots[0];
    c.position.x = rules::HoleX(3) + 100.0f;
    carrots_eval = 2;
    rules::ClearSlot(2);
    rules::ClearSlot(4);

    Rabbit& r = rules::SendFetch(c);
    EXPECT_EQ(EstimateHoleRabbits(3), 2) << "still one of the hole's own";
    rules::StepWorld();
    EXPECT_NEAR(r.position.x, rules::HoleX(3) + rabbits_speed * rules::kDt, 1e-4);

    float last_x = r.position.x;
    ASSERT_TRUE(RunUntil([&] {
        if (!c.taken)
            last_x = r.position.x;
        return c.taken;
    }));
    EXPECT_GE(std::fabs(last_x - c.position.x), 10.0f) << "not taken before it was within 10 units";
    EXPECT_EQ(user_score, 1);
    EXPECT_EQ(r.target.x, rules::HoleX(3)) << "heading home";
    EXPECT_TRUE(rules::SlotFired(2));
    bool carrying = false;
    for (GLuint t : rabbit_run_wc)
        carrying = carrying || rules::BoundTexture() == t;
    EXPECT_TRUE(carrying) << "drawn with the carrot once it has it";
    EXPECT_EQ(n_carrots, 0) << "nothing in the purse before it is home";

    ASSERT_TRUE(RunUntil([&] { return r.removed; }));
    EXPECT_EQ(home.rabbits, 2);
    EXPECT_TRUE(rules::SlotFired(4));
    EXPECT_EQ(user_score, 1);
    rules::StepWorld();
    EXPECT_TRUE(rabbits.empty()) << "a finished rabbit is dropped in the next frame";
    for (int frame = 0; frame < 500; ++frame)
        RenderCarrotsFX();
    EXPECT_EQ(n_carrots, 2) << "the burst credits carrots_eval once";
}

TEST_F(Rabbits, ArrivalNeedsLessThanTenUnits)
{
    rabbits_speed = 0.0f;
    Rabbit& r = rules::SendFetch(carrots[5]);
    r.position.x = carrots[5].position.x - 10.0f;
    r.Render();
    EXPECT_FALSE(carrots[5].taken);
    r.position.x = carrots[5].position.x - 9.99f;
    r.Render();
    EXPECT_TRUE(carrots[5].taken);
}

TEST_F(Rabbits, MoverEntersItsNewHoleWithoutScoring)
{
    Hole& dest = holes[1];
    dest.status = 2;
    Rabbit& r = rules::SendTo(dest);
    EXPECT_EQ(EstimateHoleRabbits(1), 1) << "counted for its destination at once";
    EXPECT_EQ(EstimateHoleRabbits(3), 1);
    ASSERT_TRUE(RunUntil([&] { return r.removed; }));
    EXPECT_EQ(dest.rabbits, 1);
    EXPECT_EQ(user_score, 0);
    EXPECT_TRUE(__spawn_carrots_fx.empty()) << "no carrot, no burst";
}

TEST_F(Rabbits, BuilderStandsUntilTheHoleIsReadyThenMovesIn)
{
    Hole& site = holes[5];
    site.status = 1;
    building_delay = 5.0f;
    Rabbit& r = rules::SendTo(site);
    ASSERT_TRUE(RunUntil([&] { return site.rate > 0.0f; }));
    const float x = r.position.x;
    site.rate = 0.0f;
    int frames = 0;
    while (site.status == 1 && frames++ < 10000) {
        rules::StepWorld();
        rules::StepHoles();
    }
    EXPECT_EQ(site.status, 2);
    EXPECT_GT(frames * rules::kDt, 4.0f) << "building_delay 5: a little over 4 s";
    EXPECT_LT(frames * rules::kDt, 4.1f);
    EXPECT_EQ(r.position.x, x) << "the builder stood still";
    EXPECT_EQ(site.rabbits, 0);
    rules::StepWorld();
    EXPECT_TRUE(r.removed);
    EXPECT_EQ(site.rabbits, 1) << "the builder is the new hole's first rabbit";
}

TEST_F(Rabbits, BaitStandsBlinkingAndNeverGoesHome)
{
    const float spot = rules::HoleX(3) + 80.0f;
    Rabbit& bait = rules::SendBait(spot);
    EXPECT_EQ(EstimateHoleRabbits(3), 1) << "a bait leaves its hole's population at once";
    ASSERT_TRUE(RunUntil([&] { return bait.reached; }));
    const float x = bait.position.x;
    EXPECT_LT(std::fabs(x - spot), 10.0f);

    int open = 0, closed = 0;
    for (int frame = 0; frame < 1000; ++frame) {
        rules::StepWorld();
        GLuint shown = rules::BoundTexture();
        ASSERT_TRUE(shown == rabbit_run[6] || shown == rabbit_run[7]);
        (shown == rabbit_run[6] ? open : closed) += 1;
    }
    EXPECT_EQ(bait.position.x, x);
    EXPECT_FALSE(bait.removed);
    EXPECT_GT(closed, 0);
    EXPECT_GT(open, 20 * closed) << "eyes open 2.5 s, closed 0.1 s";
}

TEST_F(Rabbits, AnimationFramesAtTheirEdges)
{
    rabbits_speed = 0.0f;
    Rabbit& r = rules::SendFetch(carrots[9]);
    r.fps = 6.0f;
    r.Render();
    EXPECT_EQ(rules::BoundTexture(), rabbit_run[6]);
    r.fps = 6.5f;
    r.Render();
    EXPECT_EQ(rules::BoundTexture(), rabbit_run[0]);
    r.catched = true;
    global_time = 0.0f;
    r.cfps = 2.0f;
    r.Render();
    EXPECT_EQ(rules::BoundTexture(), rabbit_taken[0]) << "2 is out of range";
}

TEST_F(Rabbits, ValidateTargetAndEagleLinksClearedBeforeARabbitGoes)
{
    Rabbit& a = rules::SendFetch(carrots[0]);
    Rabbit& b = rules::SendFetch(carrots[1]);
    EXPECT_FALSE(ValidateTarget(nullptr));
    EXPECT_TRUE(ValidateTarget(&a));
    eagles.assign(2, Eagle());
    eagles.front().target = eagles.back().target = &a;
    eagles.back().miss.push_back(&b);
    EXPECT_FALSE(ValidateTarget(&a)) << "already some eagle's prey";
    EXPECT_TRUE(ValidateTarget(&b)) << "a miss does not make a rabbit invalid";

    EraseTarget(&a);
    for (const Eagle& e : eagles)
        EXPECT_EQ(e.target, nullptr);
    EXPECT_TRUE(ValidateTarget(&a));
    EraseTarget(&b);
    EXPECT_TRUE(eagles.back().miss.empty()) << "a rabbit born later at b's address starts clean";

    a.catched = true;
    EXPECT_FALSE(ValidateTarget(&a));
    b.removed = true;
    EXPECT_FALSE(ValidateTarget(&b));
}

} // namespace
