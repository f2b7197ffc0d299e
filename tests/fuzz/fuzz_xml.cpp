// The XML layer in every encoding it reads. The first input byte picks how the rest is handed
// over: as it is, after a UTF-8 byte-order mark, or each byte widened to a UTF-16 code unit in
// either byte order, with or without mark. What loads must read back from its own text.
#include <tamtools/CTamXmlParserDocu.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void AppendUnit(std::string& bytes, unsigned unit, bool bigEndian) {
    const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
}

// UTF-16 of wide text (code points above U+FFFF as surrogate pairs).
std::string Utf16(const std::wstring& text, bool bigEndian) {
    std::string bytes;
    for (wchar_t c : text) {
        const auto point = static_cast<std::uint32_t>(c);
        if (point < 0x10000) {
            AppendUnit(bytes, point, bigEndian);
        } else {
            AppendUnit(bytes, 0xD800 + ((point - 0x10000) >> 10), bigEndian);
            AppendUnit(bytes, 0xDC00 + ((point - 0x10000) & 0x3FF), bigEndian);
        }
    }
    return bytes;
}

std::string Encode(unsigned mode, const std::uint8_t* data, std::size_t size) {
    if (mode < 2)
        return (mode == 1 ? "\xEF\xBB\xBF" : "") +
               std::string(reinterpret_cast<const char*>(data), size);
    const bool bigEndian = mode >= 4;
    const std::wstring widened(data, data + size);
    return Utf16((mode % 2 == 0 ? L"\xFEFF" : L"") + widened, bigEndian);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string bytes = Encode(data[0] % 6, data + 1, size - 1);
    CTamXmlParserDocu document;
    if (!document.loadFromMemory(bytes.data(), bytes.size()))
        return 0;
    const std::wstring text = document.toString();
    const std::string again = Utf16(text, false);
    CTamXmlParserDocu reread;
    if (!reread.loadFromMemory(again.data(), again.size()) || reread.toString() != text)
        std::abort();
    return 0;
}
