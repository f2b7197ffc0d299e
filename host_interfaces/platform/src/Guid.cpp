// Random version-4 identifiers and their text form.
#include <platform/Guid.h>

#include <cstdio>
#include <cwchar>
#include <random>

namespace {

std::uint64_t RandomWord() {
    // One generator per thread, seeded from the system's entropy source.
    thread_local std::mt19937_64 generator([] {
        std::random_device device;
        std::seed_seq seed{device(), device(), device(), device()};
        return std::mt19937_64(seed);
    }());
    return generator();
}

int HexValue(wchar_t ch) {
    if (ch >= L'0' && ch <= L'9')
        return ch - L'0';
    if (ch >= L'a' && ch <= L'f')
        return ch - L'a' + 10;
    if (ch >= L'A' && ch <= L'F')
        return ch - L'A' + 10;
    return -1;
}

}  // namespace

namespace tam {

Guid NewGuid() {
    const std::uint64_t high = RandomWord();
    const std::uint64_t low = RandomWord();
    Guid guid;
    guid.data1 = static_cast<std::uint32_t>(high >> 32);
    guid.data2 = static_cast<std::uint16_t>(high >> 16);
    guid.data3 = static_cast<std::uint16_t>((high & 0x0FFF) | 0x4000);  // version 4
    for (int i = 0; i < 8; ++i)
        guid.data4[i] = static_cast<std::uint8_t>(low >> (8 * i));
    guid.data4[0] = static_cast<std::uint8_t>((guid.data4[0] & 0x3F) | 0x80);  // variant 1
    return guid;
}

std::wstring GuidToText(const Guid& guid, bool braces) {
    wchar_t text[40];
    std::swprintf(text, 40, L"%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                  static_cast<unsigned int>(guid.data1), guid.data2, guid.data3, guid.data4[0],
                  guid.data4[1], guid.data4[2], guid.data4[3], guid.data4[4], guid.data4[5],
                  guid.data4[6], guid.data4[7]);
    return braces ? L"{" + std::wstring(text) + L"}" : std::wstring(text);
}

bool GuidFromText(const std::wstring& text, Guid& guid) {
    std::wstring body = text;
    if (body.size() == 38 && body.front() == L'{' && body.back() == L'}') {
        body = body.substr(1, 36);
    }
    if (body.size() != 36)
        return false;
    std::uint8_t bytes[16];
    size_t pos = 0;
    for (int b = 0; b < 16; ++b) {
        if (pos == 8 || pos == 13 || pos == 18 || pos == 23) {
            if (body[pos] != L'-')
                return false;
            ++pos;
        }
        const int hi = HexValue(body[pos]);
        const int lo = HexValue(body[pos + 1]);
        if (hi < 0 || lo < 0)
            return false;
        bytes[b] = static_cast<std::uint8_t>(hi * 16 + lo);
        pos += 2;
    }
    guid.data1 = (std::uint32_t(bytes[0]) << 24) | (std::uint32_t(bytes[1]) << 16) |
                 (std::uint32_t(bytes[2]) << 8) | bytes[3];
    guid.data2 = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
    guid.data3 = static_cast<std::uint16_t>((bytes[6] << 8) | bytes[7]);
    for (int i = 0; i < 8; ++i)
        guid.data4[i] = bytes[8 + i];
    return true;
}

std::wstring NewGuidText() {
    return GuidToText(NewGuid());
}

}  // namespace tam
