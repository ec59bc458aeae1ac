// The game's pictures: every loaded key has a source, the sources are sound SVGs
// of the right shape, the generator reproduces them, and the built store agrees.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "engine/database.h"

namespace fs = std::filesystem;

namespace {

std::string SourceDir() {
    const char* dir = std::getenv("BM_SOURCE_DIR");
    return dir ? dir : ".";
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Key -> source, in file order, from assets/textures.manifest.
std::vector<std::pair<std::string, std::string>> Manifest() {
    std::vector<std::pair<std::string, std::string>> rows;
    std::ifstream in(SourceDir() + "/assets/textures.manifest");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string key, source;
        fields >> key >> source;
        if (!key.empty()) rows.emplace_back(key, source);
    }
    return rows;
}

// Every path the loading step asks the store for.
std::vector<std::string> LoadedKeys() {
    std::vector<std::string> keys = {
        "Data/GUI/cursors/cursor.png", "Data/GUI/cursors/bait.png", "Data/GUI/cursors/build.png",
        "Data/GUI/cursors/hole.png", "Data/GUI/cursors/skill.png", "Data/GUI/cursors/spawn.png",
        "Data/GUI/cursors/take.png", "Data/carrot.png", "Data/glow_area.png", "Data/GUI/menu.bmp",
        "Data/GUI/credits.png", "Data/GUI/help.png", "Data/GUI/add.png", "Data/GUI/back.png",
        "Data/GUI/background.jpg", "Data/GUI/building.png", "Data/GUI/building_pb.png",
        "Data/GUI/carrots.png", "Data/GUI/hole.png", "Data/GUI/hole_selected.png",
        "Data/GUI/skill.png", "Data/GUI/target_base.png", "Data/GUI/target.png",
        "Data/GUI/tray_bar.png", "Data/GUI/sign.png", "Data/GUI/skills.png", "Data/GUI/arrow.png",
        "Data/GUI/1x.png", "Data/GUI/2x.png", "Data/GUI/close.png", "Data/GUI/game_over.png",
        "Data/GUI/help_0.jpg"};
    for (const char* mode : {"build", "move", "sacrifice"})
        for (const char* look : {"", "_selected", "_disabled"})
            keys.push_back(std::string("Data/GUI/") + mode + look + ".png");
    for (const char* skill : {"build", "eval", "evasion", "progeny", "speed"})
        for (const char* look : {"_disabled", "", "_dcr"})
            keys.push_back(std::string("Data/GUI/pu_") + skill + look + ".png");
    for (int i = 1; i <= 5; ++i) keys.push_back("Data/GUI/hints/" + std::to_string(i) + ".png");
    for (int i = 1; i <= 8; ++i) {
        keys.push_back("Data/animation/rabbit/" + std::to_string(i) + ".png");
        keys.push_back("Data/animation/rabbit_carrot/" + std::to_string(i) + ".png");
    }
    for (int i = 1; i <= 2; ++i) keys.push_back("Data/animation/rabbit_taken/" + std::to_string(i) + ".png");
    for (int i = 1; i <= 30; ++i) keys.push_back("Data/animation/eagle/" + std::to_string(i) + ".png");
    return keys;
}

struct SvgSize {
    int w = 0, h = 0;
};

// Width and height of the root <svg> element; 0 when absent or malformed.
SvgSize ReadSvgSize(const std::string& doc) {
    SvgSize size;
    std::smatch root;
    if (!std::regex_search(doc, root, std::regex("<svg\\b[^>]*>"))) return size;
    std::string tag = root.str();
    std::smatch m;
    if (std::regex_search(tag, m, std::regex("\\swidth=\"([0-9]+)\""))) size.w = std::atoi(m[1].str().c_str());
    if (std::regex_search(tag, m, std::regex("\\sheight=\"([0-9]+)\""))) size.h = std::atoi(m[1].str().c_str());
    return size;
}

fs::path SourceOf(const std::string& source) { return fs::path(SourceDir()) / "assets" / source; }

} // namespace

TEST(ArtManifest, EveryLoadedKeyHasOneRealSource) {
    auto rows = Manifest();
    std::map<std::string, std::string> by_key;
    for (const auto& [key, source] : rows) {
        EXPECT_TRUE(by_key.emplace(key, source).second) << "duplicate key " << key;
        EXPECT_EQ(source.rfind("placeholder:", 0), std::string::npos) << key << " still has a stand-in";
        EXPECT_TRUE(fs::is_regular_file(SourceOf(source))) << key << ": missing source " << source;
    }
    for (const std::string& key : LoadedKeys()) EXPECT_EQ(by_key.count(key), 1u) << "no source for " << key;
}

TEST(ArtManifest, SourcesMirrorTheirKeys) {
    for (const auto& [key, source] : Manifest()) {
        fs::path expected = fs::path("art") / fs::path(key.substr(5)).replace_extension(".svg");
        EXPECT_EQ(fs::path(source), expected) << key;
    }
}

TEST(ArtPictures, SizesFitHowTheGameDrawsThem) {
    for (const auto& [key, source] : Manifest()) {
        SvgSize s = ReadSvgSize(ReadAll(SourceOf(source)));
        ASSERT_GE(s.w, 2) << source;
        ASSERT_GE(s.h, 2) << source;
        ASSERT_LE(s.w, 2048) << source;
        ASSERT_LE(s.h, 2048) << source;
        // Quads the game draws at a fixed shape: the picture keeps that shape so
        // nothing is squashed (rabbits and eagles 20 x 30, carrot and pointers 14 x 30).
        if (key.find("animation/") != std::string::npos) {
            EXPECT_EQ(s.w * 3, s.h * 2) << source;
        } else if (key == "Data/carrot.png" || key.find("cursors/") != std::string::npos) {
            EXPECT_EQ(s.w * 30, s.h * 14) << source;
        } else if (key == "Data/GUI/menu.bmp" || key == "Data/GUI/background.jpg" ||
                   key == "Data/GUI/credits.png" || key == "Data/GUI/skills.png" ||
                   key == "Data/GUI/help_0.jpg" || key == "Data/GUI/game_over.png" ||
                   key.find("hints/") != std::string::npos) {
            EXPECT_EQ(s.w, s.h) << source;
            EXPECT_GE(s.w, 512) << source;
        }
    }
}

TEST(ArtPictures, TextUsesTheBundledFont) {
    std::regex family("font-family=\"([^\"]*)\"");
    for (const auto& entry : fs::recursive_directory_iterator(SourceDir() + "/assets/art")) {
        if (!entry.is_regular_file()) continue;
        std::string doc = ReadAll(entry.path());
        for (auto it = std::sregex_iterator(doc.begin(), doc.end(), family); it != std::sregex_iterator(); ++it)
            EXPECT_EQ((*it)[1].str(), "DejaVu Sans") << entry.path();
        EXPECT_EQ(doc.find("xlink:href=\"http"), std::string::npos) << entry.path();
        EXPECT_EQ(doc.find("<image"), std::string::npos) << entry.path() << " embeds a foreign picture";
    }
}

TEST(ArtPictures, WingBeatLoopsWithoutAJump) {
    // The game steps through 29 frames a beat, so the 30th must match the 1st.
    std::string first = ReadAll(SourceOf("art/animation/eagle/1.svg"));
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first, ReadAll(SourceOf("art/animation/eagle/30.svg")));
    // And the frames in between really move.
    std::set<std::string> distinct;
    for (int i = 1; i <= 29; ++i) distinct.insert(ReadAll(SourceOf("art/animation/eagle/" + std::to_string(i) + ".svg")));
    EXPECT_EQ(distinct.size(), 29u);
}

TEST(ArtGenerator, ReproducesTheCommittedPictures) {
    fs::path out = fs::temp_directory_path() / ("bm_art_" + std::to_string(::getpid()));
    fs::remove_all(out);
    std::string command = std::string("\"") + ART_GEN_BIN + "\" \"" + out.string() + "\" > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    fs::path committed = fs::path(SourceDir()) / "assets" / "art";
    std::set<std::string> generated;
    for (const auto& entry : fs::recursive_directory_iterator(out)) {
        if (!entry.is_regular_file()) continue;
        std::string rel = fs::relative(entry.path(), out).string();
        generated.insert(rel);
        EXPECT_EQ(ReadAll(entry.path()), ReadAll(committed / rel)) << rel << " is stale; rerun art_gen";
    }
    for (const auto& entry : fs::recursive_directory_iterator(committed)) {
        if (!entry.is_regular_file()) continue;
        std::string rel = fs::relative(entry.path(), committed).string();
        EXPECT_EQ(generated.count(rel), 1u) << rel << " is not made by art_gen";
    }
    fs::remove_all(out);
}

TEST(ArtStore, BuiltStoreHoldsEveryPictureAtItsSourceSize) {
    if (!Database::FileExist("Data/textures_pack.db") || !Database::FileExist("Data/textures_pack.pl"))
        GTEST_SKIP() << "no texture store built yet";
    Database store("Data/textures_pack");
    for (const auto& [key, source] : Manifest()) {
        unsigned char info[8] = {};
        ASSERT_TRUE(store.Read((key + "_info").c_str(), sizeof info, info)) << key;
        unsigned w = info[0] | info[1] << 8 | info[2] << 16 | static_cast<unsigned>(info[3]) << 24;
        unsigned h = info[4] | info[5] << 8 | info[6] << 16 | static_cast<unsigned>(info[7]) << 24;
        SvgSize s = ReadSvgSize(ReadAll(SourceOf(source)));
        EXPECT_EQ(w, static_cast<unsigned>(s.w)) << key;
        EXPECT_EQ(h, static_cast<unsigned>(s.h)) << key;
        EXPECT_TRUE(store.IsKey((key + "_data").c_str())) << key;
    }
}
