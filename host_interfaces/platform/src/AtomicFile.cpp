// Write beside, then rename: the rename within one folder replaces the target in one step.
#include <platform/AtomicFile.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace tam {
namespace {

// Removes the temporary file unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : m_path(std::move(path)) {}
    ~TemporaryFile() {
        if (!m_kept)
            ::unlink(m_path.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& path() const { return m_path; }
    void keep() { m_kept = true; }

private:
    std::string m_path;
    bool m_kept = false;
};

// A hidden name beside the target, unique to this process and call ("XXXXXX" for mkstemp).
std::string temporaryPattern(const fs::path& target) {
    return (target.parent_path() / ("." + target.filename().string() + ".part-XXXXXX")).string();
}

// mkstemp makes the file private; give the result the permissions a new file would get, or
// those of the file it replaces.
void setPermissions(const std::string& temporary, const std::string& target) {
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) {
        ::chmod(temporary.c_str(), existing.st_mode & 07777);
        return;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(temporary.c_str(), 0666 & ~mask);
}

}  // namespace

std::string SystemErrorText(int errorNumber) {
    return std::strerror(errorNumber);
}

bool WriteFileAtomically(const std::string& target,
                         const std::function<bool(const std::string& temporary)>& write,
                         std::string& error) {
    const fs::path targetPath(target);
    std::error_code ec;
    if (target.empty() || targetPath.filename().empty() || fs::is_directory(targetPath, ec)) {
        error = SystemErrorText(target.empty() ? ENOENT : EISDIR);
        return false;
    }
    std::string pattern = temporaryPattern(targetPath);
    const int fd = ::mkstemp(&pattern[0]);
    if (fd < 0) {
        error = SystemErrorText(errno);
        return false;
    }
    ::close(fd);
    TemporaryFile temporary(pattern);
    errno = 0;
    if (!write(temporary.path())) {
        error = errno != 0 ? SystemErrorText(errno) : "the writer failed";
        return false;
    }
    setPermissions(temporary.path(), target);
    if (std::rename(temporary.path().c_str(), target.c_str()) != 0) {
        error = SystemErrorText(errno);
        return false;
    }
    temporary.keep();
    return true;
}

}  // namespace tam
