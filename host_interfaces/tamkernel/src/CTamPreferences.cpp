// Process-wide host preferences.
#include <platform/CodePage.h>
#include <tamkernel/CTamPreferences.h>

#include <filesystem>

namespace {

// The folder of the running program, or "." when the system cannot tell.
std::wstring ProgramFolder() {
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    std::wstring folder;
    if (ec || !tam::Utf8ToWide(program.parent_path().string(), folder) || folder.empty()) {
        return L".";
    }
    return folder;
}

}  // namespace

std::wstring CTamPreferences::GetPathFolderInstall() const {
    return m_installFolder.empty() ? ProgramFolder() : m_installFolder;
}

void CTamPreferences::Reset() {
    *this = CTamPreferences();
}

CTamPreferences* GetTamPreferences() {
    static CTamPreferences preferences;
    return &preferences;
}
