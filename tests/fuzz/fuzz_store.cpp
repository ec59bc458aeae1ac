// The asset store and the texture loader on one hostile store: the first two
// bytes give the pointer list's length, the list follows, the rest is the data
// file. Every picture it names is loaded; the files must come out untouched.
#include "engine/database.h"
#include "engine/texture.h"
#include "fuzz/fuzz_support.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const size_t pl = (data[0] | data[1] << 8) % (size - 1);
    const std::string pl_path = fuzz::WriteFile("store.pl", data + 2, pl);
    fuzz::WriteFile("store.db", data + 2 + pl, size - 2 - pl);
    std::snprintf(Textures_db.db_location, sizeof Textures_db.db_location, "%s/store.db", fuzz::Folder().c_str());
    std::snprintf(Textures_db.pl_location, sizeof Textures_db.pl_location, "%s", pl_path.c_str());
    Textures_db.ReadPList();
    fuzz::Require(Textures_db.records.size() <= pl / DatabaseFormat::kEntrySize, "more records than the list holds");
    if (data[0] & 1) // both ways of reading: the data file kept open, and opened per read
        Textures_db.OpenData();
    for (const Database::Key& key : std::vector<Database::Key>(Textures_db.records)) {
        const size_t n = strnlen(key.label, sizeof key.label);
        if (n > 5 && std::strcmp(key.label + n - 5, "_info") == 0) {
            GLuint tex = 0;
            LoadTexture(&tex, std::string(key.label, n - 5).c_str());
        }
    }
    Textures_db.CloseData();
    std::ifstream pl_in(pl_path, std::ios::binary), db_in(Textures_db.db_location, std::ios::binary);
    const std::string pl_now((std::istreambuf_iterator<char>(pl_in)), {}), db_now((std::istreambuf_iterator<char>(db_in)), {});
    fuzz::Require(pl_now == std::string(data + 2, data + 2 + pl) && db_now == std::string(data + 2 + pl, data + size),
                  "reading the store changed its files");
    return 0;
}
