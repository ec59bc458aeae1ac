// The screens through the real frame callback and panels: menu, credits, help and the skills on sale.
#include "rules_support.h"

using Screens = rules::Game;

TEST_F(Screens, MenuPausesTheGameAndLeadsToItsScreens)
{
    show_menu = true;
    Rabbit& r = rules::PutRabbit(100.0f, 400.0f, selection);
    rules::Frames(10);
    EXPECT_EQ(r.position.x, 100.0f) << "nothing moves behind the menu";
    user_score = 3, carrots[0].position.x = menu.GetButton(2)->position.x;
    rules::ClearSlot(1);
    rules::PointAtButton(menu, 2);
    rules::Press(true);
    rules::Frames(3);
    rules::Press(false);
    rules::Frames();
    EXPECT_TRUE(!show_menu && rules::SlotFired(1) && user_score == 3) << "the running game resumes";
    EXPECT_TRUE(rabbits.size() == 1 && !carrots[0].taken) << "the press on play is no click on the carrot under it";
    show_menu = game_over = true;
    rules::ClickButton(menu, 2);
    EXPECT_TRUE(!show_menu && !game_over && user_score == 0) << "after a loss play starts a new game";
    show_menu = true;
    rules::ClickButton(menu, 3);
    rules::ClearSlot(1);
    rules::ClickButton(credits, 1);
    EXPECT_TRUE(show_menu && !show_credits && !rules::SlotFired(1)) << "credits and back, without a sound";
    show_menu = false, show_helps = true;
    rules::ClickButton(helps, 1);
    EXPECT_FALSE(show_helps);
    show_menu = true;
    for (int i = 1; i <= 53; ++i) {
        EXPECT_FALSE(developer_mode) << "after " << i - 1 << " clicks on the rabbit";
        rules::ClearSlot(1);
        rules::ClickButton(menu, 4);
    }
    EXPECT_TRUE(developer_mode && rules::SlotFired(1)) << "on at the fifty-third click, with the power-up";
    developer_mode = false;
}

TEST_F(Screens, SkillsSellEachLevelAtItsPrice)
{
    struct Row {
        int* level;
        int button[2], label[2], arrow, price[2];
        GLuint* pictures;
    } rows[] = {{&Skill::speed, {6, 4}, {37, 38}, 27, {12, 25}, GUI::pu_speed},
                {&Skill::build, {9, 7}, {46, 39}, 28, {5, 15}, GUI::pu_build},
                {&Skill::evasion, {12, 10}, {45, 40}, 29, {15, 30}, GUI::pu_evasion},
                {&Skill::eval, {15, 13}, {44, 41}, 30, {10, 35}, GUI::pu_eval},
                {&Skill::progeny, {3, 1}, {43, 42}, 31, {10, 20}, GUI::pu_progeny}};
    show_skills = true;
    auto shown = [](int button) { return !skills.GetButton(button)->hide; };
    for (const Row& r : rows) {
        *r.level = 0;
        for (int k = 0; k < 4; ++k) { // each level, one carrot short and then with its price
            const int level = 1 + k / 2, button = r.button[level - 1], purse = r.price[level - 1] - (k % 2 == 0);
            const bool affordable = k % 2 == 1;
            n_carrots = purse;
            rules::PointAtButton(skills, button);
            rules::Frames();
            EXPECT_EQ(cursor == Cursor::skill, affordable) << "button " << button << " with " << purse;
            rules::ClearSlot(1);
            rules::ClickButton(skills, button);
            const int now = affordable ? level : level - 1;
            EXPECT_TRUE(*r.level == now && n_carrots == (affordable ? 0 : purse) && rules::SlotFired(1) == affordable)
                << "button " << button << " with " << purse;
            EXPECT_TRUE(skills.GetButton(r.button[0])->pattern == r.pictures[now > 0] &&
                        skills.GetButton(r.button[1])->pattern == r.pictures[now == 2]);
            EXPECT_TRUE(shown(r.label[0]) == (now == 0) && shown(r.label[1]) == (now == 1) && shown(r.arrow) == (now > 0));
        }
        *r.level = 0, n_carrots = r.price[1];
        rules::ClickButton(skills, r.button[1]);
        EXPECT_TRUE(*r.level == 2 && n_carrots == 0) << "level 2 straight from level 0, for its own price";
    }
    rules::ClickButton(skills, 16);
    EXPECT_FALSE(show_skills);
}
