// A scratch folder for one test, removed with everything in it afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace bm {

using Bytes = std::vector<unsigned char>;

inline Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct ScratchDir {
    std::string path;
    ScratchDir()
    {
        char pattern[] = "/tmp/bm_test_XXXXXX";
        path = mkdtemp(pattern) ? pattern : "/nonexistent";
    }
    ~ScratchDir() { std::filesystem::remove_all(path); }
    std::string Write(const std::string& name, const std::string& text) const
    {
        std::ofstream(path + "/" + name, std::ios::binary | std::ios::trunc) << text;
        return path + "/" + name;
    }
    std::string Write(const std::string& name, const Bytes& bytes) const
    {
        return Write(name, std::string(bytes.begin(), bytes.end()));
    }
    Bytes Read(const std::string& name) const { return ReadFile(path + "/" + name); }
};

// Little-endian 32-bit values, as every binary file of the game stores them.
inline void Put32(Bytes& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

} // namespace bm
