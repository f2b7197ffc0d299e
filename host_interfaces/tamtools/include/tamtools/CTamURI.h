// A file location given as a wide path with '\' or '/' separators.
#pragma once

#include <string>

// A path split into folder and file name. Both separators are accepted; results keep the
// separators of the input.
class CTamURI {
public:
    // A location for `path` as given (not checked, may be empty).
    explicit CTamURI(const std::wstring& path) : m_path(path) {}

    // The path as given.
    const std::wstring& GetPath() const { return m_path; }

    // The folder: everything before the last separator, ending with that separator when
    // `withSeparator` is set. Empty when the path has no separator.
    std::wstring GetFolder(bool withSeparator) const;

    // The part after the last separator (the whole path without separator).
    std::wstring GetFileName() const;

    // `path` written relative to `folder`, e.g. "sub\a.xml" or "..\b\a.xml". Empty when no
    // relative form exists: either is empty, one is absolute and the other not, they lie on
    // different roots (drive letters compare case-blind), or `path` is `folder` itself.
    static std::wstring GetRelativePath(const std::wstring& path, const std::wstring& folder);

private:
    std::wstring m_path;
};
