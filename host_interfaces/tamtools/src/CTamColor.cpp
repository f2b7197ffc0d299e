#include <tamtools/CTamColor.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

unsigned char ToChannel(float value) {
    const float clamped = std::clamp(std::isnan(value) ? 0.0f : value, 0.0f, 1.0f);
    return static_cast<unsigned char>(std::lround(clamped * 255.0f));
}

// Reads one decimal integer 0..255 at text[pos], skipping leading blanks.
bool ReadChannel(const std::wstring& text, std::size_t& pos, unsigned char& out) {
    while (pos < text.size() && text[pos] == L' ') {
        ++pos;
    }
    unsigned int value = 0;
    std::size_t digits = 0;
    while (pos < text.size() && text[pos] >= L'0' && text[pos] <= L'9' && digits < 4) {
        value = value * 10 + static_cast<unsigned int>(text[pos] - L'0');
        ++pos;
        ++digits;
    }
    if (digits == 0 || value > 255) {
        return false;
    }
    out = static_cast<unsigned char>(value);
    return true;
}

}  // namespace

CTamColor CTamColor::FromFloats(float r, float g, float b, float a) {
    return CTamColor(ToChannel(r), ToChannel(g), ToChannel(b), ToChannel(a));
}

float CTamColor::GetFloat(int channel) const {
    switch (channel) {
        case 0:
            return m_r / 255.0f;
        case 1:
            return m_g / 255.0f;
        case 2:
            return m_b / 255.0f;
        case 3:
            return m_a / 255.0f;
        default:
            return 0.0f;
    }
}

std::wstring CTamColor::ToText() const {
    return std::to_wstring(m_r) + L' ' + std::to_wstring(m_g) + L' ' + std::to_wstring(m_b) + L' ' +
           std::to_wstring(m_a);
}

bool CTamColor::FromText(const std::wstring& text) {
    unsigned char channels[4] = {};
    std::size_t pos = 0;
    for (unsigned char& channel : channels) {
        if (!ReadChannel(text, pos, channel)) {
            return false;
        }
    }
    while (pos < text.size() && text[pos] == L' ') {
        ++pos;
    }
    if (pos != text.size()) {
        return false;
    }
    *this = CTamColor(channels[0], channels[1], channels[2], channels[3]);
    return true;
}
