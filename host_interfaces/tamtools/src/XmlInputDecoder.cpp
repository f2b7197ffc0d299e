#include "XmlInputDecoder.h"

#include "TamTextCodec.h"

namespace {

enum class InputEncoding { Utf8, Utf16LE, Utf16BE };

// Byte-order mark first; without one, an XML text starts with '<' or blank space, both ASCII,
// so the position of the zero byte of the first UTF-16 code unit gives the byte order.
InputEncoding DetectEncoding(const unsigned char* data, std::size_t size, std::size_t& skip) {
    skip = 0;
    if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) {
        skip = 3;
        return InputEncoding::Utf8;
    }
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        skip = 2;
        return InputEncoding::Utf16LE;
    }
    if (size >= 2 && data[0] == 0xFE && data[1] == 0xFF) {
        skip = 2;
        return InputEncoding::Utf16BE;
    }
    if (size >= 2 && data[0] != 0 && data[1] == 0) {
        return InputEncoding::Utf16LE;
    }
    if (size >= 2 && data[0] == 0 && data[1] != 0) {
        return InputEncoding::Utf16BE;
    }
    return InputEncoding::Utf8;
}

}  // namespace

bool TamXmlBytesToUtf8(const unsigned char* data, std::size_t size, std::string& utf8,
                       std::wstring& error) {
    utf8.clear();
    if (data == nullptr || size == 0) {
        error = L"empty XML input";
        return false;
    }
    std::size_t skip = 0;
    const InputEncoding encoding = DetectEncoding(data, size, skip);
    const unsigned char* text = data + skip;
    const std::size_t length = size - skip;
    if (encoding == InputEncoding::Utf8) {
        if (!TamIsValidUtf8(reinterpret_cast<const char*>(text), length)) {
            error = L"invalid UTF-8 in XML input";
            return false;
        }
        utf8.assign(reinterpret_cast<const char*>(text), length);
        return true;
    }
    if (!TamDecodeUtf16ToUtf8(text, length, encoding == InputEncoding::Utf16BE, utf8)) {
        error = L"invalid UTF-16 in XML input";
        return false;
    }
    return true;
}
