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
#include <fstream>
#include <set>
#include <string>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

std::string SourceDir() { return std::getenv("BM_SOURCE_DIR") ? std::getenv("BM_SOURCE_DIR") : "."; }
std::string BuildDir() { return std::getenv("BM_BUILD_DIR") ? std::getenv("BM_BUILD_DIR") : "."; }

// Every picture the loading step asks the store for.
std::vector<std::string> LoadingTable()
{
    std::vector<std::string> keys = {
        "Data/GUI/cursors/cursor.png", "Data/GUI/cursors/bait.png", "Data/GUI/cursors/build.png",
        "Data/GUI/cursors/hole.png", "Data/GUI/cursors/skill.png", "Data/GUI/cursors/spawn.png",
        "Data/GUI/cursors/take.png", "Data/carrot.png", "Data/glow_area.png", "Data/GUI/menu.bmp",
        "Data/GUI/credits.png", "Data/GUI/help.png", "Data/GUI/add.png", "Data/GUI/back.png",
        "Data/GUI/background.jpg", "Data/GUI/build.png", "Data/GUI/build_selected.png",
        "Data/GUI/build_disabled.png", "Data/GUI/building.png", "Data/GUI/building_pb.png", "Data/GUI/carrots.png",
        "Data/GUI/hole.png", "Data/GUI/hole_selected.png", "Data/GUI/move.png", "Data/GUI/move_selected.png",
        "Data/GUI/move_disabled.png", "Data/GUI/sacrifice.png", "Data/GUI/sacrifice_selected.png",
        "Data/GUI/sacrifice_disabled.png", "Data/GUI/skill.png", "Data/GUI/target_base.png", "Data/GUI/target.png",
        "Data/GUI/tray_bar.png", "Data/GUI/sign.png", "Data/GUI/skills.png", "Data/GUI/arrow.png",
        "Data/GUI/1x.png", "Data/GUI/2x.png", "Data/GUI/close.png", "Data/GUI/game_over.png",
        "Data/GUI/help_0.jpg"};
    for (const char* skill : {"build", "eval", "evasion", "progeny", "speed"})
        for (const char* form : {"_disabled", "", "_dcr"})
            keys.push_back(std::string("Data/GUI/pu_") + skill + form + ".png");
    for (int i = 1; i <= 5; ++i)
        keys.push_back("Data/GUI/hints/" + std::to_string(i) + ".png");
    for (int i = 1; i <= 8; ++i)
        keys.push_back("Data/animation/rabbit/" + std::to_string(i) + ".png");
    for (int i = 1; i <= 2; ++i)
        keys.push_back("Data/animation/rabbit_taken/" + std::to_string(i) + ".png");
    for (int i = 1; i <= 8; ++i)
        keys.push_back("Data/animation/rabbit_carrot/" + std::to_string(i) + ".png");
    for (int i = 1; i <= 30; ++i)
        keys.push_back("Data/animation/eagle/" + std::to_string(i) + ".png");
    return keys;
}

std::vector<Manifest::Entry> GameManifest()
{
    std::vector<Manifest::Entry> entries;
    std::string error;
    EXPECT_TRUE(Manifest::Read(SourceDir() + "/assets/textures.manifest", entries, error)) << error;
    return entries;
}

TEST(BuiltData, TheStoreAndTheFontExist)
{
    for (const char* f : {"Data/textures_pack.db", "Data/textures_pack.pl", "Data/font"})
        EXPECT_TRUE(Database::FileExist((BuildDir() + "/" + f).c_str())) << f;
    std::ifstream sheet(BuildDir() + "/contact_sheet.png", std::ios::binary);
    char sig[8] = {};
    sheet.read(sig, 8);
    EXPECT_EQ(std::string(sig + 1, 3), "PNG");
}

TEST(BuiltData, ManifestCoversTheWholeLoadingTable)
{
    std::set<std::string> listed;
    for (const Manifest::Entry& e : GameManifest())
        listed.insert(e.key);
    std::vector<std::string> table = LoadingTable();
    EXPECT_EQ(table.size(), 109u);
    for (const std::string& key : table)
        EXPECT_TRUE(listed.count(key)) << key << " is loaded by the game but not in the manifest";
}

TEST(BuiltData, EveryManifestPictureLoadsAsATexture)
{
    bm::EnsureGlContext();
    std::vector<Manifest::Entry> entries = GameManifest();
    ASSERT_FALSE(entries.empty());
    ASSERT_EQ(std::string(Textures_db.db_name), "Data/textures_pack");
    for (const Manifest::Entry& e : entries) {
        GLuint tex = 0;
        EXPECT_TRUE(LoadTexture(&tex, e.key.c_str())) << e.key;
        int w = 0, h = 0;
        if (Manifest::ParsePlaceholder(e.source, w, h)) {
            GLint tw = 0, th = 0;
            glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &tw);
            glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &th);
            EXPECT_EQ(tw, w) << e.key;
            EXPECT_EQ(th, h) << e.key;
        }
        glDeleteTextures(1, &tex);
    }
}

TEST(BuiltData, TheFontHasGlyphsWherePrintableCharactersAre)
{
    bm::EnsureGlContext();
    ASSERT_TRUE(LoadFont("Data/font"));
    std::ifstream in("Data/font", std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GE(bytes.size(), 8u);
    int32_t w = FontFormat::GetInt32(bytes.data()), h = FontFormat::GetInt32(bytes.data() + 4);
    ASSERT_EQ(w, 512);
    ASSERT_EQ(h, 512);
    ASSERT_EQ(bytes.size(), 8u + 512u * 512u * 4u);
    const int cell = w / 16;
    auto ink = [&](int n, int x0, int x1) {
        // Cells count rows from the top; the file stores the bottom row first.
        int row_top = n / 16, col = n % 16;
        int first_row = h - (row_top + 1) * cell;
        long sum = 0;
        for (int y = first_row; y < first_row + cell; ++y)
            for (int x = col * cell + x0; x < col * cell + x1; ++x)
                sum += bytes[8 + (static_cast<size_t>(y) * w + x) * 4 + 3];
        return sum;
    };
    EXPECT_EQ(ink(0, 0, cell), 0) << "space is blank";
    EXPECT_EQ(ink(200, 0, cell), 0) << "codes past 126 are blank";
    for (char c : std::string("AMW@gj09~")) {
        int n = c - 32;
        EXPECT_GT(ink(n, 0, cell), 1000) << c;
        // The pen moves about half a cell: ink stays in the middle half.
        EXPECT_EQ(ink(n, 0, cell / 4 - 1), 0) << c;
        EXPECT_EQ(ink(n, cell - cell / 4 + 1, cell), 0) << c;
    }
    // 'A' is symmetric: its ink is centred in the cell.
    long left = ink('A' - 32, 0, cell / 2), right = ink('A' - 32, cell / 2, cell);
    EXPECT_NEAR(static_cast<double>(left) / right, 1.0, 0.2);
    glDeleteTextures(1, &font);
    font = 0;
}

class PackerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char templ[] = "/tmp/bm_pack_XXXXXX";
        ASSERT_NE(mkdtemp(templ), nullptr);
        dir = templ;
        ASSERT_EQ(mkdir((dir + "/art").c_str(), 0755), 0);
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

    int Pack(const std::string& manifest_text)
    {
        std::ofstream(dir + "/textures.manifest") << manifest_text;
        pid_t pid = fork();
        if (pid == 0) {
            int devnull = open("/dev/null", O_WRONLY);
            dup2(devnull, 1);
            dup2(devnull, 2);
            execl(BM_PACK_TEXTURES, "pack_textures", (dir + "/textures.manifest").c_str(), dir.c_str(),
                  (dir + "/out").c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    static std::vector<unsigned char> Read(Database& db, const std::string& key, unsigned size)
    {
        std::vector<unsigned char> out(size);
        if (!db.Read(key.c_str(), size, out.data()))
            out.clear();
        return out;
    }

    std::string dir;
};

TEST_F(PackerTest, PngSvgAndPlaceholderRoundTripByteForByte)
{
    // A PNG with a different colour in every pixel.
    Image png;
    png.w = 3;
    png.h = 2;
    for (int i = 0; i < 6; ++i)
        png.rgba.insert(png.rgba.end(), {static_cast<unsigned char>(40 * i), 7, static_cast<unsigned char>(255 - i), 200});
    ASSERT_TRUE(WritePNG(dir + "/art/pic.png", png));
    // An SVG whose top half is red and bottom half blue.
    std::ofstream(dir + "/art/half.svg")
        << "<svg xmlns='http://www.w3.org/2000/svg' width='4' height='6'>"
           "<rect x='0' y='0' width='4' height='3' fill='#ff0000'/>"
           "<rect x='0' y='3' width='4' height='3' fill='#0000ff'/></svg>";

    ASSERT_EQ(Pack("# test\nData/pic.png art/pic.png\n\nData/half.png   art/half.svg\nData/stand.png placeholder:5x3\n"), 0);
    EXPECT_FALSE(Database::FileExist((dir + "/out.partial.db").c_str()));
    Database db((dir + "/out").c_str());
    ASSERT_EQ(db.records.size(), 6u);

    const unsigned char pic_info[8] = {3, 0, 0, 0, 2, 0, 0, 0};
    EXPECT_EQ(Read(db, "Data/pic.png_info", 8), std::vector<unsigned char>(pic_info, pic_info + 8));
    EXPECT_EQ(Read(db, "Data/pic.png_data", 24), png.rgba);

    const unsigned char half_info[8] = {4, 0, 0, 0, 6, 0, 0, 0};
    EXPECT_EQ(Read(db, "Data/half.png_info", 8), std::vector<unsigned char>(half_info, half_info + 8));
    std::vector<unsigned char> half = Read(db, "Data/half.png_data", 4 * 6 * 4);
    ASSERT_EQ(half.size(), 96u);
    // Stored bottom row first: blue, then red at the top.
    EXPECT_EQ(half[0], 0);
    EXPECT_EQ(half[2], 255);
    EXPECT_EQ(half[95 - 3], 255);
    EXPECT_EQ(half[95 - 1], 0);
    Image svg;
    ASSERT_TRUE(LoadImageRGBA(dir + "/art/half.svg", svg));
    EXPECT_EQ(half, svg.rgba);

    Image stand = MakePlaceholder(5, 3, ImageIO::HashText("Data/stand.png"));
    EXPECT_EQ(Read(db, "Data/stand.png_data", 60), stand.rgba);
}

TEST_F(PackerTest, FailuresExitNonZeroAndLeaveNoHalfStore)
{
    Image one;
    one.w = one.h = 1;
    one.rgba = {1, 2, 3, 4};
    ASSERT_TRUE(WritePNG(dir + "/art/one.png", one));
    ASSERT_EQ(Pack("Data/one.png art/one.png\n"), 0);
    std::ifstream before_in(dir + "/out.pl", std::ios::binary);
    std::string before((std::istreambuf_iterator<char>(before_in)), std::istreambuf_iterator<char>());

    std::ofstream(dir + "/art/broken.png") << "not a png at all";
    const char* bad[] = {
        "Data/one.png art/one.png\nData/gone.png art/missing.png\n",
        "Data/one.png art/one.png\nData/bad.png art/broken.png\n",
        "Data/one.png art/one.png\nData/one.png placeholder:2x2\n",
        "Data/x.png placeholder:0x5\n",
        "Data/x.png placeholder:99999x99999\n",
        "Data/x.png\n",
        "Data/x.png art/one.png extra\n",
    };
    for (const char* manifest : bad) {
        EXPECT_NE(Pack(manifest), 0) << manifest;
        std::ifstream after_in(dir + "/out.pl", std::ios::binary);
        std::string after((std::istreambuf_iterator<char>(after_in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(after, before) << manifest;
    }
    // Nothing but the store, the manifest and the art folder is left behind.
    std::string listing;
    FILE* ls = popen(("ls " + dir).c_str(), "r");
    char buf[256];
    while (fgets(buf, sizeof(buf), ls))
        listing += buf;
    pclose(ls);
    EXPECT_EQ(listing, "art\nout.db\nout.pl\ntextures.manifest\n");
}

TEST(ImageIo, PlaceholdersAreSizedMarkedAndDistinct)
{
    Image a = MakePlaceholder(40, 60, 1), b = MakePlaceholder(40, 60, 0xabcdef);
    ASSERT_EQ(a.rgba.size(), 40u * 60u * 4u);
    EXPECT_NE(a.rgba, b.rgba);
    EXPECT_EQ(a.rgba, MakePlaceholder(40, 60, 1).rgba);
    // A dark border all round, fully opaque.
    for (int x = 0; x < 40; ++x)
        EXPECT_LT(a.Pixel(x, 0)[0], 60);
    for (size_t i = 3; i < a.rgba.size(); i += 4)
        ASSERT_EQ(a.rgba[i], 255);
    EXPECT_TRUE(MakePlaceholder(0, 5, 1).rgba.empty());
    EXPECT_TRUE(MakePlaceholder(1, 100000, 1).rgba.empty());
}

TEST(ImageIo, UnreadableSourcesFailWithAReason)
{
    Image img;
    std::string why;
    EXPECT_FALSE(LoadImageRGBA("/nonexistent/x.png", img, &why));
    EXPECT_FALSE(why.empty());
    EXPECT_FALSE(LoadImageRGBA("/nonexistent/x.svg", img, &why));
    EXPECT_FALSE(LoadImageRGBA("picture.gif", img, &why));
    EXPECT_EQ(img.w, 0);
    EXPECT_TRUE(img.rgba.empty());
}

} // namespace
