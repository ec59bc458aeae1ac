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

// Points the game's store at scratch files, so records can be made up freely.
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
    static void Put(const std::string& key, uint32_t w, uint32_t h, const std::vector<unsigned char>& px)
    {
        unsigned char info[8];
        for (int i = 0; i < 4; ++i) {
            info[i] = static_cast<unsigned char>(w >> (8 * i));
            info[4 + i] = static_cast<unsigned char>(h >> (8 * i));
        }
        ASSERT_TRUE(Textures_db.Write((key + "_info").c_str(), 8, info));
        if (!px.empty()) {
            ASSERT_TRUE(Textures_db.Write((key + "_data").c_str(), static_cast<unsigned>(px.size()), px.data()));
        }
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
    Put("Data/pic.png", 2, 1, px);
    GLuint tex = 0;
    ASSERT_TRUE(LoadTexture(&tex, "Data/pic.png"));
    GLint w = 0, h = 0, param = 0;
    glBindTexture(GL_TEXTURE_2D, tex);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    EXPECT_EQ(std::make_pair(w, h), std::make_pair(2, 1));
    EXPECT_EQ(TexImage(tex, 2, 1), px); // the first stored pixel is texel (0, 0)
    for (GLenum p : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER, GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T}) {
        glGetTexParameteriv(GL_TEXTURE_2D, p, &param);
        EXPECT_EQ(param, p == GL_TEXTURE_MIN_FILTER || p == GL_TEXTURE_MAG_FILTER ? GL_NEAREST : GL_CLAMP) << p;
    }
    glDeleteTextures(1, &tex);
}

TEST_F(TextureTest, MissingInconsistentOrHugeRecordsMakeNoTexture)
{
    GLint max_side = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_side);
    ASSERT_GT(max_side, 0);
    const uint32_t too_wide = static_cast<uint32_t>(max_side) + 1;
    Put("short", 2, 2, std::vector<unsigned char>(15, 1));
    Put("long", 2, 2, std::vector<unsigned char>(17, 1));
    Put("wrap", 0x8000, 0x8001, std::vector<unsigned char>(131072, 0)); // w*h*4 wraps to 131072 in 32 bits
    Put("wide", too_wide, 1, std::vector<unsigned char>(too_wide * 4, 0));
    Put("giant", 0xffffffffu, 0xffffffffu, {});
    ASSERT_TRUE(Textures_db.Write("seven_info", 7, "1234567"));
    for (const char* key : {"absent", "short", "long", "wrap", "wide", "giant", "seven"}) {
        GLuint tex = 0;
        EXPECT_FALSE(LoadTexture(&tex, key)) << key;
        EXPECT_EQ(tex, 0u) << key;
    }
    // Zero width: the pixel record is never looked up.
    Put("flat", 0, 5, {});
    Database::PrintError("sentinel");
    GLuint tex = 0;
    EXPECT_FALSE(LoadTexture(&tex, "flat"));
    EXPECT_STREQ(Database::LastError(), "sentinel");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureTest, ReloadingDeletesTheFirstTextureAndAFailedReloadLeavesZero)
{
    Put("a", 1, 1, {1, 2, 3, 4});
    Put("b", 1, 1, {5, 6, 7, 8});
    GLuint tex = 0;
    ASSERT_TRUE(LoadTexture(&tex, "a"));
    const GLuint first = tex;
    ASSERT_TRUE(LoadTexture(&tex, "b"));
    EXPECT_TRUE(tex == first || !glIsTexture(first)); // the name may be reused, never leaked
    EXPECT_EQ(TexImage(tex, 1, 1), (std::vector<unsigned char>{5, 6, 7, 8}));
    const GLuint second = tex;
    EXPECT_FALSE(LoadTexture(&tex, "missing"));
    EXPECT_EQ(tex, 0u);
    EXPECT_FALSE(glIsTexture(second));
    GLuint stray = 987654; // names no texture: left alone
    EXPECT_FALSE(LoadTexture(&stray, "missing"));
    EXPECT_EQ(stray, 987654u);
    EXPECT_FALSE(LoadTexture(nullptr, "a"));
}

TEST(TextureKit, DynstrCutsLongTextsSafely)
{
    const char* first = dynstr("%s_info", "Data/x.png");
    EXPECT_STREQ(first, "Data/x.png_info");
    std::string big(2000, 'q');
    EXPECT_EQ(std::string(dynstr("%s%s", big.c_str(), "tail")), big.substr(0, 511));
}

} // namespace
