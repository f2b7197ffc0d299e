#include "XmlValues.h"

#include "NumberText.h"

#include <tamtools/CTamXmlParserNode.h>

#include <algorithm>
#include <climits>

bool TextToUInt(const std::wstring& text, unsigned int& value) {
    if (text.empty() || text.size() > 10) {
        return false;
    }
    unsigned long long result = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return false;
        }
        result = result * 10 + static_cast<unsigned long long>(c - L'0');
    }
    if (result > UINT_MAX) {
        return false;
    }
    value = static_cast<unsigned int>(result);
    return true;
}

bool TextToInt(const std::wstring& text, int& value) {
    const bool negative = !text.empty() && text[0] == L'-';
    unsigned int magnitude = 0;
    if (!TextToUInt(negative ? text.substr(1) : text, magnitude) ||
        magnitude > static_cast<unsigned int>(INT_MAX)) {
        return false;
    }
    value = negative ? -static_cast<int>(magnitude) : static_cast<int>(magnitude);
    return true;
}

void SetFloatsAttribute(CTamXmlParserNode& element, const wchar_t* name, const float* values,
                        std::size_t count) {
    element.AddAttribute(name, FloatsToText(values, count));
}

bool GetFloatsAttribute(const CTamXmlParserNode& element, const wchar_t* name, std::size_t count,
                        float* values) {
    std::vector<float> read;
    if (!TextToFloats(element.GetAttributeValue(name), count, read)) {
        return false;
    }
    std::copy(read.begin(), read.end(), values);
    return true;
}
