// The human-readable panel layout that make_panel reads: the panel's pictures,
// its background and its buttons in index order.
#pragma once

#include "engine/panel_format.h"

#include <string>
#include <vector>

namespace PanelLayout {

struct PictureSource {
    std::string name; // how buttons refer to it
    std::string path; // SVG or PNG, relative to the assets folder
};

struct Layout {
    std::vector<PictureSource> pictures;
    int32_t background = PanelFile::kNoPicture;
    std::vector<PanelFile::ButtonRecord> buttons;
};

// Parses a layout text. On a malformed layout returns false with a message
// naming the line in `error` (prefixed with `source_name`).
bool Parse(const std::string& text, const std::string& source_name, Layout* out, std::string* error);

} // namespace PanelLayout
