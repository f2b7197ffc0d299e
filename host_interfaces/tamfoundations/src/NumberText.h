// Private: locale-independent number lists as text (decimal or base64) and back.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Shortest decimal text that reads back to the same float ("1.5", "1e-07", "nan", "inf").
std::wstring FloatToText(float value);
// Reads one float written by FloatToText (surrounding blanks allowed); false for other text.
bool TextToFloat(const std::wstring& text, float& value);

// Blank-separated decimal lists.
std::wstring FloatsToText(const float* values, std::size_t count);
std::wstring UIntsToText(const unsigned int* values, std::size_t count);
// Reads a list of exactly `count` numbers; false (out emptied) for anything else.
bool TextToFloats(const std::wstring& text, std::size_t count, std::vector<float>& out);
bool TextToUInts(const std::wstring& text, std::size_t count, std::vector<unsigned int>& out);

// Base64 of the values' little-endian 4-byte forms, and back (exactly `count` values).
std::wstring FloatsToBase64(const float* values, std::size_t count);
std::wstring UIntsToBase64(const unsigned int* values, std::size_t count);
bool Base64ToFloats(const std::wstring& text, std::size_t count, std::vector<float>& out);
bool Base64ToUInts(const std::wstring& text, std::size_t count, std::vector<unsigned int>& out);
