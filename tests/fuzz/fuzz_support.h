// What every fuzz target shares: the input written to a file of a scratch folder
// that lives as long as the process, since the readers read files.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fuzz {

inline const std::string& Folder()
{
    static const std::string* dir = [] {
        auto* d = new std::string(std::filesystem::temp_directory_path() / ("bm_fuzz_" + std::to_string(getpid())));
        std::filesystem::create_directories(*d);
        std::atexit([] { std::filesystem::remove_all(Folder()); });
        return d;
    }();
    return *dir;
}

inline std::string WriteFile(const char* name, const uint8_t* data, size_t size)
{
    const std::string path = Folder() + "/" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || (size && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0)
        std::abort();
    return path;
}

// A property the reader must keep whatever the bytes: a broken one is a finding.
inline void Require(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "fuzz: %s\n", what);
        std::abort();
    }
}

} // namespace fuzz
