// The asset tools where they can really break: the packer round-trips pictures
// and never leaves a half store, and the built store holds every manifest key
// once, each loading through the game's loader.
#include "engine/database.h"
#include "engine/texture.h"
#include "engine/texture_binding.h"
#include "engine/texture_hull.h"
#include "reader_support.h"
#include "tools/image_io/image_io.h"
#include "tools/pack_textures/manifest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace {

namespace fs = std::filesystem;
using bm::Bytes;

TEST(Packer, PicturesRoundTripByteForByteAndAFailedRunKeepsTheOldStore)
{
    bm::ScratchDir dir;
    fs::create_directory(dir.path + "/art");
    auto pack = [&](const std::string& manifest) {
        dir.Write("textures.manifest", manifest);
        return std::system(("'" BM_PACK_TEXTURES "' '" + dir.path + "/textures.manifest' '" + dir.path + "' '" +
                            dir.path + "/out' >/dev/null 2>&1").c_str());
    };
    Image png; // a different colour in every pixel
    png.w = 3;
    png.h = 2;
    for (int i = 0; i < 6; ++i)
        png.rgba.insert(png.rgba.end(), {static_cast<unsigned char>(40 * i), 7, static_cast<unsigned char>(255 - i), 200});
    ASSERT_TRUE(WritePNG(dir.path + "/art/pic.png", png));
    dir.Write("art/half.svg", "<svg xmlns='http://www.w3.org/2000/svg' width='4' height='6'>"
                              "<rect x='0' y='0' width='4' height='3' fill='#ff0000'/>"
                              "<rect x='0' y='3' width='4' height='3' fill='#0000ff'/></svg>");
    Image disc; // a round picture, which alone gets a polygon
    disc.w = disc.h = 16;
    for (int i = 0; i < 256; ++i)
        disc.rgba.insert(disc.rgba.end(), {9, 9, 9, static_cast<unsigned char>((i % 16 - 7.5) * (i % 16 - 7.5) +
                                                                                  (i / 16 - 7.5) * (i / 16 - 7.5) < 50 ? 255 : 0)});
    ASSERT_TRUE(WritePNG(dir.path + "/art/disc.png", disc));
    ASSERT_EQ(pack("# test\nData/pic.png art/pic.png\n\nData/half.png   art/half.svg\nData/disc.png art/disc.png\n"), 0);
    {
        Database db((dir.path + "/out").c_str());
        ASSERT_EQ(db.records.size(), 10u) << "picture, size and visible bounds of each, and the disc's polygon";
        auto read = [&](const std::string& key, unsigned size) {
            Bytes out(size);
            return db.Read(key.c_str(), size, out.data()) ? out : Bytes();
        };
        EXPECT_TRUE(read("Data/pic.png_info", 8) == (Bytes{3, 0, 0, 0, 2, 0, 0, 0}) && read("Data/pic.png_data", 24) == png.rgba);
        EXPECT_EQ(read("Data/pic.png_bounds", 16), (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0}));
        const Bytes half = read("Data/half.png_data", 4 * 6 * 4); // bottom row first: blue, then up to red
        EXPECT_TRUE(half.size() == 96 && half[0] == 0 && half[2] == 255 && half[92] == 255 && half[94] == 0);
        TextureHull::Polygon hull, made;
        const Bytes raw = read("Data/disc.png_hull", TextureHull::kBytes);
        ASSERT_TRUE(raw.size() == TextureHull::kBytes && TextureHull::Decode(raw.data(), 16, 16, &hull));
        ASSERT_TRUE(TextureHull::OfPixels(disc.rgba.data(), 16, 16, &made));
        EXPECT_TRUE(hull.count == made.count && std::equal(made.x, made.x + 8, hull.x) && std::equal(made.y, made.y + 8, hull.y));
    }
    const Bytes before = dir.Read("out.pl");
    dir.Write("art/broken.png", "not a png at all");
    for (const char* manifest : {"Data/pic.png art/pic.png\nData/gone.png art/missing.png\n",
                                 "Data/pic.png art/pic.png\nData/bad.png art/broken.png\n",
                                 "Data/pic.png art/pic.png\nData/pic.png placeholder:2x2\n",
                                 "Data/x.png placeholder:99999x99999\n", "Data/x.png\n"}) {
        EXPECT_NE(pack(manifest), 0) << manifest;
        EXPECT_EQ(dir.Read("out.pl"), before) << manifest;
    }
    std::set<std::string> left; // no half store left behind
    for (const auto& e : fs::directory_iterator(dir.path))
        left.insert(e.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"art", "out.db", "out.pl", "textures.manifest"}));
}

TEST(BuiltData, TheStoreHoldsEveryManifestKeyOnceAndEachLoadsThroughTheGamesLoader)
{
    std::vector<Manifest::Entry> entries;
    std::string error;
    ASSERT_TRUE(Manifest::Read(std::getenv("BM_SOURCE_DIR") + std::string("/assets/textures.manifest"), entries, error));
    std::map<std::string, int> keys;
    for (const Database::Key& k : Textures_db.records)
        ++keys[k.label];
    size_t hulls = 0;
    for (const Manifest::Entry& e : entries)
        hulls += keys.count(e.key + TextureHull::kSuffix);
    EXPECT_EQ(keys.size(), 3 * entries.size() + hulls) << "nothing in the store but the manifest's pictures";
    EXPECT_GT(hulls, 30u);
    bm::EnsureGlContext();
    for (const Manifest::Entry& e : entries) {
        EXPECT_TRUE(keys[e.key + "_info"] == 1 && keys[e.key + "_data"] == 1 && keys[e.key + "_bounds"] == 1) << e.key;
        GLuint tex = 0;
        EXPECT_TRUE(LoadTexture(&tex, e.key.c_str())) << e.key;
        // The polygon reaches the drawing kit as texture coordinates, the record's texels over the picture's size.
        unsigned char info[8], raw[TextureHull::kBytes];
        TextureHull::Polygon p;
        const bool has = Textures_db.Read((e.key + "_info").c_str(), 8, info) &&
                         Textures_db.Read((e.key + TextureHull::kSuffix).c_str(), sizeof raw, raw) &&
                         TextureHull::Decode(raw, info[0] | info[1] << 8, info[4] | info[5] << 8, &p);
        BindTexture(tex);
        const VisibleHull* hull = BoundVisibleHull();
        ASSERT_EQ(hull != nullptr, has) << e.key;
        for (uint32_t i = 0; has && i < p.count; ++i)
            EXPECT_TRUE(hull->count == static_cast<int>(p.count) && hull->u[i] == p.x[i] / (info[0] | info[1] << 8) &&
                        hull->t[i] == p.y[i] / (info[4] | info[5] << 8)) << e.key << i;
        // Loading another picture into the texture deletes it, and its name, free
        // for another picture, keeps no polygon.
        const GLuint old = tex;
        EXPECT_FALSE(LoadTexture(&tex, "Data/no/such.png"));
        BindTexture(old);
        EXPECT_EQ(BoundVisibleHull(), nullptr) << e.key;
        ForgetBoundTexture();
    }
}

} // namespace
