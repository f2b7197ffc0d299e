#include <kvxi/KVXIFile.h>

#include <platform/WideFile.h>

#include <filesystem>

// Wide paths follow the host's rule: a back-slash separates folders like a slash.
KVXIFile::KVXIFile(const wchar_t* path) : m_path(path ? tam::NativePath(path) : std::string()) {}

KVXIFile::KVXIFile(const std::wstring& path) : m_path(tam::NativePath(path)) {}

bool KVXIFile::Exists() const {
    std::error_code ec;
    return !m_path.empty() && std::filesystem::is_regular_file(m_path, ec);
}
