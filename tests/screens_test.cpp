// The screens through the real frame callback and panels: the menu, the skills
// on sale, help and credits, the developer mode, and the click sound.
#include "rules_support.h"

namespace {

using Screens = rules::Game;

TEST_F(Screens, MenuPausesTheGameAndLeadsToItsScreens)
{
    show_menu = true;
    Rabbit& r = rules::PutRabbit(100.0f, 400.0f, selection);
    rules::PointAt(60.0f, 450.0f);
    rules::Frames(10);
    EXPECT_EQ(r.position.x, 100.0f) << "nothing moves behind the menu";
    user_score = 3;
    rules::ClearSlot(1);
    rules::ClickButton(menu, 2);
    EXPECT_TRUE(!show_menu && rules::SlotFired(1) && user_score == 3) << "the running game resumes";
    show_menu = game_over = true;
    rules::ClickButton(menu, 2);
    EXPECT_TRUE(!show_menu && !game_over && user_score == 0) << "after a loss play starts a new game";
    show_menu = true;
    rules::ClearSlot(1);
    rules::ClickButton(menu, 3);
    EXPECT_TRUE(show_credits && !show_menu && rules::SlotFired(1));
    rules::ClearSlot(1);
    rules::ClickButton(credits, 1);
    EXPECT_TRUE(show_menu && !show_credits && !rules::SlotFired(1)) << "back to the menu without a sound";
    for (int i = 1; i <= 53; ++i) {
        EXPECT_FALSE(developer_mode) << "after " << i - 1 << " clicks on the rabbit";
        rules::ClearSlot(1);
        rules::ClickButton(menu, 4);
    }
    EXPECT_TRUE(developer_mode && rules::SlotFired(1)) << "on at the fifty-third click, with the power-up";
    developer_mode = false;
}

TEST_F(Screens, ThePressThatLeavesAScreenIsNoClickInTheField)
{
    const std::pair<GUILab*, int> ways_back[] = {{&menu, 2}, {&skills, 16}, {&helps, 1}};
    for (auto [panel, id] : ways_back) {
        carrots[0].position.x = panel->GetButton(id)->position.x;
        show_menu = panel == &menu, show_skills = panel == &skills, show_helps = panel == &helps;
        rules::PointAtButton(*panel, id);
        rules::Press(true);
        rules::Frames(5);
        rules::Press(false);
        rules::Frames();
        EXPECT_FALSE(show_menu || show_skills || show_helps) << "the button returns to the game";
        EXPECT_TRUE(rabbits.empty() && !carrots[0].taken) << "and sends no rabbit for the carrot under it";
    }
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
        n_carrots = 99;
        rules::ClickButton(skills, r.button[0]);
        EXPECT_EQ(n_carrots, 99) << "a level already bought is not sold again";
        *r.level = 0, n_carrots = r.price[1];
        rules::ClickButton(skills, r.button[1]);
        EXPECT_TRUE(*r.level == 2 && n_carrots == 0) << "level 2 straight from level 0, for its own price";
    }
    rules::ClickButton(skills, 16);
    EXPECT_FALSE(show_skills);
}

// Pixels around a price label whose colour channel `c` outweighs the other two.
int Dominant(const GUILab::Button& label, int c)
{
    std::vector<unsigned char> px(40 * 12 * 4);
    glReadPixels(static_cast<int>(label.position.x), static_cast<int>(label.position.y) - 15, 40, 12, GL_RGBA,
                 GL_UNSIGNED_BYTE, px.data());
    int n = 0;
    for (size_t i = 0; i < px.size(); i += 4)
        n += px[i + c] > px[i + (c + 1) % 3] + 60 && px[i + c] > px[i + (c + 2) % 3] + 60;
    return n;
}

TEST_F(Screens, PricesAreRedOutOfReachAndGreenWithinIt)
{
    show_skills = true;
    n_carrots = 34;
    rules::Frames();
    const int red = Dominant(*skills.GetButton(41), 0), green = Dominant(*skills.GetButton(41), 1);
    EXPECT_GT(red, 5) << "35 is out of reach with 34";
    n_carrots = 35;
    rules::Frames();
    EXPECT_TRUE(Dominant(*skills.GetButton(41), 1) > green + 5 && Dominant(*skills.GetButton(41), 0) < red);
}

TEST_F(Screens, HelpClosesAndEveryScreenClicksOncePerPress)
{
    show_helps = true;
    rules::ClickButton(helps, 1);
    EXPECT_FALSE(show_helps);
    bool game = false;
    for (bool* screen : {&show_menu, &show_skills, &show_credits, &show_helps, &game}) {
        *screen = true;
        rules::PointAt(5.0f, 300.0f);
        rules::Frames();
        rules::ClearSlot(7);
        rules::Press(true);
        rules::Frames();
        EXPECT_TRUE(rules::SlotFired(7)) << "a new press clicks";
        rules::ClearSlot(7);
        rules::Frames(5);
        rules::Press(false);
        rules::Frames();
        EXPECT_FALSE(rules::SlotFired(7)) << "holding the button clicks once";
        show_menu = show_skills = show_credits = show_helps = false;
    }
}

} // namespace
