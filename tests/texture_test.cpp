// Textures from store records, on a real GL context; plus the kit's text and image helpers.
#include "engine/database.h"
#include "engine/texture.h"
#include "gl_context.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Points the game's store at a scratch pair of files, so records can be made
// up freely without touching the built Data/.
class TextureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bm::EnsureGlContext();
        char templ[] = "/tmp/bm_tex_XXXXXX";
        ASSERT_NE(mkdtemp(templ), nullptr);
        dir = templ;
        saved_db = Textures_db.db_location;
        saved_pl = Textures_db.pl_location;
        saved_records = Textures_db.records;
        std::snprintf(Textures_db.db_location, sizeof(Textures_db.db_location), "%s/t.db", dir.c_str());
        std::snprintf(Textures_db.pl_location, sizeof(Textures_db.pl_location), "%s/t.pl", dir.c_str());
        Textures_db.SetAutosync(true);
        ASSERT_TRUE(Textures_db.Reset());
    }
    void TearDown() override
    {
        std::remove(Textures_db.db_location);
        std::remove(Textures_db.pl_location);
        rmdir(dir.c_str());
        std::snprintf(Textures_db.db_location, sizeof(Textures_db.db_location), "%s", saved_db.c_str());
        std::snprintf(Textures_db.pl_location, sizeof(Textures_db.pl_location), "%s", saved_pl.c_str());
        Textures_db.records = saved_records;
    }

    static void PutInfo(const std::string& key, uint32_t w, uint32_t h)
    {
        unsigned char info[8];
        for (int i = 0; i < 4; ++i) {
            info[i] = static_cast<unsigned char>(w >> (8 * i));
            info[4 + i] = static_cast<unsigned char>(h >> (8 * i));
        }
        ASSERT_TRUE(Textures_db.Write((key + "_info").c_str(), 8, info));
    }
    static void PutData(const std::string& key, const std::vector<unsigned char>& bytes)
    {
        ASSERT_TRUE(Textures_db.Write((key + "_data").c_str(), static_cast<unsigned>(bytes.size()), bytes.data()));
    }
    static std::vector<unsigned char> TexImage(GLuint tex, int w, int h)
    {
        std::vector<unsigned char> out(static_cast<size_t>(w) * h * 4, 0);
        glBindTexture(GL_TEXTURE_2D, tex);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
        return out;
    }

    std::string dir, saved_db, saved_pl;
    std::vector<Database::Key> saved_records;
};

TEST_F(TextureTest, TwoByOnePictureIsUploadedUnchangedWithNearestClamp)
{
    const std::vector<unsigned char> px = {10, 20, 30, 40, 50, 60, 70, 80};
    PutInfo("Data/pic.png", 2, 1);
    PutData("Data/pic.png", px);
    GLuint tex = 0;
    ASSERT_TRUE(LoadTexture(&tex, "Data/pic.png"));
    ASSERT_NE(tex, 0u);
    EXPECT_TRUE(glIsTexture(tex));
    GLint w = 0, h = 0, param = 0;
    glBindTexture(GL_TEXTURE_2D, tex);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    EXPECT_EQ(w, 2);
    EXPECT_EQ(h, 1);
    // The first stored pixel is texel (0, 0).
    EXPECT_EQ(TexImage(tex, 2, 1), px);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &param);
    EXPECT_EQ(param, GL_NEAREST);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &param);
    EXPECT_EQ(param, GL_NEAREST);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &param);
    EXPECT_EQ(param, GL_CLAMP);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &param);
    EXPECT_EQ(param, GL_CLAMP);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    glDeleteTextures(1, &tex);
}

TEST_F(TextureTest, OddSizedPicturesKeepTheirSize)
{
    std::vector<unsigned char> px(3 * 5 * 4);
    for (size_t i = 0; i < px.size(); ++i)
        px[i] = static_cast<unsigned char>(i * 7);
    PutInfo("odd", 3, 5);
    PutData("odd", px);
    GLuint tex = 0;
    ASSERT_TRUE(LoadTexture(&tex, "odd"));
    EXPECT_EQ(TexImage(tex, 3, 5), px);
    glDeleteTextures(1, &tex);
}

TEST_F(TextureTest, MissingOrInconsistentRecordsMakeNoTexture)
{
    GLuint tex = 0;
    EXPECT_FALSE(LoadTexture(&tex, "absent"));
    EXPECT_EQ(tex, 0u);

    // Zero width: the pixel record is never looked up.
    PutInfo("flat", 0, 5);
    Database::PrintError("sentinel");
    EXPECT_FALSE(LoadTexture(&tex, "flat"));
    EXPECT_STREQ(Database::LastError(), "sentinel");
    EXPECT_EQ(tex, 0u);

    PutInfo("short", 2, 2);
    PutData("short", std::vector<unsigned char>(15, 1));
    EXPECT_FALSE(LoadTexture(&tex, "short"));
    EXPECT_EQ(tex, 0u);

    PutInfo("long", 2, 2);
    PutData("long", std::vector<unsigned char>(17, 1));
    EXPECT_FALSE(LoadTexture(&tex, "long"));
    EXPECT_EQ(tex, 0u);

    // An info record of the wrong size counts as missing too.
    ASSERT_TRUE(Textures_db.Write("seven_info", 7, "1234567"));
    EXPECT_FALSE(LoadTexture(&tex, "seven"));
}

TEST_F(TextureTest, HugeSizesAreRefused)
{
    GLuint tex = 0;
    // 0x8000 x 0x8001 x 4 wraps to 131072 in 32 bits; a record of that size
    // must not be taken for the picture.
    PutInfo("wrap", 0x8000, 0x8001);
    PutData("wrap", std::vector<unsigned char>(131072, 0));
    EXPECT_FALSE(LoadTexture(&tex, "wrap"));
    EXPECT_EQ(tex, 0u);

    GLint max_side = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_side);
    ASSERT_GT(max_side, 0);
    const uint32_t too_wide = static_cast<uint32_t>(max_side) + 1;
    PutInfo("wide", too_wide, 1);
    PutData("wide", std::vector<unsigned char>(too_wide * 4, 0));
    EXPECT_FALSE(LoadTexture(&tex, "wide"));
    EXPECT_EQ(tex, 0u);

    PutInfo("giant", 0xffffffffu, 0xffffffffu);
    EXPECT_FALSE(LoadTexture(&tex, "giant"));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureTest, ReloadingReplacesTheTextureAndAFailedReloadLeavesZero)
{
    PutInfo("a", 1, 1);
    PutData("a", {1, 2, 3, 4});
    PutInfo("b", 1, 1);
    PutData("b", {5, 6, 7, 8});
    GLuint tex = 0;
    ASSERT_TRUE(LoadTexture(&tex, "a"));
    ASSERT_TRUE(LoadTexture(&tex, "b"));
    EXPECT_EQ(TexImage(tex, 1, 1), (std::vector<unsigned char>{5, 6, 7, 8}));

    GLuint first = tex;
    EXPECT_FALSE(LoadTexture(&tex, "missing"));
    EXPECT_EQ(tex, 0u);
    EXPECT_FALSE(glIsTexture(first));

    // A handle that names no texture is left alone by a failed load.
    GLuint stray = 987654;
    EXPECT_FALSE(LoadTexture(&stray, "missing"));
    EXPECT_EQ(stray, 987654u);
    EXPECT_FALSE(LoadTexture(nullptr, "a"));
}

TEST(TextureKit, DynstrSharesOneBufferAndCutsLongTexts)
{
    const char* first = dynstr("%s_info", "Data/x.png");
    EXPECT_STREQ(first, "Data/x.png_info");
    const char* second = dynstr("%d", 42);
    EXPECT_EQ(first, second);
    EXPECT_STREQ(first, "42");

    std::string big(2000, 'q');
    const char* cut = dynstr("%s%s", big.c_str(), "tail");
    EXPECT_EQ(std::strlen(cut), 511u);
    EXPECT_EQ(std::string(cut), big.substr(0, 511));
}

TEST(TextureKit, FlipImageYReversesRows)
{
    unsigned char img[3][2] = {{1, 2}, {3, 4}, {5, 6}};
    EXPECT_EQ(Flip_Image_Y(&img[0][0], 2, 3), 1);
    EXPECT_EQ(img[0][0], 5);
    EXPECT_EQ(img[0][1], 6);
    EXPECT_EQ(img[1][0], 3);
    EXPECT_EQ(img[2][1], 2);
    EXPECT_EQ(Flip_Image_Y(&img[0][0], -2, 3), 0);
    EXPECT_EQ(Flip_Image_Y(nullptr, 2, 3), 0);
    EXPECT_EQ(img[0][0], 5);
}

TEST(TextureKit, GetAbsPathPrefixesTheCurrentFolder)
{
    EXPECT_STREQ(GetAbsPath("x"), "x");
    std::snprintf(curr_absolute_path, sizeof(curr_absolute_path), "/games/");
    EXPECT_STREQ(GetAbsPath("x"), "/games/x");
    std::string big(400, 'p');
    EXPECT_EQ(std::strlen(GetAbsPath(big.c_str())), 259u);
    curr_absolute_path[0] = '\0';
}

} // namespace
