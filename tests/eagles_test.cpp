// Eagles: entering, patrolling, choosing prey under the bait's shield, striking and carrying a rabbit away.
#include "rules_support.h"

#include "math/global_time.h"

#include <algorithm>
#include <cmath>

class Eagles : public rules::Game {
protected:
    void SetUp() override
    {
        rules::Game::SetUp();
        evasion_chance = 0, predator_speed = 0.0f, global_time = 0.05f;
    }
    static Eagle& Airborne(float x, bool left, float y = 450.0f)
    {
        Eagle& e = eagles.emplace_back();
        e.delay = 0.0f, e.direction = left, e.position = vector3f(x, y, 0.0f);
        return e;
    }
    static Rabbit& At(float x) { return rules::PutRabbit(x, x + 300.0f, selection); }
    // Whom a new eagle over x picks in its first frame.
    static Rabbit* Picks(float x)
    {
        Eagle& e = Airborne(x, false);
        e.Render();
        return e.target;
    }
};

TEST_F(Eagles, PatrolTurnsPastTheEdgesAndForgetsMissesOnlyThen)
{
    predator_speed = 60.0f;
    Eagle& e = Airborne(470.0f, false, 440.0f);
    e.Render();
    EXPECT_EQ(e.position, vector3f(473.0f, 443.0f, 0.0f)) << "climbs back while it patrols";
    for (const float edge : {482.0f, 30.0f}) {
        e.miss.assign(1, &At(-500.0f));
        for (int i = 0; i < 10 && e.direction == (edge < 100.0f); ++i) {
            EXPECT_EQ(e.miss.size(), 1u) << "x " << e.position.x;
            e.Render();
        }
        EXPECT_TRUE(e.miss.empty() && e.direction == (edge > 100.0f)) << "turned at " << e.position.x;
        EXPECT_EQ(e.position.x, edge + (edge > 100.0f ? 3.0f : -3.0f)) << "strictly past the edge";
        e.position.x = 36.0f;
    }
    e.position.x = 0.0f, e.direction = false, e.miss.assign(1, &rabbits.front());
    e.Render();
    EXPECT_TRUE(e.miss.size() == 1 && e.position.y == 450.0f) << "flying right below 30 it turns nowhere, forgets nothing";
}

TEST_F(Eagles, PreyIsTheFirstRabbitWithinThirtyUnitsOutsideTheBaitsShield)
{
    for (float offset : {30.0f, -30.0f, 29.9f, -29.9f}) {
        eagles.clear(), rabbits.clear();
        Rabbit& r = At(200.0f + offset);
        rules::ClearSlot(6);
        const bool within = std::fabs(offset) < 30.0f;
        EXPECT_TRUE((Picks(200.0f) == &r) == within && rules::SlotFired(6) == within) << offset << ", and the cry";
    }
    EXPECT_EQ(Picks(200.0f), nullptr) << "the only rabbit below is another eagle's prey";
    eagles.clear(), rabbits.clear();
    Rabbit &first = At(200.0f), &second = At(230.0f), &bait = At(600.0f);
    bait.bait = true;
    Eagle& e = Airborne(215.0f, false);
    e.miss.push_back(&first);
    e.Render();
    EXPECT_EQ(e.target, nullptr) << "the first candidate escaped this eagle before: nobody this frame";
    e.miss.clear();
    for (float d : {99.9f, -99.9f, 100.0f, -100.0f}) {
        bait.position.x = 200.0f + d, e.target = nullptr;
        e.Render();
        EXPECT_EQ(e.target, std::fabs(d) < 100.0f ? nullptr : &first) << "the first candidate " << d << " from a bait";
    }
    e.target = nullptr, e.position.x = bait.position.x = 400.0f;
    e.Render();
    EXPECT_EQ(e.target, &bait) << "the bait itself is fair game";
    bait.catched = true, bait.position.x = second.position.x;
    EXPECT_EQ(Picks(200.0f), &first) << "a caught bait shields nobody";
}

TEST_F(Eagles, StrikeUnderTwentyUnitsSeizesOrMissesAndCostsTheBuilderItsSite)
{
    const std::pair<float, int> strikes[] = {{20.0f, 0}, {19.9f, 0}, {19.9f, 100}}; // distance, evasion
    for (auto [distance, evasion] : strikes) {
        evasion_chance = evasion;
        Rabbit& r = At(200.0f);
        Eagle& e = Airborne(200.0f, false, 214.0f + distance);
        e.target = &r;
        e.Render();
        const bool missed = distance < 20.0f && evasion == 100;
        EXPECT_EQ(r.catched, distance < 20.0f && evasion == 0) << distance << ", evasion " << evasion;
        EXPECT_TRUE(e.target == (missed ? nullptr : &r) && e.miss.size() == (missed ? 1u : 0u)) << distance;
    }
    evasion_chance = 0, holes[5].status = 1, holes[5].rate = 40.0f, carrots[1].taken = true;
    Rabbit *builder = &rules::PutRabbit(100.0f, 100.0f, &holes[5]), *carrier = &At(200.0f), *fetcher = &At(300.0f);
    carrier->carrot = &carrots[1], fetcher->carrot = &carrots[2];
    for (Rabbit* r : {builder, carrier, fetcher}) {
        Airborne(r->position.x, false, 220.0f).target = r;
        eagles.back().Render();
        EXPECT_TRUE(r->catched && r->carrot == nullptr);
    }
    EXPECT_TRUE(builder->hole == nullptr && holes[5].status == 0 && holes[5].rate == 0.0f) << "the site is lost";
    EXPECT_TRUE(carrier->hole == selection && carrots[1].taken && !carrots[2].taken && n_lairs == 1);
}

TEST_F(Eagles, CarryTheRabbitAwayOrPatrolOnWhenItGotHome)
{
    Rabbit& r = At(200.0f);
    Eagle& carrier = Airborne(200.0f, true, 300.0f);
    r.catched = true, carrier.target = &r, carrier.miss.push_back(&r);
    carrier.Render();
    EXPECT_NEAR((carrier.position - vector3f(200.0f, 300.0f, 0.0f)).length(), 80.0f * 0.05f, 1e-4f) << "at 80 a second";
    for (int i = 0; i < 200 && !r.removed; ++i) {
        carrier.Render();
        ASSERT_TRUE(r.removed || r.position == carrier.position + vector3f(7.0f, 0.2f, 0.0f)) << "on the eagle's right";
    }
    EXPECT_TRUE(r.removed && r.position.y < 561.0f && !carrier.target && carrier.miss.empty()) << "out past 557";
    EXPECT_TRUE(carrier.delay >= 1.0f && carrier.position == vector3f(carrier.direction ? 557 : -45, 450, 0));
    float first[2] = {9, 99}, last[2] = {0, 0}; // delay and wing frame of many new eagles
    for (int i = 0; i < 2000; ++i) {
        const Eagle waiting; // waits 1 to 6 s beyond an edge, its wings at any whole frame
        ASSERT_TRUE(waiting.position == vector3f(waiting.direction ? 557 : -45, 450, 0) &&
                    waiting.fps == std::floor(waiting.fps));
        first[0] = std::min(first[0], waiting.delay), last[0] = std::max(last[0], waiting.delay);
        first[1] = std::min(first[1], waiting.fps), last[1] = std::max(last[1], waiting.fps);
    }
    EXPECT_TRUE(first[0] == 1 && last[0] == 6 && first[1] == 0 && last[1] == 29);
    predator_speed = 30.0f;
    Eagle& e = Airborne(200.0f, true, 400.0f);
    e.target = &At(200.0f);
    e.Render();
    EXPECT_EQ(e.position, vector3f(200.0f, 385.0f, 0.0f)) << "dives at ten times its patrol speed";
    e.target->removed = true;
    e.Render();
    EXPECT_TRUE(e.target == nullptr && e.position == vector3f(201.5f, 386.5f, 0.0f)) << "patrols on, climbing";
}
