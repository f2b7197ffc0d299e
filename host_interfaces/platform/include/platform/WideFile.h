// Wide-path file access where a back-slash separates folders like a slash.
#pragma once

#include <platform/WinTypes.h>

#include <cstdio>
#include <string>

namespace tam {

// The file-system path for a wide path: '\' becomes '/', characters are encoded in UTF-8.
// Empty when the path holds a character that cannot be encoded.
std::string NativePath(const std::wstring& path);
// True when path names an existing regular file or folder.
bool PathExists(const std::wstring& path);
// True when path names an existing regular file.
bool IsRegularFile(const std::wstring& path);
// Reads the whole file into out; false (out emptied) when it cannot be read.
bool ReadFileBytes(const std::wstring& path, std::string& out);
// Writes data to path through a temporary file renamed over the target, so that a failure never
// leaves a half-written file; false when writing fails.
bool WriteFileBytes(const std::wstring& path, const std::string& data);
// Creates the folder and its missing parents; true when it exists afterwards.
bool CreateFolders(const std::wstring& path);

}  // namespace tam

// Opens a file with a wide path and a wide fopen mode ("r", "wb", ...); null on failure, on an
// empty or null path or mode, or on a path that cannot be encoded. Close it with fclose.
FILE* _wfopen(const wchar_t* path, const wchar_t* mode);
// Deletes a file; FALSE when it does not exist or cannot be deleted (folders are not deleted).
BOOL DeleteFileW(const wchar_t* path);
// Copies a regular file; with failIfExists an existing target makes it fail. FALSE on failure.
BOOL CopyFileW(const wchar_t* source, const wchar_t* target, BOOL failIfExists);
