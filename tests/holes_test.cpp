// Holes: what the tray shows of each hole, buying rabbits, finishing a construction, choosing the source hole.
#include "rules_support.h"

using Holes = rules::Game;

static bool Hidden(int button) { return gui.GetButton(button)->hide; }
static GLuint Icon(int button) { return gui.GetButton(button)->pattern; }

TEST_F(Holes, TrayShowsEachHoleAsItsStateSays)
{
    const int status[7] = {0, 1, 2, 2, 2, 1, 2}, inside[7] = {0, 0, 1, 2, 9, 0, 5};
    for (int i = 0; i < 7; ++i)
        holes[i].status = status[i], holes[i].rabbits = inside[i], holes[i].rate = 50.0f;
    n_carrots = rabbit_cost, Skill::progeny = 2;
    rules::Frames(2);
    for (int i = 0; i < 7; ++i) {
        const int id = holes[i].id, target = i == 6 ? 113 : 114 + i;
        EXPECT_TRUE(Hidden(id) == (status[i] == 0) && Hidden(target) == (status[i] != 2)) << "hole " << i;
        EXPECT_TRUE(Hidden(id + 12) == (status[i] != 1) && Hidden(id + 13) == (status[i] != 1)) << "hole " << i;
        EXPECT_EQ(Hidden(id + 10), i != 3 && i != 6) << "only holes 3 and 6 can buy";
        for (int k = 1; k <= 9; ++k)
            EXPECT_EQ(Hidden(id + 10 - k), inside[i] < k) << "hole " << i << " slot " << k;
        EXPECT_TRUE(Icon(id) == GUI::hole[i == 3] && Icon(target) == GUI::target[i == 3]) << "hole " << i;
        EXPECT_FLOAT_EQ(gui.GetButton(id + 13)->w, 6.5f) << "the progress bar at 50 %";
    }
    // The slot rabbits of every hole keep their eyes open for 2.5 s and shut them for 0.1 s, all together.
    auto shut = [] { return Icon(holes[3].id + 9) == rabbit_run[7] && Icon(holes[6].id + 9) == rabbit_run[7]; };
    ASSERT_TRUE(rules::FramesUntil(shut, 60));
    int frames[2] = {0, 0}; // shut, then open, in frames of 50 ms
    for (; shut(); ++frames[0])
        rules::Frames();
    for (; Icon(holes[6].id + 9) == rabbit_run[6] && Icon(holes[3].id + 9) == rabbit_run[6]; ++frames[1])
        rules::Frames();
    EXPECT_TRUE(frames[0] >= 2 && frames[0] <= 3 && frames[1] >= 50 && frames[1] <= 51) << frames[0] << " " << frames[1];
}

TEST_F(Holes, BuyingNeedsAReadyHoleTwoInsideRoomAndThePrice)
{
    // Columns: status, rabbits inside, the hole's rabbit out in the field (0 none, 1 running,
    // 2 bait, 3 caught, 4 already walked in), capacity, carrots, whether a rabbit is bought.
    const int cases[][6] = {{2, 2, 0, 3, 2, 1}, {2, 2, 0, 3, 1, 0}, {2, 1, 0, 3, 2, 0}, {1, 2, 0, 3, 2, 0},
                            {2, 2, 1, 3, 2, 0}, {2, 2, 1, 4, 2, 1}, {2, 2, 2, 3, 2, 1}, {2, 2, 3, 3, 2, 1},
                            {2, 3, 4, 4, 2, 1}};
    Hole& h = holes[3];
    for (const auto& c : cases) {
        rabbits.clear();
        if (c[2] != 0) {
            Rabbit& r = rules::PutRabbit(100.0f, 300.0f, &h);
            r.bait = c[2] == 2, r.catched = c[2] == 3, r.removed = c[2] == 4;
        }
        h.status = c[0], h.rabbits = c[1], holes_capacity = c[3], n_carrots = c[4];
        cursor = Cursor::arrow;
        ManageHolesSct(h.id + 10);
        const bool spawn_pointer = cursor == Cursor::spawn;
        rules::ClearSlot(3);
        ManageHolesEvnt(holes[2].id + 10); // another hole's add button buys nothing here
        ManageHolesEvnt(h.id + 10);
        EXPECT_TRUE(h.rabbits == c[1] + c[5] && n_carrots == c[4] - c[5] * rabbit_cost) << "case " << &c - cases;
        EXPECT_TRUE(rules::SlotFired(3) == (c[5] == 1) && spawn_pointer == (c[5] == 1)) << "case " << &c - cases;
    }
}

TEST_F(Holes, ConstructionIsReadyOnlyPastOneHundredPercent)
{
    for (float rate : {99.9f, 100.0f, 100.01f}) {
        holes[5].status = 1, holes[5].rate = rate;
        ManageHolesEvnt(0);
        EXPECT_TRUE(holes[5].status == (rate > 100.0f ? 2 : 1) && holes[5].rate == (rate > 100.0f ? 0.0f : rate)) << rate;
    }
}

TEST_F(Holes, TargetButtonsChooseOnlyReadyHoles)
{
    const int cases[][3] = {{116, 2, 1}, {114, 0, 0}, {113, 6, 2}, {115, 1, 2}, {119, 5, 2}}; // button, hole, status
    for (const auto& c : cases) {
        selection = &holes[3];
        holes[c[1]].status = c[2];
        rules::ClickButton(gui, c[0]);
        EXPECT_EQ(selection, &holes[c[2] == 2 ? c[1] : 3]) << "button " << c[0];
    }
}
