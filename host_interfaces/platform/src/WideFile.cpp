// Wide-path file access: '\' separates folders like '/', names are UTF-8 on disk.
#include <platform/CodePage.h>
#include <platform/WideFile.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

// The fopen mode for a Windows mode: 't' (text) and ",ccs=..." have no meaning here.
bool NarrowMode(const wchar_t* mode, std::string& out) {
    for (const wchar_t* p = mode; *p; ++p) {
        if (*p == L',')
            break;
        if (*p == L't')
            continue;
        if (*p > 0x7F)
            return false;
        out.push_back(static_cast<char>(*p));
    }
    return !out.empty();
}

bool WriteAll(int fd, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

namespace tam {

std::string NativePath(const std::wstring& path) {
    std::wstring slashed = path;
    for (wchar_t& ch : slashed) {
        if (ch == L'\\')
            ch = L'/';
    }
    std::string native;
    WideToUtf8(slashed, native);
    return native;
}

bool PathExists(const std::wstring& path) {
    const std::string native = NativePath(path);
    std::error_code ec;
    return !native.empty() && fs::exists(native, ec);
}

bool IsRegularFile(const std::wstring& path) {
    const std::string native = NativePath(path);
    std::error_code ec;
    return !native.empty() && fs::is_regular_file(native, ec);
}

bool ReadFileBytes(const std::wstring& path, std::string& out) {
    out.clear();
    if (!IsRegularFile(path))
        return false;
    std::ifstream in(NativePath(path), std::ios::binary);
    if (!in)
        return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        out.clear();
        return false;
    }
    return true;
}

bool WriteFileBytes(const std::wstring& path, const std::string& data) {
    const std::string native = NativePath(path);
    if (native.empty() || native.back() == '/')
        return false;
    std::string temp = native + ".XXXXXX";
    const int fd = ::mkstemp(&temp[0]);
    if (fd < 0)
        return false;
    const bool written = WriteAll(fd, data);
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || std::rename(temp.c_str(), native.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    // mkstemp makes the file private; give it the permissions an ordinary new file would get.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(native.c_str(), 0666 & ~mask);
    return true;
}

bool CreateFolders(const std::wstring& path) {
    const std::string native = NativePath(path);
    if (native.empty())
        return false;
    std::error_code ec;
    fs::create_directories(native, ec);
    return fs::is_directory(native, ec);
}

}  // namespace tam

FILE* _wfopen(const wchar_t* path, const wchar_t* mode) {
    if (path == nullptr || mode == nullptr || *path == 0)
        return nullptr;
    std::string narrowMode;
    const std::string native = tam::NativePath(path);
    if (native.empty() || !NarrowMode(mode, narrowMode))
        return nullptr;
    FILE* file = std::fopen(native.c_str(), narrowMode.c_str());
    if (file == nullptr)
        return nullptr;
    // A folder opens on this system but not on the one this API comes from: refuse it.
    struct stat info;
    if (::fstat(::fileno(file), &info) == 0 && S_ISDIR(info.st_mode)) {
        std::fclose(file);
        errno = EISDIR;
        return nullptr;
    }
    return file;
}

BOOL DeleteFileW(const wchar_t* path) {
    if (path == nullptr || *path == 0)
        return FALSE;
    const std::string native = tam::NativePath(path);
    return !native.empty() && ::unlink(native.c_str()) == 0 ? TRUE : FALSE;
}

BOOL CopyFileW(const wchar_t* source, const wchar_t* target, BOOL failIfExists) {
    if (source == nullptr || target == nullptr || !tam::IsRegularFile(source))
        return FALSE;
    const std::string from = tam::NativePath(source);
    const std::string to = tam::NativePath(target);
    if (to.empty())
        return FALSE;
    std::error_code ec;
    if (fs::equivalent(from, to, ec))
        return failIfExists ? FALSE : TRUE;
    const auto options =
        failIfExists ? fs::copy_options::none : fs::copy_options::overwrite_existing;
    return fs::copy_file(from, to, options, ec) && !ec ? TRUE : FALSE;
}
