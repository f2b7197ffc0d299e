// sRGB transfer functions. Scene colors are sRGB-encoded, as CAD files give them; glTF's base
// colors and the picture's shading work on linear values.
#pragma once

#include <algorithm>
#include <cmath>

namespace tam {

inline float srgbToLinear(float c) {
    c = std::clamp(c, 0.0f, 1.0f);
    return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
}

inline float linearToSrgb(float c) {
    c = std::clamp(c, 0.0f, 1.0f);
    return c <= 0.0031308f ? 12.92f * c : 1.055f * std::pow(c, 1.0f / 2.4f) - 0.055f;
}

}  // namespace tam
