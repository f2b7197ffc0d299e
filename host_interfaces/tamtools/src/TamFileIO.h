// Private: whole-file reading and all-or-nothing writing for wide-character paths.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The path as the operating system takes it: back-slashes become '/', the text UTF-8.
std::string TamNativePath(const std::wstring& path);

// Reads a whole regular file. False (with a reason in `error`) for an empty path, a folder,
// a missing or unreadable file; `out` is then empty.
bool TamReadFile(const std::wstring& path, std::vector<unsigned char>& out, std::wstring& error);

// Writes `size` bytes to `path` through a scratch file renamed over it, so the target is either
// the old file or the complete new one. False (with a reason in `error`) when that fails.
bool TamWriteFileAtomic(const std::wstring& path, const void* data, std::size_t size,
                        std::wstring& error);
