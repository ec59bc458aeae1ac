// The whole state of the game: rule parameters, purse and score, skills, the
// world's records (holes, rabbits, carrots, eagles), screen flags, picture
// handles and the record file. Everything here lives for the whole run.
#pragma once

#include "engine/guilab.h"
#include "math/vector3f.h"

#include <GL/gl.h>
#include <list>
#include <vector>

// Rule parameters.
extern float building_delay;
extern float rabbits_speed;
extern float bait_safe_area;
extern float predator_speed;
extern int evasion_chance;
extern int holes_capacity;
extern int carrots_eval;
extern int rabbit_cost;
extern int develop_cost;
extern int n_predator;
extern int lairs_limit;
extern int n_lairs;

// Score and stock.
extern int n_carrots;
extern int user_score;
extern int user_record;

namespace Skill {
extern int eval;
extern int build;
extern int evasion;
extern int progeny;
extern int speed;

constexpr int eval_cost_x1 = 10, eval_cost_x2 = 35;
constexpr int build_cost_x1 = 5, build_cost_x2 = 15;
constexpr int evasion_cost_x1 = 15, evasion_cost_x2 = 30;
constexpr int progeny_cost_x1 = 10, progeny_cost_x2 = 20;
constexpr int speed_cost_x1 = 12, speed_cost_x2 = 25;
} // namespace Skill

// What each skill level gives, indexed by level 0..2.
namespace SkillEffect {
constexpr float building_delay[3] = {15.0f, 10.0f, 5.0f};
constexpr float rabbits_speed[3] = {30.0f, 60.0f, 90.0f};
constexpr int evasion_chance[3] = {0, 25, 50};
constexpr int holes_capacity[3] = {3, 6, 9};
constexpr int carrots_eval[3] = {1, 2, 3};
} // namespace SkillEffect

// Sets the rule parameters from the skill levels; a level outside 0..2 leaves
// its parameter as it was.
void ApplySkills();

struct Hole {
    int rabbits;
    int status; // 0 empty site, 1 under construction, 2 ready
    float rate;
    int id; // first button of this hole's group in the interface panel
    Hole() : rabbits(0), status(0), rate(0.0f), id(0) {}
};

struct Carrot {
    vector3f position;
    float respawn;
    bool enable_respawn;
    bool taken;

    Carrot();
    Carrot(const Carrot&) = default;
    Carrot& operator=(const Carrot&) = default;
    void Respawn();
    void Render();
    bool isClicked();
};

struct Rabbit {
    vector3f position;
    vector3f direction;
    vector3f target;
    Carrot* carrot;
    Hole* hole;
    bool reached;
    bool catched;
    bool removed;
    bool stand;
    bool bait;
    float cfps;
    float fps;
    bool blink;
    float next_blink;

    Rabbit();
    Rabbit(const Rabbit&) = default;
    Rabbit& operator=(const Rabbit&) = default;
    void Render();
};

struct Eagle {
    Rabbit* target;
    std::vector<Rabbit*> miss;
    vector3f position;
    bool direction; // true: flying left
    float delay;
    float fps;

    Eagle();
    Eagle(const Eagle&) = default;
    Eagle& operator=(const Eagle&) = default;
    ~Eagle() = default;
    void Respawn();
    void Render();
};

// World.
extern Hole holes[7];
extern Hole* selection;
extern std::vector<Carrot> carrots;
extern std::list<Rabbit> rabbits;
extern std::list<Eagle> eagles;
extern int mode; // 0 move, 1 build, 2 sacrifice
extern bool game_over;

// Hints.
extern bool show_hints[5];
extern bool show_hint;
extern int hint_id;
extern float hint_tl;

// Screens.
extern bool show_menu;
extern bool show_skills;
extern bool show_credits;
extern bool show_helps;
extern bool developer_mode;

// The game's five panels.
extern GUILab menu, skills, gui, credits, helps;

// Picture handles, filled by the loading step.
extern GLuint cursor;
namespace Cursor {
extern GLuint arrow, bait, build, hole, skill, spawn, take;
}
extern GLuint carrot_pattern;
extern GLuint glow_pattern;
namespace GUI {
extern GLuint menu, credits, helps, skills, background;
extern GLuint help, add, back, carrots, skill, tray_bar, sign, arrow, x1, x2, close, game_over;
extern GLuint build[3], move[3], sacrifice[3];
extern GLuint hole[2], target[2];
extern GLuint building[2];
extern GLuint pu_build[3], pu_eval[3], pu_evasion[3], pu_progeny[3], pu_speed[3];
extern GLuint hints[5];
} // namespace GUI
extern GLuint rabbit_run[8], rabbit_run_wc[8], rabbit_taken[2];
extern GLuint eagle_fly[30];

// The best score, kept in "dat.bin".
extern const char* record_path;
void ReadRecord();
void StoreRecord();

// Holes and colony growth.
int EstimateHoleRabbits(int index);
int EstimateTotalRabbits();
bool CanProcreate(int index);
void ManageHoleGraph(int index);
void ManageHolesEvnt(int event);
void ManageHolesSct(int event);

// Rabbits.
bool null_rabbit(const Rabbit& entity);
void EraseTarget(Rabbit* rabbit);
bool ValidateTarget(Rabbit* rabbit);

// Carrots.
bool ValidateCarrotLocation(Carrot* c);

// Game flow.
void NewGame();
void Render();
