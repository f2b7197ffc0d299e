// Writer of native documents for 2D drawings.
#pragma once

#include <platform/CString.h>

// Wraps a 2D drawing file in a small native document that refers to it.
class CTam2DManager {
public:
    CTam2DManager() = default;
    virtual ~CTam2DManager() = default;

    // Writes the native document target (UTF-8 XML) referring to the 2D drawing source, with
    // title as its name (the source's file name when empty). False, and no file written, when
    // source is not a readable file or target cannot be written.
    bool WriteRVD(const CString& source, const CString& target, const CString& title);
};
