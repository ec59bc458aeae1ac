// The game's pictures: every manifest key has a sound SVG source of the right shape,
// the generator reproduces them, and the built store agrees.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "engine/database.h"

namespace fs = std::filesystem;

namespace {

fs::path Assets() { return fs::path(std::getenv("BM_SOURCE_DIR") ? std::getenv("BM_SOURCE_DIR") : ".") / "assets"; }

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Key -> source, in file order, from assets/textures.manifest.
std::vector<std::pair<std::string, std::string>> Manifest()
{
    std::vector<std::pair<std::string, std::string>> rows;
    std::ifstream in(Assets() / "textures.manifest");
    std::string line, key, source;
    while (std::getline(in, line))
        if (!line.empty() && line[0] != '#' && std::istringstream(line) >> key >> source)
            rows.emplace_back(key, source);
    return rows;
}

// Width and height of the root <svg> element; 0 when absent or malformed.
std::pair<int, int> SvgSize(const fs::path& file)
{
    std::string doc = ReadAll(file);
    std::smatch root, w, h;
    if (!std::regex_search(doc, root, std::regex("<svg\\b[^>]*>")))
        return {0, 0};
    std::string tag = root.str();
    bool has_w = std::regex_search(tag, w, std::regex("\\swidth=\"([0-9]+)\""));
    bool has_h = std::regex_search(tag, h, std::regex("\\sheight=\"([0-9]+)\""));
    return {has_w ? std::stoi(w[1]) : 0, has_h ? std::stoi(h[1]) : 0};
}

} // namespace

TEST(ArtManifest, EveryKeyHasOneRealSourceMirroringIt)
{
    std::set<std::string> keys;
    for (const auto& [key, source] : Manifest()) {
        EXPECT_TRUE(keys.insert(key).second) << "duplicate key " << key;
        EXPECT_EQ(fs::path(source), fs::path("art") / fs::path(key.substr(5)).replace_extension(".svg")) << key;
        EXPECT_TRUE(fs::is_regular_file(Assets() / source)) << key << ": missing source " << source;
    }
    EXPECT_GE(keys.size(), 109u);
}

TEST(ArtPictures, SizesFitHowTheGameDrawsThem)
{
    for (const auto& [key, source] : Manifest()) {
        auto [w, h] = SvgSize(Assets() / source);
        ASSERT_TRUE(w >= 2 && h >= 2 && w <= 2048 && h <= 2048) << source << " " << w << "x" << h;
        // Quads of fixed shape: rabbits and eagles 20 x 30, carrot and pointers 14 x 30.
        if (key.find("animation/") != std::string::npos) {
            EXPECT_EQ(w * 3, h * 2) << source;
        } else if (key == "Data/carrot.png" || key.find("cursors/") != std::string::npos) {
            EXPECT_EQ(w * 30, h * 14) << source;
        } else if (std::set<std::string>{"Data/GUI/menu.bmp", "Data/GUI/background.jpg", "Data/GUI/credits.png",
                                         "Data/GUI/skills.png", "Data/GUI/help_0.jpg", "Data/GUI/game_over.png"}
                       .count(key) ||
                   key.find("hints/") != std::string::npos) {
            EXPECT_EQ(w, h) << source;
            EXPECT_GE(w, 512) << source;
        }
    }
}

TEST(ArtPictures, TextUsesTheBundledFontAndNothingIsFetched)
{
    std::regex family("font-family=\"([^\"]*)\"");
    for (const auto& entry : fs::recursive_directory_iterator(Assets() / "art")) {
        if (!entry.is_regular_file())
            continue;
        std::string doc = ReadAll(entry.path());
        for (auto it = std::sregex_iterator(doc.begin(), doc.end(), family); it != std::sregex_iterator(); ++it)
            EXPECT_EQ((*it)[1].str(), "DejaVu Sans") << entry.path();
        EXPECT_EQ(doc.find("xlink:href=\"http"), std::string::npos) << entry.path();
        EXPECT_EQ(doc.find("<image"), std::string::npos) << entry.path();
    }
}

TEST(ArtPictures, WingBeatLoopsWithoutAJump)
{
    // Every one of the 30 frames is a pose of its own: no frame repeats another.
    std::set<std::string> distinct;
    for (int i = 1; i <= 30; ++i)
        distinct.insert(ReadAll(Assets() / "art/animation/eagle" / (std::to_string(i) + ".svg")));
    EXPECT_EQ(distinct.size(), 30u);
}

TEST(ArtGenerator, ReproducesTheCommittedPictures)
{
    fs::path out = fs::temp_directory_path() / ("bm_art_" + std::to_string(::getpid()));
    fs::remove_all(out);
    ASSERT_EQ(std::system(("\"" ART_GEN_BIN "\" \"" + out.string() + "\" > /dev/null").c_str()), 0);
    auto listing = [](const fs::path& root) {
        std::set<std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(root))
            if (entry.is_regular_file())
                files.insert(fs::relative(entry.path(), root).string());
        return files;
    };
    const fs::path committed = Assets() / "art";
    std::set<std::string> generated = listing(out);
    EXPECT_EQ(generated, listing(committed)) << "art_gen and assets/art list different files";
    for (const std::string& rel : generated)
        EXPECT_EQ(ReadAll(out / rel), ReadAll(committed / rel)) << rel << " is stale; rerun art_gen";
    fs::remove_all(out);
}

TEST(ArtStore, BuiltStoreHoldsEveryPictureAtItsSourceSize)
{
    ASSERT_TRUE(Database::FileExist("Data/textures_pack.db") && Database::FileExist("Data/textures_pack.pl"));
    Database store("Data/textures_pack");
    for (const auto& [key, source] : Manifest()) {
        unsigned char info[8] = {};
        ASSERT_TRUE(store.Read((key + "_info").c_str(), sizeof info, info)) << key;
        auto [w, h] = SvgSize(Assets() / source);
        EXPECT_EQ(info[0] | info[1] << 8 | info[2] << 16 | info[3] << 24, w) << key;
        EXPECT_EQ(info[4] | info[5] << 8 | info[6] << 16 | info[7] << 24, h) << key;
        EXPECT_TRUE(store.IsKey((key + "_data").c_str())) << key;
    }
}
