// Facts about the operating system the host runs on.
#pragma once

#include <platform/CString.h>

// Process-wide operating-system information.
class CTamOSInfo {
public:
    // The single instance; never null.
    static CTamOSInfo* GetInstance();

    // True: the host behaves as on an NT-family system (UTF-16 files with a first line to strip,
    // wide file names).
    bool IsNT() const { return true; }
    // Name of the running system, e.g. "Linux 6.1.0".
    CString GetName() const;

private:
    CTamOSInfo() = default;
};
