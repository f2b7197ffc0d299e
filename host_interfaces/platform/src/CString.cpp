// Wide string operations with the clamping rules of the Windows host's string class.
#include <platform/CString.h>
#include <platform/CodePage.h>
#include <platform/WideFormat.h>

#include <algorithm>
#include <cstdarg>
#include <cwchar>
#include <cwctype>

namespace {

const wchar_t kWhiteSpace[] = L" \t\r\n\v\f";

int Clamp(int value, int low, int high) {
    return std::max(low, std::min(value, high));
}

std::wstring Safe(const wchar_t* text) {
    return text ? std::wstring(text) : std::wstring();
}

}  // namespace

CString::CString(const wchar_t* text) : m_s(Safe(text)) {}

CString::CString(const wchar_t* text, int length) {
    if (text && length > 0)
        m_s.assign(text, static_cast<size_t>(length));
}

CString::CString(const char* text) {
    if (text)
        tam::NarrowToWide(text, m_s);
}

CString::CString(wchar_t ch, int count) {
    if (count > 0)
        m_s.assign(static_cast<size_t>(count), ch);
}

CString& CString::operator=(const wchar_t* text) {
    m_s = Safe(text);
    return *this;
}

CString& CString::operator=(const std::wstring& text) {
    m_s = text;
    return *this;
}

CString& CString::operator=(wchar_t ch) {
    m_s.assign(1, ch);
    return *this;
}

wchar_t CString::GetAt(int index) const {
    return index >= 0 && index < GetLength() ? m_s[static_cast<size_t>(index)] : L'\0';
}

void CString::SetAt(int index, wchar_t ch) {
    if (index >= 0 && index < GetLength())
        m_s[static_cast<size_t>(index)] = ch;
}

wchar_t* CString::GetBuffer(int minLength) {
    if (minLength > GetLength())
        m_s.resize(static_cast<size_t>(minLength));
    return &m_s[0];
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0) {
        m_s.resize(std::wcslen(m_s.c_str()));
    } else {
        m_s.resize(static_cast<size_t>(std::min(newLength, GetLength())));
    }
}

int CString::Find(wchar_t ch, int start) const {
    if (start < 0 || start >= GetLength())
        return -1;
    const size_t pos = m_s.find(ch, static_cast<size_t>(start));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(const wchar_t* sub, int start) const {
    if (sub == nullptr || *sub == 0 || start < 0 || start > GetLength())
        return -1;
    const size_t pos = m_s.find(sub, static_cast<size_t>(start));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(wchar_t ch) const {
    const size_t pos = m_s.rfind(ch);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::FindOneOf(const wchar_t* chars) const {
    if (chars == nullptr || *chars == 0)
        return -1;
    const size_t pos = m_s.find_first_of(chars);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

CString CString::Left(int count) const {
    return CString(m_s.substr(0, static_cast<size_t>(Clamp(count, 0, GetLength()))));
}

CString CString::Mid(int first) const {
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const {
    const int start = Clamp(first, 0, GetLength());
    const int length = Clamp(count, 0, GetLength() - start);
    return CString(m_s.substr(static_cast<size_t>(start), static_cast<size_t>(length)));
}

CString CString::Right(int count) const {
    const int length = Clamp(count, 0, GetLength());
    return CString(m_s.substr(static_cast<size_t>(GetLength() - length)));
}

CString CString::Tokenize(const wchar_t* tokens, int& start) const {
    if (start < 0 || start >= GetLength()) {
        start = -1;
        return CString();
    }
    const std::wstring delimiters = Safe(tokens);
    const size_t begin = m_s.find_first_not_of(delimiters, static_cast<size_t>(start));
    if (begin == std::wstring::npos) {
        start = -1;
        return CString();
    }
    size_t end = m_s.find_first_of(delimiters, begin);
    if (end == std::wstring::npos)
        end = m_s.size();
    start = static_cast<int>(std::min(end + 1, m_s.size()));
    return CString(m_s.substr(begin, end - begin));
}

CString& CString::MakeLower() {
    for (wchar_t& ch : m_s)
        ch = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(ch)));
    return *this;
}

CString& CString::MakeUpper() {
    for (wchar_t& ch : m_s)
        ch = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(ch)));
    return *this;
}

CString& CString::MakeReverse() {
    std::reverse(m_s.begin(), m_s.end());
    return *this;
}

int CString::Replace(wchar_t oldCh, wchar_t newCh) {
    int count = 0;
    for (wchar_t& ch : m_s) {
        if (ch == oldCh) {
            ch = newCh;
            ++count;
        }
    }
    return count;
}

int CString::Replace(const wchar_t* oldText, const wchar_t* newText) {
    const std::wstring from = Safe(oldText);
    const std::wstring to = Safe(newText);
    if (from.empty())
        return 0;
    int count = 0;
    std::wstring result;
    size_t pos = 0;
    for (size_t hit; (hit = m_s.find(from, pos)) != std::wstring::npos; pos = hit + from.size()) {
        result.append(m_s, pos, hit - pos).append(to);
        ++count;
    }
    result.append(m_s, pos, std::wstring::npos);
    m_s.swap(result);
    return count;
}

int CString::Remove(wchar_t ch) {
    const size_t before = m_s.size();
    m_s.erase(std::remove(m_s.begin(), m_s.end(), ch), m_s.end());
    return static_cast<int>(before - m_s.size());
}

int CString::Insert(int index, wchar_t ch) {
    m_s.insert(static_cast<size_t>(Clamp(index, 0, GetLength())), 1, ch);
    return GetLength();
}

int CString::Insert(int index, const wchar_t* text) {
    m_s.insert(static_cast<size_t>(Clamp(index, 0, GetLength())), Safe(text));
    return GetLength();
}

int CString::Delete(int index, int count) {
    if (index >= 0 && index < GetLength() && count > 0) {
        m_s.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    }
    return GetLength();
}

CString& CString::Trim() {
    return TrimLeft().TrimRight();
}
CString& CString::Trim(wchar_t ch) {
    return TrimLeft(ch).TrimRight(ch);
}
CString& CString::Trim(const wchar_t* chars) {
    return TrimLeft(chars).TrimRight(chars);
}
CString& CString::TrimLeft() {
    return TrimLeft(kWhiteSpace);
}
CString& CString::TrimRight() {
    return TrimRight(kWhiteSpace);
}

CString& CString::TrimLeft(wchar_t ch) {
    const wchar_t set[2] = {ch, L'\0'};
    return TrimLeft(set);
}

CString& CString::TrimRight(wchar_t ch) {
    const wchar_t set[2] = {ch, L'\0'};
    return TrimRight(set);
}

CString& CString::TrimLeft(const wchar_t* chars) {
    const size_t first = m_s.find_first_not_of(Safe(chars));
    m_s.erase(0, first == std::wstring::npos ? m_s.size() : first);
    return *this;
}

CString& CString::TrimRight(const wchar_t* chars) {
    const size_t last = m_s.find_last_not_of(Safe(chars));
    m_s.erase(last == std::wstring::npos ? 0 : last + 1);
    return *this;
}

void CString::Format(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    m_s = tam::FormatWideV(format, args);
    va_end(args);
}

void CString::AppendFormat(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    m_s += tam::FormatWideV(format, args);
    va_end(args);
}

void CString::Append(const wchar_t* text) {
    m_s += Safe(text);
}

int CString::Compare(const wchar_t* other) const {
    return m_s.compare(Safe(other));
}

int CString::CompareNoCase(const wchar_t* other) const {
    CString a(*this);
    CString b(other);
    return a.MakeLower().m_s.compare(b.MakeLower().m_s);
}

CString& CString::operator+=(const CString& other) {
    m_s += other.m_s;
    return *this;
}

CString& CString::operator+=(const wchar_t* text) {
    m_s += Safe(text);
    return *this;
}

CString& CString::operator+=(const std::wstring& text) {
    m_s += text;
    return *this;
}

CString& CString::operator+=(wchar_t ch) {
    m_s.push_back(ch);
    return *this;
}

CString operator+(const CString& a, const CString& b) {
    return CString(a.m_s + b.m_s);
}
CString operator+(const CString& a, const wchar_t* b) {
    return CString(a.m_s + Safe(b));
}
CString operator+(const wchar_t* a, const CString& b) {
    return CString(Safe(a) + b.m_s);
}
CString operator+(const CString& a, wchar_t b) {
    return CString(a.m_s + b);
}
bool operator==(const CString& a, const wchar_t* b) {
    return a.m_s == Safe(b);
}
