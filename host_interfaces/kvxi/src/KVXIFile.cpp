#include <kvxi/KVXIFile.h>

#include "Utf8.h"

#include <filesystem>

KVXIFile::KVXIFile(const wchar_t* path) : m_path(path ? tam::WideToUtf8(path) : std::string()) {}

KVXIFile::KVXIFile(const std::wstring& path) : m_path(tam::WideToUtf8(path)) {}

bool KVXIFile::Exists() const {
    std::error_code ec;
    return !m_path.empty() && std::filesystem::is_regular_file(m_path, ec);
}
