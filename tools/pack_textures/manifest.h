// The texture manifest: one picture per line, its store key and where its pixels come from.
#pragma once

#include <string>
#include <vector>

namespace Manifest {

struct Entry {
    std::string key;    // the asset path the game asks the store for
    std::string source; // "placeholder:WxH" or a PNG/SVG path relative to assets/
    int line = 0;
};

// Reads the manifest: '#' starts a comment line, blank lines are skipped, other
// lines hold "<key> <source>". Returns false with a message on a malformed
// line, a repeated key or a key too long for the store.
bool Read(const std::string& path, std::vector<Entry>& out, std::string& error);

// Parses "placeholder:WxH"; false when the source is not a placeholder or its size is absurd.
bool ParsePlaceholder(const std::string& source, int& w, int& h);

} // namespace Manifest
