// Wide string class with the operations of the Windows host's CString.
#pragma once

#include <platform/WinTypes.h>

#include <string>

// A wide-character string. Positions are 0-based character indices; arguments out of range are
// clamped as the Windows class does (Left(-1) is empty, Mid(99) of a short string is empty).
class CString {
public:
    CString() = default;
    // From wide text; null gives the empty string.
    CString(const wchar_t* text);
    CString(const wchar_t* text, int length);
    CString(const std::wstring& text) : m_s(text) {}
    // From narrow text in the ANSI code page; null or unconvertible text gives the empty string.
    explicit CString(const char* text);
    // count copies of ch.
    explicit CString(wchar_t ch, int count = 1);

    CString& operator=(const wchar_t* text);
    CString& operator=(const std::wstring& text);
    CString& operator=(wchar_t ch);

    int GetLength() const { return static_cast<int>(m_s.size()); }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    // Character at index; 0 when out of range.
    wchar_t GetAt(int index) const;
    wchar_t operator[](int index) const { return GetAt(index); }
    // Replaces the character at index; ignored when out of range.
    void SetAt(int index, wchar_t ch);

    // The text, terminated by 0; valid until the string changes.
    operator const wchar_t*() const { return m_s.c_str(); }
    const wchar_t* GetString() const { return m_s.c_str(); }
    // The text as a standard string.
    const std::wstring& str() const { return m_s; }

    // A writable buffer of at least minLength characters (plus the terminator); call
    // ReleaseBuffer afterwards. newLength -1 keeps the text up to its first 0.
    wchar_t* GetBuffer(int minLength = 0);
    void ReleaseBuffer(int newLength = -1);

    // Index of the first ch / sub at or after start; -1 when absent or start out of range.
    int Find(wchar_t ch, int start = 0) const;
    int Find(const wchar_t* sub, int start = 0) const;
    // Index of the last ch; -1 when absent.
    int ReverseFind(wchar_t ch) const;
    // Index of the first character that is one of chars; -1 when none.
    int FindOneOf(const wchar_t* chars) const;

    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Right(int count) const;
    // The next token after start delimited by any of tokens; start moves past it, and becomes -1
    // (with an empty result) when no token is left.
    CString Tokenize(const wchar_t* tokens, int& start) const;

    // Case changes use the C library's wide conversions (towlower/towupper).
    CString& MakeLower();
    CString& MakeUpper();
    CString& MakeReverse();
    // Replaces every occurrence; returns how many were replaced (an empty old text replaces none).
    int Replace(wchar_t oldCh, wchar_t newCh);
    int Replace(const wchar_t* oldText, const wchar_t* newText);
    // Removes every ch; returns how many were removed.
    int Remove(wchar_t ch);
    // Inserts at index (clamped to the length); returns the new length.
    int Insert(int index, wchar_t ch);
    int Insert(int index, const wchar_t* text);
    // Deletes count characters from index; returns the new length.
    int Delete(int index, int count = 1);

    // Remove white space (or the given characters) at one or both ends.
    CString& Trim();
    CString& Trim(wchar_t ch);
    CString& Trim(const wchar_t* chars);
    CString& TrimLeft();
    CString& TrimLeft(wchar_t ch);
    CString& TrimLeft(const wchar_t* chars);
    CString& TrimRight();
    CString& TrimRight(wchar_t ch);
    CString& TrimRight(const wchar_t* chars);

    // Replaces / extends the text with printf-style output (%s: wide text, see tam::FormatWide).
    void Format(const wchar_t* format, ...);
    void AppendFormat(const wchar_t* format, ...);
    void Append(const wchar_t* text);
    void AppendChar(wchar_t ch) { m_s.push_back(ch); }

    // Ordinal comparison (<0, 0, >0); the NoCase form compares lower-cased characters.
    int Compare(const wchar_t* other) const;
    int CompareNoCase(const wchar_t* other) const;

    CString& operator+=(const CString& other);
    CString& operator+=(const wchar_t* text);
    CString& operator+=(const std::wstring& text);
    CString& operator+=(wchar_t ch);

    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, const wchar_t* b);
    friend CString operator+(const wchar_t* a, const CString& b);
    friend CString operator+(const CString& a, wchar_t b);
    friend bool operator==(const CString& a, const CString& b) { return a.m_s == b.m_s; }
    friend bool operator==(const CString& a, const wchar_t* b);
    friend bool operator==(const wchar_t* a, const CString& b) { return b == a; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const wchar_t* b) { return !(a == b); }
    friend bool operator!=(const wchar_t* a, const CString& b) { return !(b == a); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_s < b.m_s; }
    friend bool operator>(const CString& a, const CString& b) { return b.m_s < a.m_s; }
    friend bool operator<=(const CString& a, const CString& b) { return !(b.m_s < a.m_s); }
    friend bool operator>=(const CString& a, const CString& b) { return !(a.m_s < b.m_s); }

private:
    std::wstring m_s;
};
