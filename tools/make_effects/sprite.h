// Small white particle pictures drawn from a shape name, tinted in the game by each particle's colour.
#pragma once

#include "tools/make_effects/effect_params.h"

#include <vector>

namespace effects {

// RGBA bytes, rows from the bottom (texture coordinate t = 0) upwards.
std::vector<unsigned char> DrawSprite(const Sprite& sprite);

} // namespace effects
