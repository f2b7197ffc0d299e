// An RGBA color of four 8-bit channels.
#pragma once

#include <string>

// Red, green, blue and alpha, each 0..255. Default: opaque black.
class CTamColor {
public:
    CTamColor() = default;
    CTamColor(unsigned char r, unsigned char g, unsigned char b, unsigned char a = 255)
        : m_r(r), m_g(g), m_b(b), m_a(a) {}

    // Color from channels in 0..1 (clamped), each scaled by 255 and rounded.
    static CTamColor FromFloats(float r, float g, float b, float a = 1.0f);

    // Channels, 0..255.
    unsigned char GetRed() const { return m_r; }
    unsigned char GetGreen() const { return m_g; }
    unsigned char GetBlue() const { return m_b; }
    unsigned char GetAlpha() const { return m_a; }

    // Channel as a float in 0..1 (index 0 red .. 3 alpha; other indices give 0).
    float GetFloat(int channel) const;

    // Text "r g b a" in decimal, e.g. "255 128 0 255".
    std::wstring ToText() const;

    // Reads the ToText form (four integers 0..255 separated by blanks). False, leaving the
    // color unchanged, for any other text.
    bool FromText(const std::wstring& text);

    // Equal when all four channels are equal.
    bool operator==(const CTamColor& other) const {
        return m_r == other.m_r && m_g == other.m_g && m_b == other.m_b && m_a == other.m_a;
    }
    bool operator!=(const CTamColor& other) const { return !(*this == other); }

private:
    unsigned char m_r = 0;
    unsigned char m_g = 0;
    unsigned char m_b = 0;
    unsigned char m_a = 255;
};
