// The built Data/: the texture store covers the whole loading table and every
// picture loads; the packer round-trips PNG, SVG and placeholder sources.
#include "engine/database.h"
#include "engine/draw.h"
#include "engine/font_format.h"
#include "engine/texture.h"
#include "gl_context.h"
#include "tools/image_io/image_io.h"
#include "tools/pack_textures/manifest.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string Env(const char* name) { return std::getenv(name) ? std::getenv(name) : "."; }

// Every picture the loading step asks the store for.
std::vector<std::string> LoadingTable()
{
    std::vector<std::string> keys = {"Data/carrot.png", "Data/glow_area.png", "Data/GUI/menu.bmp",
                                     "Data/GUI/background.jpg", "Data/GUI/help_0.jpg"};
    for (const char* c : {"cursor", "bait", "build", "hole", "skill", "spawn", "take"})
        keys.push_back(std::string("Data/GUI/cursors/") + c + ".png");
    for (const char* g : {"credits", "help", "add", "back", "building", "building_pb", "carrots", "hole",
                          "hole_selected", "skill", "target_base", "target", "tray_bar", "sign", "skills", "arrow",
                          "1x", "2x", "close", "game_over"})
        keys.push_back(std::string("Data/GUI/") + g + ".png");
    for (const char* mode : {"build", "move", "sacrifice"})
        for (const char* look : {"", "_selected", "_disabled"})
            keys.push_back(std::string("Data/GUI/") + mode + look + ".png");
    for (const char* skill : {"build", "eval", "evasion", "progeny", "speed"})
        for (const char* form : {"_disabled", "", "_dcr"})
            keys.push_back(std::string("Data/GUI/pu_") + skill + form + ".png");
    const std::pair<const char*, int> frames[] = {
        {"GUI/hints/", 5}, {"animation/rabbit/", 8}, {"animation/rabbit_taken/", 2},
        {"animation/rabbit_carrot/", 8}, {"animation/eagle/", 30}};
    for (const auto& [folder, count] : frames)
        for (int i = 1; i <= count; ++i)
            keys.push_back("Data/" + std::string(folder) + std::to_string(i) + ".png");
    return keys;
}

TEST(BuiltData, StoreFontAndContactSheetExistAndTheManifestCoversTheLoadingTable)
{
    for (const char* f : {"Data/textures_pack.db", "Data/textures_pack.pl", "Data/font"})
        EXPECT_TRUE(Database::FileExist((Env("BM_BUILD_DIR") + "/" + f).c_str())) << f;
    std::ifstream sheet(Env("BM_BUILD_DIR") + "/contact_sheet.png", std::ios::binary);
    char sig[8] = {};
    sheet.read(sig, 8);
    EXPECT_EQ(std::string(sig + 1, 3), "PNG");

    std::vector<Manifest::Entry> entries;
    std::string error;
    ASSERT_TRUE(Manifest::Read(Env("BM_SOURCE_DIR") + "/assets/textures.manifest", entries, error)) << error;
    std::set<std::string> listed;
    for (const Manifest::Entry& e : entries)
        listed.insert(e.key);
    std::vector<std::string> table = LoadingTable();
    EXPECT_EQ(table.size(), 109u);
    for (const std::string& key : table)
        EXPECT_TRUE(listed.count(key)) << key << " is loaded by the game but not in the manifest";

    // Every manifest key loads from the built store through the game's loader.
    bm::EnsureGlContext();
    ASSERT_EQ(std::string(Textures_db.db_name), "Data/textures_pack");
    for (const Manifest::Entry& e : entries) {
        GLuint tex = 0;
        EXPECT_TRUE(LoadTexture(&tex, e.key.c_str())) << e.key;
        glDeleteTextures(1, &tex);
    }
}

TEST(BuiltData, TheFontHasGlyphsWherePrintableCharactersAre)
{
    bm::EnsureGlContext();
    ASSERT_TRUE(LoadFont("Data/font"));
    glDeleteTextures(1, &font);
    font = 0;
    std::ifstream in("Data/font", std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 8u + 512u * 512u * 4u);
    ASSERT_EQ(FontFormat::GetInt32(bytes.data()), 512);
    const int w = 512, cell = 32;
    auto ink = [&](int n, int x0, int x1) { // alpha summed over part of cell n (rows from the top)
        long sum = 0;
        for (int y = w - (n / 16 + 1) * cell; y < w - (n / 16) * cell; ++y)
            for (int x = (n % 16) * cell + x0; x < (n % 16) * cell + x1; ++x)
                sum += bytes[8 + (static_cast<size_t>(y) * w + x) * 4 + 3];
        return sum;
    };
    EXPECT_EQ(ink(0, 0, cell), 0) << "space is blank";
    EXPECT_EQ(ink(200, 0, cell), 0) << "codes past 126 are blank";
    for (char c : std::string("AMW@gj09~")) {
        EXPECT_GT(ink(c - 32, 0, cell), 1000) << c;
        // The pen moves about half a cell: ink stays in the middle half.
        EXPECT_EQ(ink(c - 32, 0, cell / 4 - 1) + ink(c - 32, cell - cell / 4 + 1, cell), 0) << c;
    }
}

TEST(Packer, PngSvgAndPlaceholderRoundTripByteForByteAndFailuresKeepTheOldStore)
{
    char templ[] = "/tmp/bm_pack_XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    const std::string dir = templ;
    std::filesystem::create_directory(dir + "/art");
    auto pack = [&](const std::string& manifest_text) {
        std::ofstream(dir + "/textures.manifest") << manifest_text;
        return std::system(("'" BM_PACK_TEXTURES "' '" + dir + "/textures.manifest' '" + dir + "' '" + dir +
                            "/out' >/dev/null 2>&1").c_str());
    };
    Image png; // a different colour in every pixel
    png.w = 3;
    png.h = 2;
    for (int i = 0; i < 6; ++i)
        png.rgba.insert(png.rgba.end(), {static_cast<unsigned char>(40 * i), 7, static_cast<unsigned char>(255 - i), 200});
    ASSERT_TRUE(WritePNG(dir + "/art/pic.png", png));
    std::ofstream(dir + "/art/half.svg") << "<svg xmlns='http://www.w3.org/2000/svg' width='4' height='6'>"
                                            "<rect x='0' y='0' width='4' height='3' fill='#ff0000'/>"
                                            "<rect x='0' y='3' width='4' height='3' fill='#0000ff'/></svg>";
    ASSERT_EQ(pack("# test\nData/pic.png art/pic.png\n\nData/half.png   art/half.svg\nData/stand.png placeholder:5x3\n"), 0);
    using Bytes = std::vector<unsigned char>;
    {
        Database db((dir + "/out").c_str());
        ASSERT_EQ(db.records.size(), 9u);
        auto read = [&](const std::string& key, unsigned size) {
            Bytes out(size);
            return db.Read(key.c_str(), size, out.data()) ? out : Bytes();
        };
        EXPECT_EQ(read("Data/pic.png_info", 8), (Bytes{3, 0, 0, 0, 2, 0, 0, 0}));
        EXPECT_EQ(read("Data/pic.png_data", 24), png.rgba);
        EXPECT_EQ(read("Data/pic.png_bounds", 16), (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0}));
        EXPECT_EQ(read("Data/half.png_info", 8), (Bytes{4, 0, 0, 0, 6, 0, 0, 0}));
        Bytes half = read("Data/half.png_data", 4 * 6 * 4);
        ASSERT_EQ(half.size(), 96u);
        EXPECT_EQ(Bytes(half.begin(), half.begin() + 3), (Bytes{0, 0, 255})) << "bottom row first: blue";
        EXPECT_EQ(Bytes(half.end() - 4, half.end() - 1), (Bytes{255, 0, 0}));
        Image svg;
        ASSERT_TRUE(LoadImageRGBA(dir + "/art/half.svg", svg));
        EXPECT_EQ(half, svg.rgba);
        EXPECT_EQ(read("Data/stand.png_data", 60), MakePlaceholder(5, 3, ImageIO::HashText("Data/stand.png")).rgba);
    }
    auto slurp = [&] {
        std::ifstream in(dir + "/out.pl", std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    const std::string before = slurp();
    std::ofstream(dir + "/art/broken.png") << "not a png at all";
    for (const char* manifest : {"Data/pic.png art/pic.png\nData/gone.png art/missing.png\n",
                                 "Data/pic.png art/pic.png\nData/bad.png art/broken.png\n",
                                 "Data/pic.png art/pic.png\nData/pic.png placeholder:2x2\n",
                                 "Data/x.png placeholder:0x5\n", "Data/x.png placeholder:99999x99999\n",
                                 "Data/x.png\n", "Data/x.png art/pic.png extra\n"}) {
        EXPECT_NE(pack(manifest), 0) << manifest;
        EXPECT_EQ(slurp(), before) << manifest;
    }
    // Nothing but the store, the manifest and the sources is left behind.
    std::set<std::string> left;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        left.insert(e.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"art", "out.db", "out.pl", "textures.manifest"}));
    std::filesystem::remove_all(dir);
}

} // namespace
