// A file on disk named by its path, for building file documents.
#pragma once

#include <string>
#include <utility>

class KVXIFile {
public:
    // A file from a UTF-8 (or plain byte) narrow path; a null pointer gives the empty path.
    explicit KVXIFile(const char* path) : m_path(path ? path : "") {}
    // A file from a narrow path.
    explicit KVXIFile(std::string path) : m_path(std::move(path)) {}
    // A file from a wide path, stored as UTF-8 with every back-slash turned into a slash (it
    // separates folders, as on the host's system); a null pointer, or a path holding a
    // character that cannot be encoded, gives the empty path.
    explicit KVXIFile(const wchar_t* path);
    // A file from a wide path, as above.
    explicit KVXIFile(const std::wstring& path);

    // The path as UTF-8 bytes.
    const std::string& GetPath() const { return m_path; }
    // True when the path names an existing regular file.
    bool Exists() const;

private:
    std::string m_path;
};
