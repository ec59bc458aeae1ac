// Starting the game: its options, where Data/ and the record are found, the
// record's first folder, and where the single-instance lock may live.
#include "game/launch.h"
#include "game/state.h"
#include "platform/platform.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

TEST(LaunchOptions, GameOptionsAreTakenAndGlutsAreLeft)
{
    struct Case {
        std::vector<std::string> args;
        LaunchAction action;
        bool windowed;
        std::vector<std::string> left; // argv after parsing, or the bad option
    };
    const Case cases[] = {
        {{}, LaunchAction::Play, false, {}},
        {{"--windowed"}, LaunchAction::Play, true, {}},
        {{"-display", ":3", "--windowed", "-geometry", "30x20+1+2", "-iconic"}, LaunchAction::Play, true,
         {"-display", ":3", "-geometry", "30x20+1+2", "-iconic"}},
        {{"--help", "--bogus"}, LaunchAction::Help, false, {}},
        {{"--windowed", "--version"}, LaunchAction::Version, true, {}},
        {{"--windowed", "--bogus"}, LaunchAction::BadOption, true, {"--bogus"}},
        {{"windowed"}, LaunchAction::BadOption, false, {"windowed"}},
        {{"-geometry"}, LaunchAction::BadOption, false, {"-geometry"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> storage = c.args;
        storage.insert(storage.begin(), "burrowmere");
        std::vector<char*> argv;
        for (std::string& s : storage)
            argv.push_back(s.data());
        argv.push_back(nullptr);
        int argc = static_cast<int>(storage.size());
        LaunchOptions o = ParseCommandLine(argc, argv.data());
        SCOPED_TRACE(testing::PrintToString(c.args));
        EXPECT_EQ(o.action, c.action);
        EXPECT_EQ(o.windowed, c.windowed);
        if (c.action == LaunchAction::BadOption) {
            EXPECT_EQ(o.bad_option, c.left[0]);
        } else if (c.action == LaunchAction::Play) {
            std::vector<std::string> left(argv.begin() + 1, argv.begin() + argc);
            EXPECT_EQ(left, c.left);
            EXPECT_EQ(argv[argc], nullptr);
        }
    }
    for (const char* option : {"--windowed", "--help", "--version", "-display", "-geometry"})
        EXPECT_NE(Usage().find(option), std::string::npos) << option;
}

class Places : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = fs::canonical(fs::temp_directory_path()) / ("bm_launch_" + std::to_string(getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "home");
        setenv("HOME", (root / "home").c_str(), 1);
    }
    void TearDown() override
    {
        record_path = "dat.bin";
        fs::remove_all(root);
    }
    std::string Folder(const std::string& rel) { return (root / rel).string() + "/"; }
    fs::path root;
};

TEST_F(Places, BesideTheProgramFirstThenInstalled)
{
    fs::create_directories(root / "build/Data");
    fs::create_directories(root / "share/games/burrowmere/Data");
    GamePlaces build = FindGamePlaces(Folder("build"));
    EXPECT_EQ(build.data_folder, Folder("build"));
    EXPECT_EQ(build.record, Folder("build") + "dat.bin");

    fs::create_directories(root / "games");
    const std::string installed = Folder("share/games/burrowmere");
    const std::string xdg_home = Folder("home") + ".local/share/burrowmere/dat.bin";
    const std::pair<const char*, std::string> xdg[] = {{"/data/x", "/data/x/burrowmere/dat.bin"},
                                                       {nullptr, xdg_home},
                                                       {"", xdg_home},
                                                       {"relative/x", xdg_home}};
    for (const auto& [value, record] : xdg) {
        value ? setenv("XDG_DATA_HOME", value, 1) : unsetenv("XDG_DATA_HOME");
        GamePlaces game = FindGamePlaces(Folder("games"));
        EXPECT_EQ(game.data_folder, installed);
        EXPECT_EQ(game.record, record) << (value ? value : "unset");
    }
    unsetenv("XDG_DATA_HOME");

    fs::create_directories(root / "games/Data");
    EXPECT_EQ(FindGamePlaces(Folder("games")).data_folder, Folder("games")) << "a portable folder wins";
    fs::remove_all(root / "games/Data");
    fs::remove_all(root / "share");
    GamePlaces none = FindGamePlaces(Folder("games"));
    EXPECT_EQ(none.data_folder, "");
    EXPECT_EQ(none.beside, Folder("games"));
    EXPECT_EQ(none.installed, Folder("games") + "../share/games/burrowmere/");
}

TEST_F(Places, FirstRecordMakesAPrivateFolder)
{
    const std::string record = Folder("home") + ".local/share/burrowmere/dat.bin";
    record_path = record.c_str();
    user_score = 7;
    StoreRecord();
    EXPECT_EQ(fs::status(root / "home/.local/share/burrowmere").permissions(), fs::perms::owner_all);
    user_record = 0;
    ReadRecord();
    EXPECT_EQ(user_record, 7);
    EXPECT_EQ(fs::file_size(record), 4u);
}

TEST_F(Places, InstanceLockOnlyInAFolderOfThisUser)
{
    // The lock is taken once per process: every case runs in a child of its own.
    auto lock_in = [](const char* runtime) {
        runtime ? setenv("XDG_RUNTIME_DIR", runtime, 1) : unsetenv("XDG_RUNTIME_DIR");
        setenv("DISPLAY", ":7", 1);
        exit(Sys::AcquireInstanceLock("burrowmere") ? 0 : 1);
    };
    auto entries = [](const fs::path& dir) { return std::distance(fs::directory_iterator(dir), {}); };
    fs::create_directories(root / "run");
    fs::create_directories(root / "shared");
    fs::permissions(root / "run", fs::perms::owner_all);
    fs::permissions(root / "shared", fs::perms::all);
    setenv("XDG_CACHE_HOME", (root / "cache").c_str(), 1);
    EXPECT_EXIT(lock_in((root / "run").c_str()), testing::ExitedWithCode(0), "");
    EXPECT_EQ(entries(root / "run"), 1);
    EXPECT_FALSE(fs::exists(root / "cache"));
    const std::string shared = (root / "shared").string();
    for (const char* runtime : {shared.c_str(), static_cast<const char*>(nullptr)}) {
        EXPECT_EXIT(lock_in(runtime), testing::ExitedWithCode(0), "");
        EXPECT_EQ(entries(root / "shared"), 0);
        EXPECT_EQ(entries(root / "cache/burrowmere"), 1);
        EXPECT_EQ(fs::status(root / "cache/burrowmere").permissions(), fs::perms::owner_all);
    }
    // A link planted where the lock goes is not followed.
    fs::path lock = *fs::directory_iterator(root / "run");
    fs::remove(lock);
    fs::create_symlink(root / "victim", lock);
    EXPECT_EXIT(lock_in((root / "run").c_str()), testing::ExitedWithCode(0), "");
    EXPECT_FALSE(fs::exists(root / "victim"));
    unsetenv("XDG_CACHE_HOME");
}
