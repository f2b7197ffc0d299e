// Private: reading and writing small typed values in XML attributes.
#pragma once

#include <memory>
#include <string>
#include <vector>

class CTamXmlParserNode;

// Decimal digits only (no sign or blanks), at most 4294967295; false for other text.
bool TextToUInt(const std::wstring& text, unsigned int& value);
// Optional decimal integer with a leading '-'; false for other text.
bool TextToInt(const std::wstring& text, int& value);

// Attribute holding `count` blank-separated floats.
void SetFloatsAttribute(CTamXmlParserNode& element, const wchar_t* name, const float* values,
                        std::size_t count);
// Reads exactly `count` floats from the attribute; false when missing or malformed.
bool GetFloatsAttribute(const CTamXmlParserNode& element, const wchar_t* name, std::size_t count,
                        float* values);
