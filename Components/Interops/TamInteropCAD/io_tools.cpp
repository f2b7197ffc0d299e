// Path, file and number helpers: computed ones here, the rest forwarded to the host's rules.
#include "io_tools.h"

#include <platform/WideFile.h>
#include <tamfoundations/CTamIO.h>
#include <tamkernel/CTam2DManager.h>
#include <tamkernel/CTamPreferences.h>

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cwchar>

CTamIOTools::CTamIOTools() = default;

CTamIOTools::CTamIOTools(const CTamIOTools&) = default;

CTamIOTools& CTamIOTools::operator=(const CTamIOTools&) {
    return *this;
}

CTamIOTools::~CTamIOTools() = default;

std::wstring CTamIOTools::GetFileName(const wchar_t* path) {
    if (path == nullptr)
        return std::wstring();
    const std::wstring text(path);
    // npos compares greater than any position, so take the later of the two found ones.
    const size_t slash = text.rfind(L'/');
    const size_t backslash = text.rfind(L'\\');
    size_t separator = std::wstring::npos;
    if (slash != std::wstring::npos)
        separator = slash;
    if (backslash != std::wstring::npos &&
        (separator == std::wstring::npos || backslash > separator))
        separator = backslash;
    if (separator == std::wstring::npos)
        return text;
    return text.substr(separator + 1);
}

std::wstring CTamIOTools::GetFileBase(const wchar_t* path) {
    if (path == nullptr)
        return std::wstring();
    return std::wstring(CTamIO::GetFileBase(CString(path), false));
}

std::wstring CTamIOTools::GetFileExtension(const wchar_t* path) {
    if (path == nullptr)
        return std::wstring();
    std::wstring text(path);
    const size_t dot = text.rfind(L'.');
    if (dot != std::wstring::npos)
        text.erase(0, dot + 1);
    // Single-byte lower-casing: only A to Z change.
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return text;
}

std::wstring CTamIOTools::GetFileFolder(const std::wstring& path) {
    const size_t backslash = path.rfind(L'\\');
    if (backslash == std::wstring::npos)
        return L".\\";
    return path.substr(0, backslash);
}

std::wstring CTamIOTools::GetPathFolderInstall() {
    return std::wstring(GetTamPreferences()->GetPathFolderInstall());
}

void CTamIOTools::ReplaceChar(std::wstring& text, wchar_t from, wchar_t to) {
    for (wchar_t& c : text) {
        if (c == from)
            c = to;
    }
}

float CTamIOTools::TamAtof(std::wstring text) {
    // Ask the current locale which decimal separator it reads by parsing a known constant.
    const float probe = static_cast<float>(std::wcstod(L"1.32", nullptr));
    const bool pointLocale = std::fabs(1.32f - probe) < 0.001f;
    if (pointLocale)
        ReplaceChar(text, L',', L'.');
    else
        ReplaceChar(text, L'.', L',');
    return static_cast<float>(std::wcstod(text.c_str(), nullptr));
}

bool CTamIOTools::IsProe(const wchar_t* path) {
    return path != nullptr && CTamIO::IsProe(CString(path));
}

bool CTamIOTools::IsProePart(const wchar_t* path) {
    return path != nullptr && CTamIO::IsProePart(CString(path));
}

bool CTamIOTools::IsProeAssembly(const wchar_t* path) {
    return path != nullptr && CTamIO::IsProeAssembly(CString(path));
}

bool CTamIOTools::IsFile(const wchar_t* path) {
    if (path == nullptr)
        return false;
    FILE* file = _wfopen(path, L"r");
    if (file == nullptr)
        return false;
    // Opening a folder for reading succeeds on this system; a folder is not a file.
    struct stat status {};
    const bool isFolder = fstat(fileno(file), &status) == 0 && S_ISDIR(status.st_mode);
    fclose(file);
    return !isFolder;
}

bool CTamIOTools::WriteRVDfrom2D(CString& source, CString& target, CString& title) {
    CTam2DManager manager;
    return manager.WriteRVD(source, target, title);
}
