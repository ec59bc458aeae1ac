// Eagles: entering after their delay, patrolling and reversing, choosing prey,
// the bait's shield, strikes that seize or miss, carrying a rabbit away, and the
// builder whose site is lost with it.
#include "rules_support.h"

#include "math/global_time.h"

#include <gtest/gtest.h>

#include <cmath>

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

    // A rabbit standing still in the field at x, belonging to the selected hole.
    Rabbit& RabbitAt(float x)
    {
        Rabbit& r = rules::SendTo(*selection);
        r.position.x = x;
        r.target.x = x + 200.0f;
        return r;
    }
};

TEST_F(Eagles, NewEagleWaitsOneToSixSecondsThenEntersFromAnEdge)
{
    int from_right = 0, from_left = 0;
    for (int n = 0; n < 60; ++n) {
        eagles.clear();
        eagles.push_back(Eagle());
        Eagle& e = eagles.back();
        EXPECT_GE(e.delay, 1.0f);
        EXPECT_LE(e.delay, 6.0f);
        EXPECT_EQ(e.target, nullptr);
        EXPECT_TRUE(e.miss.empty());
        const vector3f entry = e.position;
        EXPECT_EQ(entry.y, 450.0f);
        EXPECT_EQ(entry.x, e.direction ? 557.0f : -45.0f);
        (e.direction ? from_right : from_left) += 1;

        const float wait = e.delay;
        global_time = 0.1f;
        glBindTexture(GL_TEXTURE_2D, 0);
        float waited = 0.0f;
        while (e.delay > 0.0f) {
            e.Render();
            waited += 0.1f;
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

TEST_F(Eagles, PatrolTurnsAtTheFieldEdgesForgettingItsMissesOnlyWhenItTurns)
{
    Rabbit& decoy = RabbitAt(-500.0f);
    Eagle& e = Airborne(470.0f, false);
    e.miss.push_back(&decoy);
    global_time = 0.1f;
    while (!e.direction)
        e.Render();
    EXPECT_GT(e.position.x, 482.0f);
    EXPECT_TRUE(e.miss.empty()) << "reversal forgets";

    // Beyond the edge but already heading back in: nothing to forget again.
    e.miss.push_back(&decoy);
    e.position.x = 500.0f;
    e.Render();
    EXPECT_TRUE(e.direction);
    EXPECT_EQ(e.miss.size(), 1u);

    e.position.x = 40.0f;
    while (e.direction)
        e.Render();
    EXPECT_LT(e.position.x, 30.0f);
    EXPECT_TRUE(e.miss.empty());

    // After a dive it climbs back to 450 at its patrol speed.
    e.position.y = 400.0f;
    e.Render();
    EXPECT_NEAR(e.position.y, 403.0f, 1e-3);
    e.position.y = 449.9f;
    e.Render();
    e.Render();
    EXPECT_EQ(e.position.y, 450.0f);
}

TEST_F(Eagles, OnlyRabbitsStrictlyWithinThirtyUnitsBelowAreCandidates)
{
    predator_speed = 0.0f;
    Eagle& e = Airborne(200.0f, false);
    Rabbit& edge = RabbitAt(230.0f);
    e.Render();
    EXPECT_EQ(e.target, nullptr) << "exactly 30 to the side";
    edge.position.x = 170.0f;
    e.Render();
    EXPECT_EQ(e.target, nullptr);
    edge.position.x = 229.9f;
    e.Render();
    EXPECT_EQ(e.target, &edge);
}

TEST_F(Eagles, TwoEaglesNeverShareOnePrey)
{
    predator_speed = 0.0f;
    Rabbit& first = RabbitAt(200.0f);
    Eagle& a = Airborne(200.0f, false);
    Eagle& b = Airborne(205.0f, true);
    a.Render();
    ASSERT_EQ(a.target, &first);
    b.Render();
    EXPECT_EQ(b.target, nullptr) << "the only rabbit below is taken";

    Rabbit& second = RabbitAt(210.0f);
    b.Render();
    EXPECT_EQ(b.target, &second) << "the next free rabbit in list order";
}

TEST_F(Eagles, EvasionZeroAlwaysSeizes)
{
    for (int n = 0; n < 40; ++n) {
        rabbits.clear();
        eagles.clear();
        Rabbit& r = RabbitAt(200.0f);
        Eagle& e = Airborne(205.0f, false);
        e.Render();
        ASSERT_EQ(e.target, &r);
        for (int frame = 0; frame < 100 && !r.catched; ++frame)
            e.Render();
        EXPECT_TRUE(r.catched);
        EXPECT_EQ(e.target, &r);
    }
}

TEST_F(Eagles, EvasionHundredAlwaysMissesAndTheEagleLeavesThatRabbitUntilItTurns)
{
    evasion_chance = 100;
    Rabbit& r = RabbitAt(200.0f);
    Rabbit& later = RabbitAt(210.0f);
    Eagle& e = Airborne(205.0f, false);
    for (int strikes = 0; strikes < 20; ++strikes) {
        e.miss.clear();
        e.position = vector3f(205.0f, 450.0f, 0.0f);
        e.Render();
        ASSERT_EQ(e.target, &r);
        for (int frame = 0; frame < 100 && e.target; ++frame)
            e.Render();
        EXPECT_FALSE(r.catched);
        EXPECT_EQ(e.target, nullptr);
        ASSERT_EQ(e.miss.size(), 1u);
    }
    // Back on patrol over the same rabbits: the missed one comes first in the
    // list, so nobody is chosen, not even the rabbit behind it.
    e.position = vector3f(205.0f, 450.0f, 0.0f);
    predator_speed = 0.0f;
    for (int frame = 0; frame < 10; ++frame) {
        e.Render();
        EXPECT_EQ(e.target, nullptr);
    }
    (void)later;
    // A turn at the edge gives it its chance again.
    predator_speed = 30.0f;
    e.position.x = 481.0f;
    e.direction = false;
    while (!e.direction)
        e.Render();
    EXPECT_TRUE(e.miss.empty());
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

    // The bait itself is prey.
    e.position.x = 250.0f;
    near.position.x = 600.0f;
    e.Render();
    EXPECT_EQ(e.target, &bait);
}

TEST_F(Eagles, ProtectedFirstCandidateMeansNobodyThisFrame)
{
    predator_speed = 0.0f;
    Rabbit& shielded = RabbitAt(200.0f);
    Rabbit& bait = RabbitAt(110.0f);
    bait.bait = true;
    Rabbit& exposed = RabbitAt(225.0f);
    Eagle& e = Airborne(205.0f, false);
    e.Render();
    EXPECT_EQ(e.target, nullptr) << "the first candidate is shielded, so nobody is chosen";

    shielded.position.x = 600.0f;
    e.Render();
    EXPECT_EQ(e.target, &exposed) << "115 units from the bait, the later rabbit was fair game";
}

TEST_F(Eagles, SeizingABuilderLosesTheSiteButNotTheLairCount)
{
    Hole& site = holes[5];
    site.status = 1;
    site.rate = 40.0f;
    n_lairs = 2;
    Rabbit& builder = rules::SendTo(site);
    builder.position.x = 300.0f;
    builder.stand = true;
    builder.reached = true;
    Eagle& e = Airborne(300.0f, false);
    e.position.y = 460.0f;
    e.target = &builder;
    e.position = vector3f(305.0f, 220.0f, 0.0f);
    e.Render();
    EXPECT_TRUE(builder.catched);
    EXPECT_EQ(builder.hole, nullptr);
    EXPECT_EQ(site.status, 0);
    EXPECT_EQ(site.rate, 0.0f);
    EXPECT_EQ(n_lairs, 2);
    EXPECT_EQ(EstimateHoleRabbits(5), 0);
}

TEST_F(Eagles, SeizedCarrierLosesItsCarrotAndIsCarriedOutOfTheField)
{
    Carrot& c = carrots[0];
    Rabbit& r = rules::SendFetch(c);
    r.position.x = c.position.x + 5.0f;
    c.taken = true;
    r.reached = true;
    Eagle& e = Airborne(r.position.x, false);
    e.target = &r;
    e.position = vector3f(r.position.x + 10.0f, r.position.y, 0.0f);
    e.Render();
    ASSERT_TRUE(r.catched);
    EXPECT_EQ(r.carrot, nullptr);
    EXPECT_TRUE(c.taken) << "the carrot is lost with the rabbit";
    EXPECT_EQ(r.hole, selection) << "only a builder forgets its hole";
    EXPECT_EQ(EstimateHoleRabbits(3), 1);

    int frames = 0;
    while (!r.removed && frames < 2000) {
        rules::StepWorld();
        ++frames;
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
    EXPECT_EQ(rabbits.size(), 0u);
}

TEST_F(Eagles, DiveEndsWhenThePreyReachesHome)
{
    Hole& dest = holes[1];
    dest.status = 2;
    Rabbit& r = rules::SendTo(dest);
    r.position.x = rules::HoleX(1) + 12.0f;
    Eagle& e = Airborne(r.position.x, false);
    e.target = &r;
    e.position.y = 450.0f;
    global_time = 0.01f;
    for (int frame = 0; frame < 20 && !r.removed; ++frame)
        rules::StepWorld();
    ASSERT_TRUE(r.removed);
    EXPECT_FALSE(r.catched);
    rules::StepWorld();
    EXPECT_EQ(e.target, nullptr);
    EXPECT_EQ(dest.rabbits, 1);
}

TEST_F(Eagles, DiveStrikesEvenAtALowFrameRate)
{
    predator_speed = 90.0f;
    global_time = 0.1f;
    Rabbit& r = RabbitAt(200.0f);
    rabbits_speed = 0.0f;
    Eagle& e = Airborne(200.0f, false);
    e.target = &r;
    e.position = vector3f(200.0f, 264.0f, 0.0f);
    for (int frame = 0; frame < 20 && !r.catched; ++frame)
        e.Render();
    EXPECT_TRUE(r.catched);
}

TEST_F(Eagles, WaveBringsOneMoreEagleAndSeizingTheLastRabbitEndsTheColony)
{
    for (Carrot& c : carrots)
        c.taken = true;
    rules::StepWorld();
    EXPECT_EQ(n_predator, 1);
    EXPECT_EQ(eagles.size(), 1u);

    holes[3].rabbits = 1;
    Rabbit& last = rules::SendBait(rules::HoleX(3) + 50.0f);
    EXPECT_EQ(EstimateTotalRabbits(), 0) << "a bait counts for nobody";
    last.bait = false;
    EXPECT_EQ(EstimateTotalRabbits(), 1);
    Eagle& e = eagles.back();
    e.delay = 0.0f;
    e.target = &last;
    e.position = vector3f(last.position.x, last.position.y + 5.0f, 0.0f);
    e.Render();
    EXPECT_EQ(EstimateTotalRabbits(), 0);
}

} // namespace
