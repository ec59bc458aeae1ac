// Holes: what the tray shows, buying rabbits up to the capacity, finishing a
// construction, choosing the source hole, the shared blink, and a missing tray.
#include "rules_support.h"

#include "math/global_time.h"

#include <gtest/gtest.h>

namespace {

bool Hidden(int button) { return gui.GetButton(button)->hide; }
GLuint Icon(int button) { return gui.GetButton(button)->pattern; }
int Target(int hole) { return hole == 6 ? 113 : 114 + hole; }

class Holes : public ::testing::Test {
protected:
    void SetUp() override
    {
        rules::StartWorld();
        GUI::hole[0] = 9001;
        GUI::hole[1] = 9002;
        GUI::target[0] = 9003;
        GUI::target[1] = 9004;
    }
};

TEST_F(Holes, NewGameTrayShowsOnlyTheStartingHoleWithTwoRabbits)
{
    rules::StepHoles();
    for (int i = 0; i < 7; ++i) {
        const int id = holes[i].id;
        const bool start = i == 3;
        EXPECT_EQ(Hidden(id), !start) << "hole button " << i;
        EXPECT_EQ(Hidden(Target(i)), !start) << "target button " << i;
        EXPECT_TRUE(Hidden(id + 10)) << "nobody can buy with an empty purse";
        for (int k = 1; k <= 9; ++k)
            EXPECT_EQ(Hidden(id + 10 - k), !(start && k <= 2)) << "hole " << i << " slot " << k;
    }
    EXPECT_EQ(Icon(holes[3].id), GUI::hole[1]);
    EXPECT_EQ(Icon(Target(3)), GUI::target[1]);
}

TEST_F(Holes, BuyingFillsAHoleUpToItsCapacity)
{
    Hole& h = holes[3];
    const int add = h.id + 10;
    n_carrots = 10;
    holes_capacity = 3;
    rules::ClearSlot(3);
    rules::StepHoles();
    EXPECT_FALSE(Hidden(add));
    rules::StepHoles(add);
    EXPECT_EQ(h.rabbits, 3);
    EXPECT_EQ(n_carrots, 8);
    EXPECT_TRUE(rules::SlotFired(3));

    rules::ClearSlot(3);
    rules::StepHoles();
    EXPECT_TRUE(Hidden(add)) << "3 of 3: full";
    rules::StepHoles(add);
    EXPECT_EQ(h.rabbits, 3);
    EXPECT_EQ(n_carrots, 8);
    EXPECT_FALSE(rules::SlotFired(3)) << "a refused purchase is silent";
    holes_capacity = 9;
    rules::StepHoles(holes[2].id + 10);
    EXPECT_EQ(h.rabbits, 3) << "another hole's add button buys nothing here";
}

TEST_F(Holes, BuyingNeedsThePriceTwoInsideAndRoomCountingRabbitsOut)
{
    Hole& h = holes[3];
    holes_capacity = 3;
    n_carrots = rabbit_cost - 1;
    EXPECT_FALSE(CanProcreate(3));
    n_carrots = rabbit_cost;
    EXPECT_TRUE(CanProcreate(3));

    rules::LayCarrots(300.0f);
    Rabbit& fetcher = rules::SendFetch(carrots[0]);
    EXPECT_EQ(EstimateHoleRabbits(3), 2) << "a fetcher still belongs to its hole";
    EXPECT_FALSE(CanProcreate(3)) << "two must be inside";
    h.rabbits = 2;
    EXPECT_FALSE(CanProcreate(3)) << "population 3 of 3";
    fetcher.catched = true;
    EXPECT_EQ(EstimateHoleRabbits(3), 2) << "a seized rabbit leaves the population";
    EXPECT_TRUE(CanProcreate(3));
    fetcher.catched = false;
    fetcher.removed = true;
    EXPECT_EQ(EstimateTotalRabbits(), 2) << "one that has walked in is counted once";
    h.status = 1;
    EXPECT_FALSE(CanProcreate(3)) << "only a ready hole breeds";
}

TEST_F(Holes, ConstructionCompletesOnlyPastOneHundredPercent)
{
    Hole& site = holes[5];
    site.status = 1;
    site.rate = 100.0f;
    rules::StepHoles();
    EXPECT_EQ(site.status, 1) << "exactly 100 is not done";
    EXPECT_FALSE(Hidden(site.id + 13));
    EXPECT_FLOAT_EQ(gui.GetButton(site.id + 13)->w, 12.5f);
    EXPECT_TRUE(Hidden(Target(5))) << "a site cannot be selected";
    site.rate = 100.01f;
    rules::StepHoles();
    EXPECT_EQ(site.status, 2);
    EXPECT_EQ(site.rabbits, 0) << "empty until the builder walks in";
    rules::StepHoles();
    EXPECT_TRUE(Hidden(site.id + 13));
    EXPECT_FALSE(Hidden(Target(5)));
}

TEST_F(Holes, TargetButtonsSelectOnlyReadyHolesOnAClick)
{
    holes[1].status = 2;
    holes[2].status = 1;
    Hole* start = selection;
    for (int hole : {2, 6}) {
        rules::ClickAt(rules::HoleX(hole), rules::TargetY());
        rules::StepHoles();
        EXPECT_EQ(selection, start) << "a site cannot be chosen: hole " << hole;
    }
    rules::ReleasePointer();
    rules::PointerAt(rules::HoleX(1), rules::TargetY());
    rules::StepHoles();
    EXPECT_EQ(selection, start) << "hovering chooses nothing";
    rules::ClickAt(rules::HoleX(1), rules::TargetY());
    rules::StepHoles();
    EXPECT_EQ(selection, &holes[1]);
    rules::ReleasePointer();
    rules::StepHoles();
    EXPECT_EQ(Icon(Target(1)), GUI::target[1]);
    EXPECT_EQ(Icon(Target(3)), GUI::target[0]);
}

TEST_F(Holes, HoverOverABuyableAddButtonShowsTheSpawnPointer)
{
    Cursor::spawn = 777;
    Cursor::arrow = 1;
    cursor = Cursor::arrow;
    n_carrots = 0;
    ManageHolesSct(holes[3].id + 10);
    EXPECT_EQ(cursor, Cursor::arrow);
    n_carrots = 5;
    ManageHolesSct(holes[2].id + 10);
    EXPECT_EQ(cursor, Cursor::arrow) << "an empty site's add button";
    ManageHolesSct(holes[3].id + 10);
    EXPECT_EQ(cursor, Cursor::spawn);
}

TEST_F(Holes, AllSlotRabbitsBlinkTogetherOpenTwoAndAHalfSecondsClosedATenth)
{
    for (Hole& h : holes) {
        h.status = 2;
        h.rabbits = 9;
    }
    rabbit_run[6] = 5006;
    rabbit_run[7] = 5007;
    auto closed = [] { return Icon(holes[3].id + 9) == rabbit_run[7]; };
    global_time = 0.01f;
    int guard = 0, open_frames = 0, closed_frames = 0;
    while (!closed() && guard++ < 1000)
        rules::StepHoles();
    while (closed() && guard++ < 1000)
        rules::StepHoles();
    while (!closed() && open_frames++ < 1000) {
        rules::StepHoles();
        for (int i = 0; i < 7; ++i)
            for (int k = 1; k <= 9; ++k)
                ASSERT_EQ(Icon(holes[i].id + 10 - k), Icon(holes[3].id + 9)) << "hole " << i << " slot " << k;
    }
    while (closed() && closed_frames++ < 1000)
        rules::StepHoles();
    EXPECT_NEAR(open_frames * 0.01f, 2.5f, 0.025f);
    EXPECT_NEAR(closed_frames * 0.01f, 0.1f, 0.025f);
}

TEST_F(Holes, MissingOrShortTrayIsLeftAlone)
{
    n_carrots = 20;
    holes[5].status = 1;
    holes[5].rate = 150.0f;
    for (int size : {0, 1, 30, 100}) {
        gui.buttons.assign(size, GUILab::Button(0u, 10.0f, 10.0f, 5.0f, 5.0f));
        rules::ClickAt(10.0f, 10.0f);
        for (int frame = 0; frame < 5; ++frame)
            rules::StepHoles(holes[3].id + 10);
        ManageHolesSct(holes[3].id + 10);
    }
    rules::ReleasePointer();
    EXPECT_EQ(holes[5].status, 2) << "constructions still finish";
    EXPECT_EQ(holes[3].rabbits, 3) << "and the add rule still holds at capacity 3";
    EXPECT_EQ(selection, &holes[3]);
}

} // namespace
