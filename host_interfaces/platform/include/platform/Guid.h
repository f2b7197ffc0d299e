// Random 128-bit identifiers and their text.
#pragma once

#include <cstdint>
#include <string>

namespace tam {

// A 128-bit identifier in the usual field layout.
struct Guid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::uint8_t data4[8] = {};
};

// A new random identifier (version 4, variant 1).
Guid NewGuid();
// Text of the form XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX in upper-case hexadecimal; with braces
// it is enclosed in '{' '}'.
std::wstring GuidToText(const Guid& guid, bool braces = false);
// Reads text in the form above (braces optional, any letter case); false when malformed.
bool GuidFromText(const std::wstring& text, Guid& guid);
// A new random identifier as text (GuidToText without braces).
std::wstring NewGuidText();

}  // namespace tam
