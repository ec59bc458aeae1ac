// Reading the texture manifest.
#include "tools/pack_textures/manifest.h"

#include "tools/image_io/image_io.h"

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

namespace Manifest {

// Both "_info" and "_data" must fit a 259-character store label.
constexpr size_t kMaxKey = 254;

bool Read(const std::string& path, std::vector<Entry>& out, std::string& error)
{
    out.clear();
    std::ifstream in(path);
    if (!in) {
        error = "cannot open manifest " + path;
        return false;
    }
    std::set<std::string> seen;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#')
            continue;
        std::istringstream words(line);
        Entry e;
        std::string extra;
        e.line = number;
        if (!(words >> e.key >> e.source) || (words >> extra)) {
            error = path + ":" + std::to_string(number) + ": expected '<key> <source>'";
            return false;
        }
        if (e.key.size() > kMaxKey) {
            error = path + ":" + std::to_string(number) + ": key longer than " + std::to_string(kMaxKey) + " characters";
            return false;
        }
        if (!seen.insert(e.key).second) {
            error = path + ":" + std::to_string(number) + ": key '" + e.key + "' listed twice";
            return false;
        }
        out.push_back(e);
    }
    return true;
}

bool ParsePlaceholder(const std::string& source, int& w, int& h)
{
    const std::string prefix = "placeholder:";
    if (source.compare(0, prefix.size(), prefix) != 0)
        return false;
    const std::string size = source.substr(prefix.size());
    int pw = 0, ph = 0;
    char x = 0;
    int used = 0;
    if (std::sscanf(size.c_str(), "%d%c%d%n", &pw, &x, &ph, &used) != 3 || x != 'x' ||
        used != static_cast<int>(size.size()))
        return false;
    if (pw <= 0 || ph <= 0 || pw > ImageIO::kMaxSide || ph > ImageIO::kMaxSide)
        return false;
    w = pw;
    h = ph;
    return true;
}

} // namespace Manifest
