// _wtof and _wtol over the C library's wide conversions.
#include <platform/WideNumbers.h>

#include <cwchar>

double _wtof(const wchar_t* text) {
    return text ? std::wcstod(text, nullptr) : 0.0;
}

long _wtol(const wchar_t* text) {
    return text ? std::wcstol(text, nullptr, 10) : 0L;
}
