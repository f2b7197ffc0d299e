#include "AtomicOutput.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace tam {
namespace {

// A scratch folder that removes itself with everything left in it.
class ScratchFolder {
public:
    explicit ScratchFolder(const fs::path& path) : m_path(path) {
        std::error_code ec;
        m_created = fs::create_directory(m_path, ec) && !ec;
    }
    ~ScratchFolder() {
        std::error_code ec;
        if (m_created)
            fs::remove_all(m_path, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    bool Created() const { return m_created; }
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
    bool m_created = false;
};

// The target itself goes last, so that a reader who finds it also finds the files it names.
// When a move fails, the files already moved are removed again: nothing is left half.
bool MoveAllInto(const fs::path& from, const fs::path& folder, const fs::path& targetName) {
    std::error_code ec;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(from, ec)) {
        if (entry.path().filename() != targetName)
            files.push_back(entry.path());
    }
    if (ec || !fs::exists(from / targetName, ec))
        return false;
    files.push_back(from / targetName);
    for (std::size_t i = 0; i < files.size(); ++i) {
        fs::rename(files[i], folder / files[i].filename(), ec);
        if (ec) {
            for (std::size_t moved = 0; moved < i; ++moved)
                fs::remove(folder / files[moved].filename(), ec);
            return false;
        }
    }
    return true;
}

}  // namespace

KVXIResult WriteAtomically(const std::string& target,
                           const std::function<KVXIResult(const std::string&)>& write) {
    const fs::path targetPath(target);
    if (targetPath.filename().empty())
        return KVXIResult(KVXIResult::WriteFailed);
    fs::path folder = targetPath.parent_path();
    if (folder.empty())
        folder = ".";
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        return KVXIResult(KVXIResult::WriteFailed);
    const std::string scratchName =
        "." + targetPath.filename().string() + ".kvxi-" + std::to_string(getpid());
    ScratchFolder scratch(folder / scratchName);
    if (!scratch.Created())
        return KVXIResult(KVXIResult::WriteFailed);
    const KVXIResult result = write((scratch.Path() / targetPath.filename()).string());
    if (result.IsFailure())
        return result;
    if (!MoveAllInto(scratch.Path(), folder, targetPath.filename()))
        return KVXIResult(KVXIResult::WriteFailed);
    return result;
}

}  // namespace tam
