// Host log: nested blocks of information lines, kept in memory and optionally mirrored to a file.
#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <vector>

// A log of lines. BeginBlock opens an indented block, EndBlock closes it. Lines stay in memory
// (GetLines, Clear) and, when a file is set, are appended to it as they come. Safe to call
// from several threads; never throws.
class CTamLog {
public:
    CTamLog() = default;
    CTamLog(const CTamLog&) = delete;
    CTamLog& operator=(const CTamLog&) = delete;

    // Writes "> function [source:line] kind" and indents what follows.
    void BeginBlock(const std::wstring& function, const std::wstring& source, int line,
                    const std::wstring& kind);
    // Writes text as one line. withTime prefixes the file copy with the time of day; isError
    // marks the line with "ERROR: ".
    void WriteInfos(const std::wstring& text, bool withTime, bool isError);
    // Writes "< function [source:line]" and undoes one indentation (never below none).
    void EndBlock(const std::wstring& function, const std::wstring& source, int line);

    // Lines written so far (indented two blanks per open block), oldest first; the last
    // 10000 are kept.
    std::vector<std::wstring> GetLines() const;
    // Forgets the lines kept in memory and the open blocks.
    void Clear();
    // Number of open blocks.
    unsigned int GetDepth() const;
    // Mirrors later lines to the file (appended, UTF-8); an empty path stops mirroring.
    // False when the file cannot be opened (mirroring is then off).
    bool SetFile(const std::wstring& path);

private:
    void AddLine(const std::wstring& line, bool withTime);

    mutable std::mutex m_mutex;
    std::deque<std::wstring> m_lines;
    unsigned int m_depth = 0;
    std::wstring m_filePath;
};

// The host's global log.
extern CTamLog gTamLog;
