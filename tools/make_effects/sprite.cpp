// The particle pictures: a soft round dot, a four-pointed twinkle and a thin ring.
#include "tools/make_effects/sprite.h"

#include <algorithm>
#include <cmath>

namespace effects {
namespace {

float Clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }

// Opacity at (x, y), both from -1 to 1 across the picture.
float Coverage(const std::string& shape, float x, float y)
{
    float r = std::sqrt(x * x + y * y);
    if (shape == "star") {
        // Two thin rays crossing over a bright core, fading towards the edge.
        float fade = Clamp01(1.0f - r);
        float rays = std::exp(-std::fabs(x) * 9.0f) + std::exp(-std::fabs(y) * 9.0f);
        float core = std::exp(-r * r * 18.0f);
        return Clamp01((rays * 0.8f + core) * fade * 1.2f);
    }
    if (shape == "ring") {
        float d = (r - 0.7f) / 0.15f;
        return Clamp01(std::exp(-d * d) * Clamp01((1.0f - r) * 8.0f));
    }
    float soft = Clamp01(1.0f - r);
    return soft * soft;
}

} // namespace

std::vector<unsigned char> DrawSprite(const Sprite& sprite)
{
    std::vector<unsigned char> px(static_cast<size_t>(sprite.width) * sprite.height * 4);
    for (int row = 0; row < sprite.height; ++row) {
        for (int col = 0; col < sprite.width; ++col) {
            // Pixel centres, so the picture is symmetric whatever its size.
            float x = (col + 0.5f) / sprite.width * 2.0f - 1.0f;
            float y = (row + 0.5f) / sprite.height * 2.0f - 1.0f;
            unsigned char* p = &px[(static_cast<size_t>(row) * sprite.width + col) * 4];
            p[0] = p[1] = p[2] = 255;
            p[3] = static_cast<unsigned char>(std::lround(Coverage(sprite.shape, x, y) * 255.0f));
        }
    }
    return px;
}

} // namespace effects
