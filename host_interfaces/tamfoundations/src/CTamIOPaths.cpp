// Path, file and ProE rules of CTamIO.
#include <tamfoundations/CTamIO.h>

#include <platform/WideFile.h>

#include <cstdio>
#include <string>

namespace {

std::size_t FilePartStart(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? 0 : separator + 1;
}

bool IsDigits(const std::wstring& text) {
    if (text.empty()) {
        return false;
    }
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return false;
        }
    }
    return true;
}

// Position of the dot that starts the extension, or npos.
std::size_t ExtensionDot(const std::wstring& path, bool withRevision) {
    const std::size_t start = FilePartStart(path);
    const std::size_t last = path.rfind(L'.');
    if (last == std::wstring::npos || last < start) {
        return std::wstring::npos;
    }
    if (withRevision && last > start && IsDigits(path.substr(last + 1))) {
        const std::size_t previous = path.rfind(L'.', last - 1);
        if (previous != std::wstring::npos && previous >= start && previous + 1 < last &&
            !IsDigits(path.substr(previous + 1, last - previous - 1))) {
            return previous;
        }
    }
    return last;
}

// "prt" or "asm" for a ProE document, "" otherwise. ProE names its files in lower case, so an
// extension in capitals (a part file of another system) is not taken for one.
std::wstring ProeKind(const CString& path) {
    const std::wstring extension = CTamIO::GetFileExtension(path, true).str();
    const std::wstring kind = extension.substr(0, 3);
    if (kind != L"prt" && kind != L"asm") {
        return std::wstring();
    }
    if (extension.size() == 3 || (extension[3] == L'.' && IsDigits(extension.substr(4)))) {
        return CTamIO::GetFileBase(path, true).IsEmpty() ? std::wstring() : kind;
    }
    return std::wstring();
}

}  // namespace

CString CTamIO::GetFileBase(const CString& path, bool withRevision) {
    return GetFile(GetFileBasePath(path, withRevision));
}

CString CTamIO::GetFileExtension(const CString& path, bool withRevision) {
    const std::wstring& text = path.str();
    const std::size_t dot = ExtensionDot(text, withRevision);
    return dot == std::wstring::npos ? CString() : CString(text.substr(dot + 1));
}

CString CTamIO::GetFileBasePath(const CString& path, bool withRevision) {
    const std::wstring& text = path.str();
    const std::size_t dot = ExtensionDot(text, withRevision);
    return dot == std::wstring::npos ? path : CString(text.substr(0, dot));
}

CString CTamIO::GetFile(const CString& path) {
    const std::wstring& text = path.str();
    return CString(text.substr(FilePartStart(text)));
}

CString CTamIO::GetRVDExtension() {
    return CString(L"rvd");
}

bool CTamIO::IsFile(const CString& path) {
    if (path.IsEmpty() || !tam::IsRegularFile(path.str())) {
        return false;
    }
    FILE* file = _wfopen(path, L"r");
    if (file == nullptr) {
        return false;
    }
    std::fclose(file);
    return true;
}

bool CTamIO::CopyFileW(const CString& source, const CString& target) {
    return !source.IsEmpty() && !target.IsEmpty() && ::CopyFileW(source, target, FALSE) != FALSE;
}

bool CTamIO::IsProe(const CString& path) {
    return !ProeKind(path).empty();
}

bool CTamIO::IsProePart(const CString& path) {
    return ProeKind(path) == L"prt";
}

bool CTamIO::IsProeAssembly(const CString& path) {
    return ProeKind(path) == L"asm";
}
