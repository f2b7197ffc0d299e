// Private: turns the bytes of an XML file into checked UTF-8 for the engine.
#pragma once

#include <cstddef>
#include <string>

// Detects the encoding (UTF-8 or UTF-16 in either byte order, with or without byte-order mark),
// checks it strictly and returns the text as UTF-8 without mark in `utf8`. False, with a
// reason in `error`, for empty input or an invalid encoding.
bool TamXmlBytesToUtf8(const unsigned char* data, std::size_t size, std::string& utf8,
                       std::wstring& error);
