// Eagles: entering after their delay, patrolling and reversing, choosing prey,
// the bait's shield, strikes that seize or miss, and carrying a rabbit away.
#include "rules_support.h"

#include "math/global_time.h"

#include <gtest/gtest.h>

namespace {

class Eagles : public ::testing::Test {
protected:
    void SetUp() override
    {
        rules::StartWorld();
        rules::LayCarrots(20.0f);
        evasion_chance = 0;
        predator_speed = 30.0f;
    }

    // An eagle in the air at (x, 450), flying left or right.
    Eagle& Airborne(float x, bool left)
    {
        eagles.push_back(Eagle());
        Eagle& e = eagles.back();
        e.delay = 0.0f;
        e.direction = left;
        e.position = vector3f(x, 450.0f, 0.0f);
        return e;
    }

    // A rabbit of the selected hole in the field at x, heading right.
    Rabbit& RabbitAt(float x)
    {
        Rabbit& r = rules::SendTo(*selection);
        r.position.x = x;
        r.target.x = x + 200.0f;
        return r;
    }
};

TEST_F(Eagles, NewEagleWaitsOneToSixSecondsThenEntersFromEitherEdge)
{
    int from_right = 0, from_left = 0;
    global_time = 0.1f;
    for (int n = 0; n < 40; ++n) {
        eagles.assign(1, Eagle());
        Eagle& e = eagles.back();
        EXPECT_GE(e.delay, 1.0f);
        EXPECT_LE(e.delay, 6.0f);
        const vector3f entry = e.position;
        EXPECT_EQ(entry.y, 450.0f);
        EXPECT_EQ(entry.x, e.direction ? 557.0f : -45.0f);
        (e.direction ? from_right : from_left) += 1;

        glBindTexture(GL_TEXTURE_2D, 0);
        const float wait = e.delay;
        float waited = 0.0f;
        while (e.delay > 0.0f) {
            e.Render();
            waited += global_time;
            ASSERT_EQ(e.position, entry) << "a waiting eagle does not move";
            ASSERT_EQ(rules::BoundTexture(), 0u) << "nor is it drawn";
        }
        EXPECT_NEAR(waited, wait, 0.1001f);
        e.Render();
        EXPECT_NEAR(e.position.x, entry.x + (e.direction ? -3.0f : 3.0f), 1e-3);
    }
    EXPECT_GT(from_right, 0);
    EXPECT_GT(from_left, 0);
}

TEST_F(Eagles, MissesAreForgottenOnlyWhenThePatrolTurns)
{
    Rabbit& decoy = RabbitAt(-500.0f);
    Eagle& e = Airborne(470.0f, false);
    e.miss.push_back(&decoy);
    global_time = 0.1f;
    while (!e.direction)
        e.Render();
    EXPECT_GT(e.position.x, 482.0f);
    EXPECT_TRUE(e.miss.empty());

    e.miss.push_back(&decoy);
    e.position.x = 40.0f;
    e.Render();
    EXPECT_EQ(e.miss.size(), 1u) << "kept while flying on";
    while (e.direction)
        e.Render();
    EXPECT_LT(e.position.x, 30.0f);
    EXPECT_TRUE(e.miss.empty());
}

TEST_F(Eagles, PreyIsStrictlyWithinThirtyUnitsAndNeverShared)
{
    predator_speed = 0.0f;
    Eagle& a = Airborne(200.0f, false);
    Rabbit& first = RabbitAt(230.0f);
    a.Render();
    EXPECT_EQ(a.target, nullptr) << "exactly 30 to the side";
    first.position.x = 229.9f;
    a.Render();
    ASSERT_EQ(a.target, &first);

    Eagle& b = Airborne(225.0f, true);
    b.Render();
    EXPECT_EQ(b.target, nullptr) << "the only rabbit below is taken";
    Rabbit& second = RabbitAt(210.0f);
    b.Render();
    EXPECT_EQ(b.target, &second);
}

TEST_F(Eagles, EvasionZeroAlwaysSeizesAndHundredAlwaysMisses)
{
    for (int chance : {0, 100}) {
        evasion_chance = chance;
        for (int n = 0; n < 10; ++n) {
            rabbits.clear();
            eagles.clear();
            Rabbit& r = RabbitAt(200.0f);
            Eagle& e = Airborne(205.0f, false);
            for (int frame = 0; frame < 100 && !r.catched && (frame == 0 || e.target); ++frame)
                e.Render();
            EXPECT_EQ(r.catched, chance == 0) << "evasion " << chance;
            EXPECT_EQ(e.target, chance == 0 ? &r : nullptr);
            ASSERT_EQ(e.miss.size(), chance == 0 ? 0u : 1u);
        }
    }
    predator_speed = 0.0f;
    eagles.back().position = vector3f(205.0f, 450.0f, 0.0f);
    eagles.back().Render();
    EXPECT_EQ(eagles.back().target, nullptr) << "a missed rabbit is left alone until the turn";
}

TEST_F(Eagles, BaitShieldsRabbitsStrictlyWithinItsSafeAreaButNotItself)
{
    predator_speed = 0.0f;
    Rabbit& near = RabbitAt(200.0f);
    Rabbit& bait = RabbitAt(299.9f);
    bait.bait = true;
    Eagle& e = Airborne(200.0f, false);
    e.Render();
    EXPECT_EQ(e.target, nullptr) << "99.9 from a bait is shielded";
    bait.position.x = 300.0f;
    e.Render();
    EXPECT_EQ(e.target, &near) << "exactly bait_safe_area away is not";

    e.target = nullptr;
    bait.position.x = 250.0f;
    bait.catched = true;
    e.Render();
    EXPECT_EQ(e.target, &near) << "a bait already in the claws shields nobody";

    e.target = nullptr;
    bait.catched = false;
    e.position.x = 250.0f;
    near.position.x = 600.0f;
    e.Render();
    EXPECT_EQ(e.target, &bait);
}

TEST_F(Eagles, SeizingABuilderLosesTheSiteButNotTheLairCount)
{
    Hole& site = holes[5];
    site.status = 1;
    site.rate = 40.0f;
    n_lairs = 2;
    Rabbit& builder = rules::SendTo(site);
    builder.position.x = 300.0f;
    builder.stand = builder.reached = true;
    Eagle& e = Airborne(305.0f, false);
    e.target = &builder;
    e.position.y = 220.0f;
    e.Render();
    EXPECT_TRUE(builder.catched);
    EXPECT_EQ(builder.hole, nullptr);
    EXPECT_EQ(site.status, 0);
    EXPECT_EQ(site.rate, 0.0f);
    EXPECT_EQ(n_lairs, 2);
    EXPECT_EQ(EstimateHoleRabbits(5), 0);
}

TEST_F(Eagles, SeizedCarrierIsCarriedOutAndTheEagleStartsOver)
{
    Carrot& c = carrots[0];
    Rabbit& r = rules::SendFetch(c);
    r.position.x = c.position.x + 5.0f;
    c.taken = r.reached = true;
    Eagle& e = Airborne(r.position.x + 10.0f, false);
    e.target = &r;
    e.position.y = r.position.y;
    e.Render();
    ASSERT_TRUE(r.catched);
    EXPECT_EQ(r.carrot, nullptr);
    EXPECT_TRUE(c.taken) << "the carrot is lost with the rabbit";
    EXPECT_EQ(EstimateHoleRabbits(3), 1);

    int frames = 0;
    while (!r.removed && frames++ < 2000) {
        rules::StepWorld();
        if (!r.removed) {
            EXPECT_NEAR(r.position.x, e.position.x + (e.direction ? 7.0f : -7.0f), 1e-3);
            EXPECT_NEAR(r.position.y, e.position.y + 0.2f, 1e-3);
        }
    }
    ASSERT_TRUE(r.removed);
    EXPECT_EQ(e.target, nullptr);
    EXPECT_GE(e.delay, 1.0f) << "back to waiting";
    EXPECT_EQ(e.position.y, 450.0f);
    rules::StepWorld();
    EXPECT_TRUE(rabbits.empty());
}

TEST_F(Eagles, DiveStrikesEvenAtALowFrameRate)
{
    predator_speed = 90.0f;
    global_time = 0.1f;
    rabbits_speed = 0.0f;
    Rabbit& r = RabbitAt(200.0f);
    Eagle& e = Airborne(200.0f, false);
    e.target = &r;
    e.position.y = 264.0f;
    for (int frame = 0; frame < 20 && !r.catched; ++frame)
        e.Render();
    EXPECT_TRUE(r.catched);
}

} // namespace
