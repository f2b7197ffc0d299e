#include "TamFileIO.h"

#include <platform/CodePage.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

std::wstring ErrnoText(const wchar_t* what, const std::wstring& path) {
    return std::wstring(what) + L" '" + path + L"': " +
           tam::Utf8ToWideReplacing(std::strerror(errno));
}

// Closes the stream on every path out of a function.
struct FileCloser {
    std::FILE* file;
    ~FileCloser() {
        if (file != nullptr) {
            std::fclose(file);
        }
    }
};

// Writes the bytes to a new file; false when it cannot be created, written or closed.
bool WriteWholeFile(const std::string& native, const void* data, std::size_t size) {
    std::FILE* file = std::fopen(native.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

}  // namespace

std::string TamNativePath(const std::wstring& path) {
    std::string native = tam::WideToUtf8Replacing(path);
    for (char& c : native) {
        if (c == '\\') {
            c = '/';
        }
    }
    return native;
}

bool TamReadFile(const std::wstring& path, std::vector<unsigned char>& out, std::wstring& error) {
    out.clear();
    if (path.empty()) {
        error = L"empty file path";
        return false;
    }
    const std::string native = TamNativePath(path);
    struct stat info {};
    if (::stat(native.c_str(), &info) != 0) {
        error = ErrnoText(L"cannot find", path);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error = L"not a regular file '" + path + L"'";
        return false;
    }
    FileCloser closer{std::fopen(native.c_str(), "rb")};
    if (closer.file == nullptr) {
        error = ErrnoText(L"cannot open", path);
        return false;
    }
    std::vector<unsigned char> bytes;
    // Sized once, so that reading a large file never holds two growing copies of it.
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    unsigned char block[65536];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, closer.file)) > 0) {
        bytes.insert(bytes.end(), block, block + got);
    }
    if (std::ferror(closer.file) != 0) {
        error = ErrnoText(L"cannot read", path);
        return false;
    }
    out.swap(bytes);
    return true;
}

bool TamWriteFileAtomic(const std::wstring& path, const void* data, std::size_t size,
                        std::wstring& error) {
    if (path.empty()) {
        error = L"empty file path";
        return false;
    }
    const std::string native = TamNativePath(path);
    const std::string scratch = native + ".tmp" + std::to_string(::getpid());
    if (!WriteWholeFile(scratch, data, size)) {
        error = ErrnoText(L"cannot write", path);
        std::remove(scratch.c_str());
        return false;
    }
    if (std::rename(scratch.c_str(), native.c_str()) != 0) {
        error = ErrnoText(L"cannot replace", path);
        std::remove(scratch.c_str());
        return false;
    }
    return true;
}
