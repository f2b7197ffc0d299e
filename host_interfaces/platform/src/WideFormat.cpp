// Wide formatting with the Windows meaning of %s/%c (wide) and %S/%C (narrow).
#include <platform/WideFormat.h>

#include <cwchar>
#include <vector>

namespace {

constexpr size_t kFirstBuffer = 256;
// Beyond this many characters formatting gives up (vswprintf cannot tell "too small" from
// "unconvertible argument", so the buffer cannot grow forever).
constexpr size_t kLargestBuffer = size_t(1) << 24;

bool IsFlagOrWidth(wchar_t ch) {
    return ch == L'-' || ch == L'+' || ch == L' ' || ch == L'#' || ch == L'.' || ch == L'*' ||
           (ch >= L'0' && ch <= L'9');
}

bool IsLengthModifier(wchar_t ch) {
    return ch == L'h' || ch == L'l' || ch == L'L' || ch == L'z' || ch == L'j' || ch == L't' ||
           ch == L'q';
}

// Rewrites one conversion starting after its '%'; returns the index after it.
size_t RewriteConversion(const std::wstring& in, size_t i, std::wstring& out) {
    while (i < in.size() && IsFlagOrWidth(in[i]))
        out.push_back(in[i++]);
    std::wstring length;
    while (i < in.size()) {
        if (IsLengthModifier(in[i])) {
            length.push_back(in[i++]);
        } else if (in.compare(i, 3, L"I64") == 0) {
            length += L"ll";
            i += 3;
        } else if (in.compare(i, 3, L"I32") == 0) {
            i += 3;
        } else if (in[i] == L'I') {
            length += L"z";
            ++i;
        } else {
            break;
        }
    }
    if (i >= in.size()) {
        out += length;
        return i;
    }
    const wchar_t conversion = in[i];
    if (conversion == L's' || conversion == L'c') {
        // Windows: plain and 'l' mean wide, 'h' narrow.
        out += (length == L"h") ? L"" : L"l";
        out.push_back(conversion);
    } else if (conversion == L'S' || conversion == L'C') {
        out += (length == L"l") ? L"l" : L"";
        out.push_back(conversion == L'S' ? L's' : L'c');
    } else {
        out += length;
        out.push_back(conversion);
    }
    return i + 1;
}

}  // namespace

namespace tam {

std::wstring PortableWideFormat(const wchar_t* format) {
    std::wstring out;
    if (format == nullptr)
        return out;
    const std::wstring in(format);
    size_t i = 0;
    while (i < in.size()) {
        out.push_back(in[i]);
        if (in[i++] != L'%')
            continue;
        if (i < in.size() && in[i] == L'%') {
            out.push_back(in[i++]);
            continue;
        }
        i = RewriteConversion(in, i, out);
    }
    return out;
}

std::wstring FormatWideV(const wchar_t* format, va_list args) {
    if (format == nullptr)
        return std::wstring();
    const std::wstring portable = PortableWideFormat(format);
    for (size_t size = kFirstBuffer; size <= kLargestBuffer; size *= 2) {
        std::vector<wchar_t> buffer(size);
        va_list copy;
        va_copy(copy, args);
        const int written = std::vswprintf(buffer.data(), size, portable.c_str(), copy);
        va_end(copy);
        if (written >= 0 && static_cast<size_t>(written) < size) {
            return std::wstring(buffer.data(), static_cast<size_t>(written));
        }
    }
    return std::wstring();
}

std::wstring FormatWide(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    std::wstring text = FormatWideV(format, args);
    va_end(args);
    return text;
}

}  // namespace tam
