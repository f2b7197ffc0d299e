// Random and name-based identifiers of CTamIO.
#include <tamfoundations/CTamIO.h>

#include <platform/Guid.h>

#include <cstdint>
#include <string>

namespace {

constexpr std::uint64_t kFnvPrime = 0x100000001B3ULL;

void HashValue(std::uint64_t& hash, std::uint32_t value) {
    for (int byte = 0; byte < 4; ++byte) {
        hash ^= (value >> (8 * byte)) & 0xFF;
        hash *= kFnvPrime;
    }
}

// SplitMix64's finaliser: spreads every input bit over the whole word.
std::uint64_t Mix(std::uint64_t value) {
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ULL;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBULL;
    return value ^ (value >> 31);
}

// 128 bits from two FNV-1a passes with different offsets over (type, name, occurrence).
tam::Guid NameGuid(const std::wstring& name, int type, unsigned int occurrence) {
    std::uint64_t halves[2] = {0xCBF29CE484222325ULL, 0x84222325CBF29CE4ULL};
    for (std::uint64_t& hash : halves) {
        HashValue(hash, static_cast<std::uint32_t>(type));
        HashValue(hash, static_cast<std::uint32_t>(name.size()));
        for (wchar_t c : name) {
            HashValue(hash, static_cast<std::uint32_t>(c));
        }
        HashValue(hash, occurrence);
        hash = Mix(hash);
    }
    tam::Guid guid;
    guid.data1 = static_cast<std::uint32_t>(halves[0] >> 32);
    guid.data2 = static_cast<std::uint16_t>(halves[0] >> 16);
    // Version 8 (custom layout) and the RFC 4122 variant, as in name-based identifiers.
    guid.data3 = static_cast<std::uint16_t>((halves[0] & 0x0FFF) | 0x8000);
    for (int i = 0; i < 8; ++i) {
        guid.data4[i] = static_cast<std::uint8_t>(halves[1] >> (8 * (7 - i)));
    }
    guid.data4[0] = static_cast<std::uint8_t>((guid.data4[0] & 0x3F) | 0x80);
    return guid;
}

CString FormatGuid(const tam::Guid& guid, int format) {
    std::wstring text =
        tam::GuidToText(guid, format != TAM_GUID_DIGITS && format != TAM_GUID_HYPHENS);
    if (format == TAM_GUID_DIGITS) {
        std::wstring digits;
        for (wchar_t c : text) {
            if (c != L'-') {
                digits.push_back(c);
            }
        }
        text.swap(digits);
    }
    return CString(text);
}

}  // namespace

CString CTamIO::CreateGuid(int format) {
    return FormatGuid(tam::NewGuid(), format);
}

CString CTamIO::CreateGuid(const CString& name, std::map<CString, unsigned int>& mapIdent, int type,
                           int index) {
    unsigned int occurrence = 0;
    if (index >= 0) {
        occurrence = static_cast<unsigned int>(index);
    } else {
        occurrence = mapIdent[name]++;
    }
    return FormatGuid(NameGuid(name.str(), type, occurrence), TAM_GUID_BRACES);
}
