// Storage and start values of the game's globals, the skill table, and the
// record file.
#include "game/state.h"

#include "engine/startup_order.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

float building_delay = 15.0f;
float rabbits_speed = 30.0f;
float bait_safe_area = 100.0f;
float predator_speed = 30.0f;
int evasion_chance = 0;
int holes_capacity = 3;
int carrots_eval = 3;
int rabbit_cost = 2;
int develop_cost = 12;
int n_predator = 0;
int lairs_limit = 8;
int n_lairs = 1;

int n_carrots = 0;
int user_score = 0;
int user_record = 0;

namespace Skill {
int eval = 0;
int build = 0;
int evasion = 0;
int progeny = 0;
int speed = 0;
} // namespace Skill

GUILab menu BM_INIT_ORDER(BM_ORDER_PANELS);
GUILab skills BM_INIT_ORDER(BM_ORDER_PANELS);
GUILab gui BM_INIT_ORDER(BM_ORDER_PANELS);
GUILab credits BM_INIT_ORDER(BM_ORDER_PANELS);
GUILab helps BM_INIT_ORDER(BM_ORDER_PANELS);

Hole holes[7] BM_INIT_ORDER(BM_ORDER_HOLES);
Hole* selection = nullptr;
std::vector<Carrot> carrots BM_INIT_ORDER(BM_ORDER_WORLD);
std::list<Rabbit> rabbits BM_INIT_ORDER(BM_ORDER_WORLD);
std::list<Eagle> eagles BM_INIT_ORDER(BM_ORDER_WORLD);
int mode = 0;
bool game_over = false;

bool show_hints[5] = {false, false, false, false, false};
bool show_hint = false;
int hint_id = 0;
float hint_tl = 0.0f;

bool show_menu = true;
bool show_skills = false;
bool show_credits = false;
bool show_helps = false;
bool developer_mode = false;

GLuint cursor = 0;
namespace Cursor {
GLuint arrow = 0, bait = 0, build = 0, hole = 0, skill = 0, spawn = 0, take = 0;
}
GLuint carrot_pattern = 0;
GLuint glow_pattern = 0;
namespace GUI {
GLuint menu = 0, credits = 0, helps = 0, skills = 0, background = 0;
GLuint help = 0, add = 0, back = 0, carrots = 0, skill = 0, tray_bar = 0, sign = 0, arrow = 0, x1 = 0, x2 = 0,
       close = 0, game_over = 0;
GLuint build[3], move[3], sacrifice[3];
GLuint hole[2], target[2];
GLuint building[2];
GLuint pu_build[3], pu_eval[3], pu_evasion[3], pu_progeny[3], pu_speed[3];
GLuint hints[5];
} // namespace GUI
GLuint rabbit_run[8], rabbit_run_wc[8], rabbit_taken[2];
GLuint eagle_fly[30];

void ApplySkills()
{
    auto in_range = [](int level) { return level >= 0 && level <= 2; };
    if (in_range(Skill::build))
        building_delay = SkillEffect::building_delay[Skill::build];
    if (in_range(Skill::speed))
        rabbits_speed = SkillEffect::rabbits_speed[Skill::speed];
    if (in_range(Skill::evasion))
        evasion_chance = SkillEffect::evasion_chance[Skill::evasion];
    if (in_range(Skill::progeny))
        holes_capacity = SkillEffect::holes_capacity[Skill::progeny];
    if (in_range(Skill::eval))
        carrots_eval = SkillEffect::carrots_eval[Skill::eval];
}

const char* record_path = "dat.bin";

namespace {
// An installed game's record goes into the player's data folder, which may not
// exist yet: the missing folders are made private to the player (0700), as the
// XDG base directory rules ask. Folders that exist are left as they are.
void MakeFoldersAbove(const std::string& path)
{
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        mkdir(path.substr(0, slash).c_str(), 0700);
}
} // namespace

void ReadRecord()
{
    user_record = 0;
    if (!record_path || !*record_path)
        return;
    FILE* f = fopen(record_path, "rb");
    if (!f)
        return;
    unsigned char bytes[4];
    // A file too short to hold a record counts as no record; extra bytes are ignored.
    if (fread(bytes, 1, 4, f) == 4)
        user_record = static_cast<int32_t>(static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                                           static_cast<uint32_t>(bytes[2]) << 16 |
                                           static_cast<uint32_t>(bytes[3]) << 24);
    fclose(f);
}

void StoreRecord()
{
    user_record = user_score;
    if (!record_path || !*record_path)
        return; // no home to keep it in: the record lasts until the game ends
    uint32_t v = static_cast<uint32_t>(user_record);
    unsigned char bytes[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                              static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    // The new record goes to a file beside the old one and replaces it by rename,
    // so a crash or a full disk never leaves "dat.bin" empty or half written.
    std::string tmp = std::string(record_path) + ".tmp";
    FILE* f = fopen(tmp.c_str(), "wb");
    if (!f) {
        MakeFoldersAbove(tmp);
        f = fopen(tmp.c_str(), "wb");
    }
    if (!f)
        return;
    bool ok = fwrite(bytes, 1, 4, f) == 4;
    ok = fflush(f) == 0 && ok;
    ok = fsync(fileno(f)) == 0 && ok;
    ok = fclose(f) == 0 && ok;
    if (!ok || rename(tmp.c_str(), record_path) != 0)
        remove(tmp.c_str());
}
