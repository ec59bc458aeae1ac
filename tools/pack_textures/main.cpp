// pack_textures: packs every picture of the texture manifest into the asset store.
//   pack_textures <manifest> <assets folder> <store base path>
// The store is written under a temporary name and renamed into place only when
// every picture went in, so a failed run never leaves a half store behind.
#include "engine/database.h"
#include "engine/texture_bounds.h"
#include "engine/texture_hull.h"
#include "tools/image_io/image_io.h"
#include "tools/pack_textures/manifest.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

void PutLE32(unsigned char* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

bool LoadSource(const Manifest::Entry& e, const std::string& assets, Image& img, std::string& error)
{
    int w = 0, h = 0;
    if (e.source.compare(0, 12, "placeholder:") == 0) {
        if (!Manifest::ParsePlaceholder(e.source, w, h)) {
            error = "bad placeholder size '" + e.source + "'";
            return false;
        }
        img = MakePlaceholder(w, h, ImageIO::HashText(e.key));
        return true;
    }
    std::string path = assets + "/" + e.source;
    if (access(path.c_str(), F_OK) != 0) {
        error = "missing source file " + path;
        return false;
    }
    return LoadImageRGBA(path, img, &error);
}

// The polygon around the picture's visible texels, where it is clearly smaller
// than the bounds box; like the bounds, optional and left out for a key too long.
bool WriteHull(Database& db, const std::string& key, const Image& img)
{
    TextureHull::Polygon hull;
    const std::string hull_key = key + TextureHull::kSuffix;
    if (hull_key.size() >= DatabaseFormat::kLabelSize ||
        !TextureHull::OfPixels(img.rgba.data(), static_cast<uint32_t>(img.w), static_cast<uint32_t>(img.h), &hull))
        return true;
    unsigned char raw[TextureHull::kBytes];
    TextureHull::Encode(hull, raw);
    return db.Write(hull_key.c_str(), sizeof(raw), raw);
}

bool PackAll(const std::vector<Manifest::Entry>& entries, const std::string& assets, const std::string& base)
{
    Database db(base.c_str(), true);
    db.SetAutosync(false);
    if (!db.Reset()) {
        std::fprintf(stderr, "pack_textures: cannot create %s.db/.pl\n", base.c_str());
        db.SetAutosync(true);
        return false;
    }
    bool ok = true;
    for (const Manifest::Entry& e : entries) {
        Image img;
        std::string error;
        if (!LoadSource(e, assets, img, error)) {
            std::fprintf(stderr, "pack_textures: line %d (%s): %s\n", e.line, e.key.c_str(), error.c_str());
            ok = false;
            break;
        }
        unsigned char info[8];
        PutLE32(info, static_cast<uint32_t>(img.w));
        PutLE32(info + 4, static_cast<uint32_t>(img.h));
        // Where the picture's visible texels lie, so sprites skip their transparent
        // padding; the record is optional, and a key too long for it goes without.
        unsigned char bounds[TextureBounds::kBytes];
        TextureBounds::Encode(TextureBounds::OfPixels(img.rgba.data(), static_cast<uint32_t>(img.w),
                                                      static_cast<uint32_t>(img.h)),
                              bounds);
        std::string info_key = e.key + "_info", data_key = e.key + "_data", bounds_key = e.key + TextureBounds::kSuffix;
        if (!db.Write(info_key.c_str(), sizeof(info), info) ||
            !db.Write(data_key.c_str(), static_cast<unsigned>(img.rgba.size()), img.rgba.data()) ||
            (bounds_key.size() < DatabaseFormat::kLabelSize &&
             !db.Write(bounds_key.c_str(), sizeof(bounds), bounds)) ||
            !WriteHull(db, e.key, img)) {
            std::fprintf(stderr, "pack_textures: cannot store %s: %s\n", e.key.c_str(), Database::LastError());
            ok = false;
            break;
        }
    }
    if (ok && !db.Synchronize()) {
        std::fprintf(stderr, "pack_textures: %s\n", Database::LastError());
        ok = false;
    }
    // The list is written (or abandoned) here; the destructor must not write it again.
    db.SetAutosync(true);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: pack_textures <manifest> <assets folder> <store base path>\n");
        return 2;
    }
    const std::string manifest = argv[1], assets = argv[2], base = argv[3];
    std::vector<Manifest::Entry> entries;
    std::string error;
    if (!Manifest::Read(manifest, entries, error)) {
        std::fprintf(stderr, "pack_textures: %s\n", error.c_str());
        return 1;
    }
    const std::string tmp = base + ".partial" + std::to_string(getpid());
    bool ok = PackAll(entries, assets, tmp);
    if (ok && (std::rename((tmp + ".db").c_str(), (base + ".db").c_str()) != 0 ||
               std::rename((tmp + ".pl").c_str(), (base + ".pl").c_str()) != 0)) {
        std::fprintf(stderr, "pack_textures: cannot move the store into place at %s\n", base.c_str());
        std::remove((base + ".db").c_str());
        ok = false;
    }
    std::remove((tmp + ".db").c_str());
    std::remove((tmp + ".pl").c_str());
    if (!ok)
        return 1;
    std::printf("pack_textures: %zu pictures into %s.db/.pl\n", entries.size(), base.c_str());
    return 0;
}
