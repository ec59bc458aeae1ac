// The game's real frame against a floor frame, interleaved in one window: the
// menu, an early game and a heavy late game held by a bot, at two window sizes;
// then a scripted minute of play, for the frames that stutter.
//   bench_frame [--rounds N]  the table (medians of N rounds, 5 by default), one
//                             "ratio STATE WxH R" line per state and size, and the minute
//   bench_frame --stutter     the minute only: one "stutter WxH MEDIAN_MS P99_MS MAX_MS"
//                             line per size, with the record's writes and their cost
//   bench_frame --shot FILE [--small]
//                             a picture (PPM) of the heavy state, the same in every
//                             run, at 1920 x 1080 (at 640 x 480 with --small)
// BM_STUTTER_SECONDS shortens (or lengthens) the minute; the record it writes goes to
// a temporary folder, removed afterwards, or to BM_STUTTER_RECORD_DIR, left as it is.
// Run from the folder that holds Data/, on an X server with a 1920 x 1080 screen,
// with a sound device (ALSOFT_DRIVERS=null will do).
#define GL_GLEXT_PROTOTYPES // the occlusion queries that count fragments
#include "bench/floor_quad.h"
#include "bench/frame_counters.h"
#include "engine/draw.h"
#include "engine/sound.h"
#include "game/fx_instances.h"
#include "game/frame.h"
#include "game/input.h"
#include "game/state.h"
#include "math/global_time.h"
#include "platform/platform.h"

#include <AL/alc.h>
#include <GL/freeglut.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace {

// The same seed and the same frame time in every run make the heavy state the
// same picture in every build, so that builds can be compared pixel by pixel.
constexpr unsigned kSeed = 20240613u;
constexpr float kFrameTime = 1.0f / 60.0f;
int rounds = 5;
constexpr int kHeavyWarmFrames = 90;
constexpr int kEarlyWarmFrames = 30;

struct WindowSize {
    int w, h;
    int frames; // per timed block: more where frames are short, so blocks last alike
};
const WindowSize kSizes[] = {{1920, 1080, 10}, {640, 480, 30}};
// Each state takes turns with the floor this many times per round, so that a
// burst of load from elsewhere on the machine spoils one turn, not the round.
constexpr int kTurns = 4;

enum StateId { kMenu, kEarly, kHeavy, kStates };
const char* const kStateNames[kStates] = {"menu", "early", "heavy"};

double Seconds(clockid_t clock)
{
    timespec ts;
    clock_gettime(clock, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// One timed block of frames, per frame.
struct Block {
    double ms = 0, cpu_ms = 0, main_ms = 0, x_wait_ms = 0, round_trips = 0, binds = 0, draws = 0, allocations = 0;
    double fill = 0; // fragments drawn, in window areas
};

// The bot: it sets a state up and, before every frame of it, tops it up so that
// it holds for as long as it is measured.
struct Bot {
    int tick = 0;
    int next_hole = 0;
    int next_carrot = 0;
};
Bot bot;
std::function<void()> hold_state;
int frames_drawn = 0;
// The window's size as the benchmark last made it: asking GLUT would ask the X
// server, and those round trips would be counted as the game's.
WindowSize window = kSizes[0];

void PointerAtCentre()
{
    touch_coord_x = static_cast<float>(window.w) * 0.5f;
    touch_coord_y = static_cast<float>(window.h) * 0.5f;
}

// Every frame counts the fragments it draws, up to its swap.
GLuint fragment_query = 0;
bool counting_fragments = false;

void BeginFragmentCount()
{
    if (fragment_query == 0)
        glGenQueries(1, &fragment_query);
    glBeginQuery(GL_SAMPLES_PASSED, fragment_query);
    counting_fragments = true;
}

void EndFragmentCount()
{
    if (counting_fragments) {
        glEndQuery(GL_SAMPLES_PASSED);
        counting_fragments = false;
    }
}

void AddFragmentCount()
{
    EndFragmentCount();
    GLuint n = 0;
    glGetQueryObjectuiv(fragment_query, GL_QUERY_RESULT, &n);
    bench_counters.fragments += n;
    ++frames_drawn;
}

void GameDisplay()
{
    if (hold_state)
        hold_state();
    global_time = kFrameTime;
    BeginFragmentCount();
    display();
    AddFragmentCount();
}

GLuint floor_texture = 0;

// The floor: the least a full-screen game frame can be, one textured quad over
// the whole window, cleared, finished and swapped like the game's frame.
void FloorDisplay()
{
    BeginFragmentCount();
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, floor_texture);
    ForgetBoundTexture();
    glColor4f(1, 1, 1, 1);
    DrawFloorQuad();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
    glFlush();
    glFinish();
    glutSwapBuffers();
    glutPostRedisplay();
    AddFragmentCount();
}

// Runs `frames` frames of the current display callback through freeglut's own loop step.
Block RunFrames(int frames)
{
    FrameCounters c0 = bench_counters;
    double t0 = Seconds(CLOCK_MONOTONIC), cpu0 = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    double main0 = Seconds(CLOCK_THREAD_CPUTIME_ID);
    frames_drawn = 0;
    glutPostRedisplay();
    while (frames_drawn < frames)
        glutMainLoopEvent();
    double n = frames;
    Block b;
    b.ms = (Seconds(CLOCK_MONOTONIC) - t0) * 1e3 / n;
    b.cpu_ms = (Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu0) * 1e3 / n;
    b.main_ms = (Seconds(CLOCK_THREAD_CPUTIME_ID) - main0) * 1e3 / n;
    b.x_wait_ms = (bench_counters.x_wait_seconds - c0.x_wait_seconds) * 1e3 / n;
    b.fill = static_cast<double>(bench_counters.fragments - c0.fragments) / n / (static_cast<double>(window.w) * window.h);
    b.round_trips = static_cast<double>(bench_counters.round_trips - c0.round_trips) / n;
    b.binds = static_cast<double>(bench_counters.binds - c0.binds) / n;
    b.draws = static_cast<double>(bench_counters.draws - c0.draws) / n;
    b.allocations = static_cast<double>(bench_counters.allocations - c0.allocations) / n;
    return b;
}

Block RunGame(int frames)
{
    glutDisplayFunc(GameDisplay);
    return RunFrames(frames);
}

Block RunFloor(int frames)
{
    glutDisplayFunc(FloorDisplay);
    Block b = RunFrames(frames);
    glutDisplayFunc(GameDisplay);
    return b;
}

void LeaveScreens()
{
    show_menu = show_skills = show_credits = show_helps = false;
}

// A rabbit leaves hole `from` the way the game sends one: from its tray button.
void SendRabbit(int from, Rabbit r)
{
    GUILab::Button* home = gui.GetButton(holes[from].id);
    if (!home || holes[from].rabbits < 1)
        return;
    r.position.x = home->position.x;
    rabbits.push_back(r);
    holes[from].rabbits -= 1;
}

Carrot* FreeCarrot()
{
    for (size_t k = 0; k < carrots.size(); ++k) {
        Carrot& c = carrots[(static_cast<size_t>(bot.next_carrot) + k) % carrots.size()];
        bool fetched = std::any_of(rabbits.begin(), rabbits.end(), [&](const Rabbit& r) { return r.carrot == &c; });
        if (!c.taken && !fetched) {
            ++bot.next_carrot;
            return &c;
        }
    }
    return nullptr;
}

void SendFetcher(int from, Carrot* c)
{
    Rabbit r;
    r.target = vector3f(c->position.x, 256.0f, 0.0f);
    r.carrot = c;
    r.hole = &holes[from];
    SendRabbit(from, r);
}

void SetUpMenu()
{
    show_menu = true;
    hold_state = PointerAtCentre;
}

void SetUpEarly()
{
    srand(kSeed);
    NewGame();
    LeaveScreens();
    user_record = 400; // a record far off: no record file is written while measuring
    // The player's first click: a rabbit for a carrot.
    if (Carrot* c = FreeCarrot())
        SendFetcher(3, c);
    hold_state = PointerAtCentre;
}

// The late game: seven full holes, about sixty rabbits at home and fourteen out
// (fetching, moving house and one waiting as bait), 31 eagles on the wing and
// the effects of harvest and regrowth playing.
void HoldHeavy()
{
    PointerAtCentre();
    ++bot.tick;
    n_predator = 31;
    while (eagles.size() > 31)
        eagles.pop_back();
    for (bool& shown : show_hints)
        shown = true;
    user_score = 150;
    n_carrots = 60;
    game_over = false;

    int home = 0;
    for (const Hole& h : holes)
        home += h.rabbits;
    for (; home < 60; ++home) {
        Hole* fewest = std::min_element(std::begin(holes), std::end(holes),
                                        [](const Hole& a, const Hole& b) { return a.rabbits < b.rabbits; });
        fewest->rabbits += 1;
    }

    int out = 0;
    bool bait = false;
    for (const Rabbit& r : rabbits) {
        if (r.removed || r.catched)
            continue;
        ++out;
        bait = bait || r.bait;
    }
    for (int tries = 0; out < 14 && tries < 14; ++tries) {
        int from = bot.next_hole++ % 7;
        if (holes[from].rabbits < 2)
            continue;
        if (!bait) {
            Rabbit r;
            r.target = vector3f(static_cast<float>(120 + (bot.tick * 37) % 280), 256.0f, 0.0f);
            r.hole = &holes[from];
            r.bait = true;
            SendRabbit(from, r);
            bait = true;
        } else if (Carrot* c = FreeCarrot()) {
            SendFetcher(from, c);
        } else {
            int to = (from + 3) % 7;
            Rabbit r;
            r.hole = &holes[to];
            if (GUILab::Button* b = gui.GetButton(holes[to].id))
                r.target.x = b->position.x;
            SendRabbit(from, r);
        }
        ++out;
    }
    if (SP_Fx.fx_list.size() < 3)
        SP_Fx.Add(FX::point, vector3f(static_cast<float>(60 + (bot.tick * 53) % 400), 205.0f, 0.0f), 17.0f);
    if (bot.tick % 45 == 0)
        SpawnCarrotsFX(vector3f(static_cast<float>(80 + (bot.tick * 29) % 360), 199.0f, 0.0f));
}

void SetUpHeavy()
{
    srand(kSeed);
    NewGame();
    LeaveScreens();
    bot = Bot();
    Skill::eval = Skill::build = Skill::evasion = Skill::progeny = Skill::speed = 2;
    for (Hole& h : holes) {
        h.status = 2;
        h.rabbits = 9;
        h.rate = 0.0f;
    }
    n_lairs = 7;
    develop_cost = 49;
    user_record = 400;
    for (int i = 0; i < 31; ++i) {
        eagles.emplace_back();
        eagles.back().delay = 0.0f;
        eagles.back().position = vector3f(30.0f + static_cast<float>(i) * 14.5f, 450.0f, 0.0f);
    }
    n_predator = 31;
    hold_state = HoldHeavy;
}

void SetUp(StateId s)
{
    switch (s) {
    case kMenu: SetUpMenu(); break;
    case kEarly:
        SetUpEarly();
        RunGame(kEarlyWarmFrames);
        break;
    case kHeavy:
        SetUpHeavy();
        RunGame(kHeavyWarmFrames);
        break;
    default: break;
    }
}

// Waits, with a deadline, until the window has the size asked for.
bool ResizeWindow(int w, int h)
{
    glutReshapeWindow(w, h);
    glutDisplayFunc(FloorDisplay);
    double deadline = Seconds(CLOCK_MONOTONIC) + 10.0;
    while (glutGet(GLUT_WINDOW_WIDTH) != w || glutGet(GLUT_WINDOW_HEIGHT) != h) {
        if (Seconds(CLOCK_MONOTONIC) > deadline)
            return false;
        glutMainLoopEvent();
    }
    window = WindowSize{w, h, 0};
    // A few frames at the new size, so that the reshape has reached everyone.
    RunFrames(5);
    glutDisplayFunc(GameDisplay);
    return true;
}

// Without a window manager nobody gives the game the focus; the bench does, as one would.
bool TakeFocus()
{
    // Explicitly, even when the pointer happens to be over the window: at the
    // small size it no longer is.
    double deadline = Seconds(CLOCK_MONOTONIC) + 10.0;
    bool given = false;
    while (!given || !Sys::SampleInput().focused) {
        if (Seconds(CLOCK_MONOTONIC) > deadline)
            return false;
        glutMainLoopEvent();
        given = given || BenchFocusCurrentWindow();
    }
    return true;
}

std::vector<unsigned char> shot_pixels;
int shot_w = 0, shot_h = 0;
bool shot_wanted = false;

void BeforeSwap()
{
    EndFragmentCount();
    if (!shot_wanted)
        return;
    shot_wanted = false;
    shot_w = window.w;
    shot_h = window.h;
    shot_pixels.assign(static_cast<size_t>(shot_w) * static_cast<size_t>(shot_h) * 3, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, shot_w, shot_h, GL_RGB, GL_UNSIGNED_BYTE, shot_pixels.data());
}

bool WriteShot(const char* path)
{
    FILE* f = std::fopen(path, "wb");
    if (!f)
        return false;
    std::fprintf(f, "P6\n%d %d\n255\n", shot_w, shot_h);
    size_t row = static_cast<size_t>(shot_w) * 3;
    bool ok = true;
    for (int y = shot_h - 1; y >= 0 && ok; --y)
        ok = std::fwrite(&shot_pixels[static_cast<size_t>(y) * row], 1, row, f) == row;
    return std::fclose(f) == 0 && ok;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

struct Result {
    std::vector<Block> blocks;
    std::vector<double> ratios;
};

void PrintRow(const char* state, const WindowSize& s, const Result& r)
{
    auto med = [&](double Block::*field) {
        std::vector<double> v;
        for (const Block& b : r.blocks)
            v.push_back(b.*field);
        return Median(v);
    };
    char ratio[16] = "-";
    if (!r.ratios.empty())
        std::snprintf(ratio, sizeof ratio, "%.2f", Median(r.ratios));
    char allocations[16] = "n/a";
    if (BenchCountsAllocations())
        std::snprintf(allocations, sizeof allocations, "%.1f", med(&Block::allocations));
    std::printf("%-6s %4dx%-4d %7.2f %7.2f %7.2f %6s %7.1f %6.2f %5.2f %6.1f %6.1f %7s\n", state, s.w, s.h,
                med(&Block::ms), med(&Block::cpu_ms), med(&Block::main_ms), ratio, med(&Block::round_trips), med(&Block::x_wait_ms), med(&Block::fill),
                med(&Block::binds), med(&Block::draws), allocations);
}

Block Mean(const std::vector<Block>& blocks)
{
    Block m;
    double n = static_cast<double>(blocks.size());
    for (const Block& b : blocks) {
        m.ms += b.ms / n;
        m.cpu_ms += b.cpu_ms / n;
        m.main_ms += b.main_ms / n;
        m.x_wait_ms += b.x_wait_ms / n;
        m.fill += b.fill / n;
        m.round_trips += b.round_trips / n;
        m.binds += b.binds / n;
        m.draws += b.draws / n;
        m.allocations += b.allocations / n;
    }
    return m;
}

// The scripted minute: a game played as a player plays it, for the frame times a
// player feels. Every half second the bot clicks a free carrot (the bare field
// when none is free) with the left button, so rabbits go for carrots by the
// game's own click; the click sounds, the ding when a carrot is taken, and with
// a record of 5 to beat every carrot after the fifth rewrites the record file.
// Eagles strike the rabbits in the field, new waves of carrots grow, and the
// selected hole is topped up so that the colony never dies out.
constexpr int kStutterRecord = 5;
constexpr int kClickFrames = 30;
constexpr int kSettleFrames = 30;
constexpr float kClickRow = 210.5f; // the field's band, on the 512 x 512 screen
int stutter_frames = 3600;

struct StutterFrame {
    double ms;        // the frame's display()
    double fsync_ms;  // of which the record's fsync
    bool wrote;       // the frame rewrote the record
};
std::vector<StutterFrame> stutter_log;

void HoldStutter()
{
    ++bot.tick;
    if (selection && selection->rabbits < 3)
        selection->rabbits = 3;
    bench_left_button = 0;
    if (bot.tick % kClickFrames != 0)
        return;
    Carrot* c = FreeCarrot();
    float x = c ? c->position.x + 0.5f : static_cast<float>(40 + (bot.tick * 37) % 430);
    touch_coord_x = x * static_cast<float>(window.w) / 512.0f;
    touch_coord_y = (512.0f - kClickRow) * static_cast<float>(window.h) / 512.0f;
    bench_left_button = 1;
}

void StutterDisplay()
{
    HoldStutter();
    global_time = kFrameTime;
    int record = user_record;
    double fsync0 = bench_counters.fsync_seconds;
    double t0 = Seconds(CLOCK_MONOTONIC);
    display();
    double ms = (Seconds(CLOCK_MONOTONIC) - t0) * 1e3;
    // The first frames at a new window size pay for the driver's new buffers,
    // which no frame of play does: the minute is counted after them.
    if (bot.tick > kSettleFrames && stutter_log.size() < stutter_log.capacity())
        stutter_log.push_back({ms, (bench_counters.fsync_seconds - fsync0) * 1e3, user_record > record});
    ++frames_drawn;
}

// The record of the minute is never the player's: it goes to a folder made for
// the run and removed after it, or to the folder the caller names.
struct RecordFolder {
    std::string dir, path;
    bool ours = false;

    bool Make()
    {
        const char* given = std::getenv("BM_STUTTER_RECORD_DIR");
        if (given && *given) {
            dir = given;
        } else {
            const char* tmp = std::getenv("TMPDIR");
            std::string pattern = std::string(tmp && *tmp == '/' ? tmp : "/tmp") + "/bm-stutter-XXXXXX";
            std::vector<char> name(pattern.begin(), pattern.end());
            name.push_back('\0');
            if (!mkdtemp(name.data()))
                return false;
            dir = name.data();
            ours = true;
        }
        path = dir + "/dat.bin";
        return true;
    }

    ~RecordFolder()
    {
        if (!ours)
            return;
        std::remove(path.c_str());
        std::remove((path + ".tmp").c_str());
        rmdir(dir.c_str());
    }
};

double Percentile(std::vector<double> v, double q)
{
    if (v.empty())
        return 0.0;
    std::sort(v.begin(), v.end());
    size_t rank = static_cast<size_t>(std::ceil(q * static_cast<double>(v.size())));
    return v[std::min(std::max<size_t>(rank, 1), v.size()) - 1];
}

int RunStutter(const WindowSize& s, const std::string& record_file)
{
    if (!ResizeWindow(s.w, s.h)) {
        std::fprintf(stderr, "bench_frame: the window never reached %dx%d\n", s.w, s.h);
        return 1;
    }
    srand(kSeed);
    NewGame();
    LeaveScreens();
    bot = Bot();
    Skill::speed = 1;
    n_predator = 3;
    // The record to beat, written and read back as the game keeps it.
    record_path = record_file.c_str();
    user_score = kStutterRecord;
    StoreRecord();
    user_score = 0;
    ReadRecord();
    if (user_record != kStutterRecord) {
        std::fprintf(stderr, "bench_frame: no record could be kept in %s\n", record_file.c_str());
        return 1;
    }

    stutter_log.clear();
    stutter_log.reserve(static_cast<size_t>(stutter_frames));
    uint64_t sounds0 = bench_counters.sounds_played, fsyncs0 = bench_counters.fsyncs;
    glutDisplayFunc(StutterDisplay);
    RunFrames(kSettleFrames + stutter_frames);
    glutDisplayFunc(GameDisplay);
    bench_left_button = 0;

    std::vector<double> all, with_write, without, fsyncs;
    for (const StutterFrame& f : stutter_log) {
        all.push_back(f.ms);
        (f.wrote ? with_write : without).push_back(f.ms);
        if (f.wrote)
            fsyncs.push_back(f.fsync_ms);
    }
    size_t slowest = static_cast<size_t>(std::max_element(all.begin(), all.end()) - all.begin());
    std::printf("stutter %dx%d %.2f %.2f %.2f\n", s.w, s.h, Median(all), Percentile(all, 0.99), Percentile(all, 1.0));
    std::printf("record %dx%d writes %zu, %d -> %d, fsync median %.2f ms slowest %.2f ms (%llu fsyncs)\n", s.w, s.h,
                with_write.size(), kStutterRecord, user_record, Median(fsyncs), Percentile(fsyncs, 1.0),
                static_cast<unsigned long long>(bench_counters.fsyncs - fsyncs0));
    std::printf("frames %dx%d %zu: with a write median %.2f ms slowest %.2f ms, without median %.2f ms slowest "
                "%.2f ms; slowest is frame %zu (%s); %llu sounds started\n",
                s.w, s.h, all.size(), Median(with_write), Percentile(with_write, 1.0), Median(without),
                Percentile(without, 1.0), slowest + 1, stutter_log[slowest].wrote ? "a write" : "no write",
                static_cast<unsigned long long>(bench_counters.sounds_played - sounds0));
    return 0;
}

int MeasureStutter()
{
    if (!alcGetCurrentContext()) {
        std::fprintf(stderr, "bench_frame: the scripted minute needs a sound device (ALSOFT_DRIVERS=null will do)\n");
        return 1;
    }
    RecordFolder folder;
    if (!folder.Make()) {
        std::fprintf(stderr, "bench_frame: no folder for the record\n");
        return 1;
    }
    const char* kept_path = record_path;
    int rc = 0;
    for (const WindowSize& s : kSizes)
        if (rc == 0)
            rc = RunStutter(s, folder.path);
    record_path = kept_path;
    std::printf("(the scripted minute: %d frames of 1/60 s each, per size; ms: each frame's display(), wall clock;\n"
                " median, 99th percentile and slowest; a write: the frame rewrote the record, with its fsync)\n",
                stutter_frames);
    return rc;
}

int MeasureAll()
{
    Result floor_results[2];
    Result results[2][kStates];
    for (int round = 0; round < rounds; ++round) {
        for (int si = 0; si < 2; ++si) {
            const WindowSize& s = kSizes[si];
            if (!ResizeWindow(s.w, s.h)) {
                std::fprintf(stderr, "bench_frame: the window never reached %dx%d\n", s.w, s.h);
                return 1;
            }
            for (int st = 0; st < kStates; ++st) {
                SetUp(static_cast<StateId>(st));
                // Floor, state, floor, ...: each turn of the state is set against the floors on both sides.
                std::vector<Block> floors{RunFloor(s.frames)}, games;
                std::vector<double> ratios;
                for (int turn = 0; turn < kTurns; ++turn) {
                    games.push_back(RunGame(s.frames));
                    floors.push_back(RunFloor(s.frames));
                    ratios.push_back(games.back().ms / ((floors[floors.size() - 2].ms + floors.back().ms) * 0.5));
                }
                floor_results[si].blocks.push_back(Mean(floors));
                results[si][st].blocks.push_back(Mean(games));
                results[si][st].ratios.push_back(Median(ratios));
            }
        }
        std::fprintf(stderr, "bench_frame: round %d of %d done\n", round + 1, rounds);
    }
    std::printf("%-6s %-9s %7s %7s %7s %6s %7s %6s %5s %6s %6s %7s\n", "state", "size", "ms", "cpu ms", "main ms",
                "ratio", "X trips",
                "X ms", "fill", "binds", "draws", "allocs");
    for (int si = 0; si < 2; ++si) {
        PrintRow("floor", kSizes[si], floor_results[si]);
        for (int st = 0; st < kStates; ++st)
            PrintRow(kStateNames[st], kSizes[si], results[si][st]);
    }
    std::printf("(per frame, medians of %d rounds. ms: wall clock; cpu ms: the whole process, rasteriser threads\n"
                " included; main ms: the thread that runs the frame; ratio: ms against the floor frames on both\n"
                " sides; X ms: waiting for the X server's replies; fill: fragments drawn, in window areas)\n",
                rounds);
    for (int st = 0; st < kStates; ++st)
        for (int si = 0; si < 2; ++si)
            std::printf("ratio %s %dx%d %.2f\n", kStateNames[st], kSizes[si].w, kSizes[si].h,
                        Median(results[si][st].ratios));
    return MeasureStutter();
}

int TakeHeavyShot(const char* path, const WindowSize& size)
{
    if (!ResizeWindow(size.w, size.h))
        return 1;
    SetUp(kHeavy);
    shot_wanted = true;
    RunGame(1);
    if (shot_wanted || !WriteShot(path)) {
        std::fprintf(stderr, "bench_frame: no picture written to %s\n", path);
        return 1;
    }
    return 0;
}


} // namespace

int main(int argc, char** argv)
{
    const char* shot_path = nullptr;
    bool stutter_only = false;
    if (const char* seconds = std::getenv("BM_STUTTER_SECONDS")) {
        double v = std::atof(seconds);
        if (!(v > 0.0 && v <= 3600.0)) {
            std::fprintf(stderr, "bench_frame: BM_STUTTER_SECONDS must be above 0 and at most 3600\n");
            return 2;
        }
        stutter_frames = std::max(1, static_cast<int>(std::lround(v / kFrameTime)));
    }
    const WindowSize* shot_size = &kSizes[0];
    if ((argc == 3 || (argc == 4 && std::strcmp(argv[3], "--small") == 0)) && std::strcmp(argv[1], "--shot") == 0) {
        shot_path = argv[2];
        shot_size = &kSizes[argc == 4 ? 1 : 0];
    } else if (argc == 2 && std::strcmp(argv[1], "--stutter") == 0) {
        stutter_only = true;
    } else if (argc == 3 && std::strcmp(argv[1], "--rounds") == 0 && std::atoi(argv[2]) > 0) {
        rounds = std::atoi(argv[2]);
    } else if (argc != 1) {
        std::fprintf(stderr, "usage: bench_frame [--rounds N] | --stutter | --shot FILE [--small]\n");
        return 2;
    }
    BenchCountAllocationsOfThisThread();
    bench_before_swap = BeforeSwap;

    // The window as the game makes it, at a known place and size.
    glutInit(&argc, argv);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_EXIT);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB);
    glutInitWindowPosition(0, 0);
    glutInitWindowSize(kSizes[0].w, kSizes[0].h);
    glutCreateWindow("Burrowmere");
    glutSetCursor(GLUT_CURSOR_NONE);
    StartAudioOutput();
    RegisterCallbacks();
    glutDisplayFunc(GameDisplay); // the game's frame, held in its state by the bot
    Sys::RememberGameWindow();
    init();
    floor_texture = GUI::background;

    if (!TakeFocus()) {
        std::fprintf(stderr, "bench_frame: the window never got the focus\n");
        return 1;
    }
    if (shot_path)
        return TakeHeavyShot(shot_path, *shot_size);
    std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    return stutter_only ? MeasureStutter() : MeasureAll();
}
