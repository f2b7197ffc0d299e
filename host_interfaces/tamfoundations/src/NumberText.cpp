#include "NumberText.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace {

const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\n' || c == L'\r' || c == L'\t';
}

// The next blank-separated token as ASCII; false when a non-ASCII character is met.
bool NextToken(const std::wstring& text, std::size_t& pos, std::string& token) {
    token.clear();
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    while (pos < text.size() && !IsBlank(text[pos])) {
        if (text[pos] < 0x21 || text[pos] > 0x7E) {
            return false;
        }
        token.push_back(static_cast<char>(text[pos++]));
    }
    return true;
}

template <class T>
bool ParseToken(const std::string& token, T& value) {
    const char* end = token.data() + token.size();
    const auto result = std::from_chars(token.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

template <class T>
bool TextToNumbers(const std::wstring& text, std::size_t count, std::vector<T>& out) {
    out.clear();
    std::vector<T> values;
    values.reserve(std::min(count, text.size() / 2 + 1));  // `count` may come from damaged input
    std::size_t pos = 0;
    std::string token;
    while (true) {
        if (!NextToken(text, pos, token)) {
            return false;
        }
        if (token.empty()) {
            break;
        }
        T value{};
        if (values.size() == count || !ParseToken(token, value)) {
            return false;
        }
        values.push_back(value);
    }
    if (values.size() != count) {
        return false;
    }
    out.swap(values);
    return true;
}

template <class T>
std::wstring NumbersToText(const T* values, std::size_t count) {
    std::wstring text;
    char buffer[32];
    for (std::size_t i = 0; i < count; ++i) {
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, values[i]);
        if (i > 0) {
            text.push_back(L' ');
        }
        text.append(buffer, result.ptr);
    }
    return text;
}

std::wstring BytesToBase64(const unsigned char* bytes, std::size_t size) {
    std::wstring text;
    text.reserve((size + 2) / 3 * 4);
    for (std::size_t i = 0; i < size; i += 3) {
        const std::uint32_t chunk = (bytes[i] << 16) | (i + 1 < size ? bytes[i + 1] << 8 : 0) |
                                    (i + 2 < size ? bytes[i + 2] : 0);
        text.push_back(kBase64[(chunk >> 18) & 63]);
        text.push_back(kBase64[(chunk >> 12) & 63]);
        text.push_back(i + 1 < size ? kBase64[(chunk >> 6) & 63] : L'=');
        text.push_back(i + 2 < size ? kBase64[chunk & 63] : L'=');
    }
    return text;
}

int Base64Value(wchar_t c) {
    const char* found = c > 0 && c < 128 ? std::strchr(kBase64, static_cast<char>(c)) : nullptr;
    return found != nullptr && *found != '\0' ? static_cast<int>(found - kBase64) : -1;
}

// Strict decoding: blanks are skipped, padding only at the end, exactly `size` bytes.
bool Base64ToBytes(const std::wstring& text, std::size_t size, std::vector<unsigned char>& out) {
    std::wstring clean;
    for (wchar_t c : text) {
        if (!IsBlank(c)) {
            clean.push_back(c);
        }
    }
    if (clean.size() % 4 != 0 || clean.size() / 4 != (size + 2) / 3) {
        return false;
    }
    out.clear();
    for (std::size_t i = 0; i < clean.size(); i += 4) {
        std::uint32_t chunk = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const bool padding = clean[i + k] == L'=' && i + 4 == clean.size() && k >= 2;
            const int value = padding ? 0 : Base64Value(clean[i + k]);
            if (value < 0) {
                return false;
            }
            chunk = (chunk << 6) | static_cast<std::uint32_t>(value);
        }
        for (int shift = 16; shift >= 0 && out.size() < size; shift -= 8) {
            out.push_back(static_cast<unsigned char>((chunk >> shift) & 0xFF));
        }
    }
    return out.size() == size;
}

template <class T>
std::wstring NumbersToBase64(const T* values, std::size_t count) {
    std::vector<unsigned char> bytes(count * 4);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &values[i], 4);
        for (int b = 0; b < 4; ++b) {
            bytes[4 * i + b] = static_cast<unsigned char>(bits >> (8 * b));
        }
    }
    return BytesToBase64(bytes.data(), bytes.size());
}

template <class T>
bool Base64ToNumbers(const std::wstring& text, std::size_t count, std::vector<T>& out) {
    out.clear();
    std::vector<unsigned char> bytes;
    if (!Base64ToBytes(text, count * 4, bytes)) {
        return false;
    }
    out.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t bits = 0;
        for (int b = 0; b < 4; ++b) {
            bits |= static_cast<std::uint32_t>(bytes[4 * i + b]) << (8 * b);
        }
        std::memcpy(&out[i], &bits, 4);
    }
    return true;
}

}  // namespace

std::wstring FloatToText(float value) {
    return NumbersToText(&value, 1);
}

bool TextToFloat(const std::wstring& text, float& value) {
    std::vector<float> values;
    if (!TextToNumbers(text, 1, values)) {
        return false;
    }
    value = values[0];
    return true;
}

std::wstring FloatsToText(const float* values, std::size_t count) {
    return NumbersToText(values, count);
}

std::wstring UIntsToText(const unsigned int* values, std::size_t count) {
    return NumbersToText(values, count);
}

bool TextToFloats(const std::wstring& text, std::size_t count, std::vector<float>& out) {
    return TextToNumbers(text, count, out);
}

bool TextToUInts(const std::wstring& text, std::size_t count, std::vector<unsigned int>& out) {
    return TextToNumbers(text, count, out);
}

std::wstring FloatsToBase64(const float* values, std::size_t count) {
    return NumbersToBase64(values, count);
}

std::wstring UIntsToBase64(const unsigned int* values, std::size_t count) {
    return NumbersToBase64(values, count);
}

bool Base64ToFloats(const std::wstring& text, std::size_t count, std::vector<float>& out) {
    return Base64ToNumbers(text, count, out);
}

bool Base64ToUInts(const std::wstring& text, std::size_t count, std::vector<unsigned int>& out) {
    return Base64ToNumbers(text, count, out);
}
