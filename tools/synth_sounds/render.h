// Turns a parsed recipe into 16-bit samples.
#pragma once

#include "tools/synth_sounds/recipe.h"

#include <cstdint>
#include <vector>

namespace Synth {

// Mixes every voice, scales the mix so its peak sits at the recipe's level and
// converts it to 16-bit samples. Deterministic for a given recipe.
std::vector<int16_t> Render(const Recipe& recipe);

} // namespace Synth
