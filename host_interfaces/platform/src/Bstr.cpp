// OLE strings: the character count is stored just before the characters.
#include <platform/Bstr.h>

#include <cstdint>
#include <cstdlib>
#include <cwchar>

namespace {

std::uint32_t* Header(BSTR text) {
    return reinterpret_cast<std::uint32_t*>(text) - 1;
}

}  // namespace

BSTR SysAllocString(const wchar_t* text) {
    if (text == nullptr)
        return nullptr;
    const size_t length = std::wcslen(text);
    void* block = std::malloc(sizeof(std::uint32_t) + (length + 1) * sizeof(wchar_t));
    if (block == nullptr)
        return nullptr;
    auto* header = static_cast<std::uint32_t*>(block);
    *header = static_cast<std::uint32_t>(length);
    auto* chars = reinterpret_cast<wchar_t*>(header + 1);
    std::wmemcpy(chars, text, length + 1);
    return chars;
}

void SysFreeString(BSTR text) {
    if (text)
        std::free(Header(text));
}

unsigned int SysStringLen(BSTR text) {
    return text ? *Header(text) : 0;
}
