// Writes an effect as ".lfx" text, with the same key list the game's loader reads.
#pragma once

#include "tools/make_effects/effect_params.h"

#include <string>

namespace effects {

std::string WriteLfx(const EffectParams& effect);

} // namespace effects
