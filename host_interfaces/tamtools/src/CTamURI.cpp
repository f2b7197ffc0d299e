#include <tamtools/CTamURI.h>

#include <cwctype>
#include <vector>

namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// A path's root and its remaining components ("." and empty components dropped).
struct SplitPath {
    std::wstring root;  // "" (relative), "\" or "/" (absolute), "c:" (drive), "\\server" (UNC)
    std::vector<std::wstring> parts;
};

std::wstring DriveRoot(const std::wstring& path) {
    if (path.size() >= 2 && path[1] == L':' && std::iswalpha(path[0])) {
        return std::wstring(1, static_cast<wchar_t>(std::towlower(path[0]))) + L":";
    }
    return std::wstring();
}

SplitPath Split(const std::wstring& path) {
    SplitPath split;
    std::size_t pos = 0;
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        pos = 2;
        while (pos < path.size() && !IsSeparator(path[pos])) {
            ++pos;
        }
        split.root = L"\\\\" + path.substr(2, pos - 2);
    } else if (!DriveRoot(path).empty()) {
        split.root = DriveRoot(path);
        pos = 2;
    } else if (!path.empty() && IsSeparator(path[0])) {
        split.root = L"/";
    }
    std::wstring part;
    for (; pos <= path.size(); ++pos) {
        if (pos == path.size() || IsSeparator(path[pos])) {
            if (!part.empty() && part != L".") {
                split.parts.push_back(part);
            }
            part.clear();
        } else {
            part.push_back(path[pos]);
        }
    }
    return split;
}

wchar_t SeparatorOf(const std::wstring& path) {
    for (wchar_t c : path) {
        if (IsSeparator(c)) {
            return c;
        }
    }
    return L'\\';
}

std::size_t LastSeparator(const std::wstring& path) {
    const std::size_t back = path.rfind(L'\\');
    const std::size_t forward = path.rfind(L'/');
    if (back == std::wstring::npos) {
        return forward;
    }
    if (forward == std::wstring::npos) {
        return back;
    }
    return back > forward ? back : forward;
}

}  // namespace

std::wstring CTamURI::GetFolder(bool withSeparator) const {
    const std::size_t last = LastSeparator(m_path);
    if (last == std::wstring::npos) {
        return std::wstring();
    }
    return m_path.substr(0, withSeparator ? last + 1 : last);
}

std::wstring CTamURI::GetFileName() const {
    const std::size_t last = LastSeparator(m_path);
    return last == std::wstring::npos ? m_path : m_path.substr(last + 1);
}

std::wstring CTamURI::GetRelativePath(const std::wstring& path, const std::wstring& folder) {
    if (path.empty() || folder.empty()) {
        return std::wstring();
    }
    const SplitPath target = Split(path);
    const SplitPath base = Split(folder);
    if (target.root != base.root) {
        return std::wstring();
    }
    std::size_t common = 0;
    while (common < target.parts.size() && common < base.parts.size() &&
           target.parts[common] == base.parts[common]) {
        ++common;
    }
    const wchar_t separator = SeparatorOf(path);
    std::wstring relative;
    for (std::size_t i = common; i < base.parts.size(); ++i) {
        relative += L"..";
        relative.push_back(separator);
    }
    for (std::size_t i = common; i < target.parts.size(); ++i) {
        relative += target.parts[i];
        if (i + 1 < target.parts.size()) {
            relative.push_back(separator);
        }
    }
    if (common == target.parts.size() && !relative.empty()) {
        relative.pop_back();  // `path` is an ancestor of `folder`: no trailing separator
    }
    return relative;
}
