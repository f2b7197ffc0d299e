// Path, file and number helpers of the library, exported for the host.
#pragma once

#include <platform/CString.h>

#include <string>

#include "TamInteropCADExport.h"

// Toolbox of static operations on wide-character paths and numbers. Some are computed here,
// others forward to the host's own file rules so that host and plug-in agree. The class holds
// no data; objects exist only because the class is exported whole.
class TAMINTEROPCAD_API CTamIOTools {
public:
    CTamIOTools();
    CTamIOTools(const CTamIOTools& other);
    // Copies nothing (there is nothing to copy) and returns this object.
    CTamIOTools& operator=(const CTamIOTools& other);
    virtual ~CTamIOTools();

    // The text after the later of the last "/" and the last "\"; the whole path when neither
    // occurs, empty when the path ends in a separator or is null.
    static std::wstring GetFileName(const wchar_t* path);
    // The host's file base of the path (CTamIO::GetFileBase without its folder flag).
    static std::wstring GetFileBase(const wchar_t* path);
    // The text after the last "." (the whole path when there is none), A-Z lower-cased.
    static std::wstring GetFileExtension(const wchar_t* path);
    // Everything before the last "\" (only the back-slash counts); ".\" when there is none.
    static std::wstring GetFileFolder(const std::wstring& path);
    // The host's installation folder, from its preferences.
    static std::wstring GetPathFolderInstall();
    // Replaces every occurrence of from by to, in place.
    static void ReplaceChar(std::wstring& text, wchar_t from, wchar_t to);
    // Reads a decimal number written with "." or "," as separator, whatever the process
    // locale; text that is not a number yields 0.
    static float TamAtof(std::wstring text);
    // The host's ProE file rules, answered unchanged.
    static bool IsProe(const wchar_t* path);
    static bool IsProePart(const wchar_t* path);
    static bool IsProeAssembly(const wchar_t* path);
    // True when the path names a file that can be opened for reading (folders count as absent).
    static bool IsFile(const wchar_t* path);
    // Writes the host's native document target for the 2D drawing source, named title, through
    // a temporary 2D manager; its answer is returned unchanged.
    static bool WriteRVDfrom2D(CString& source, CString& target, CString& title);
};
