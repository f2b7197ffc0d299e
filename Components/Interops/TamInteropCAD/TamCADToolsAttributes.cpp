// Reading named attributes and colours from kernel entities, and colours written as hex text.
#include "TamCADTools.h"

#include <orik/orik.h>

#include <platform/CodePage.h>
#include <platform/WideFormat.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <string>

namespace {

// Callers hand in zero-filled buffers of this many characters; longer texts are cut to fit.
constexpr size_t kTextCapacity = 512;

std::wstring FormatTriple(double x, double y, double z) {
    return tam::FormatWide(L"%g %g %g", x, y, z);
}

// The text of an attribute's value by its exact kind; false for kinds without a value.
bool AttributeText(const ATTRIB_GEN_NAME& attrib, std::wstring& text) {
    switch (attrib.identity()) {
        case ATTRIB_GEN_ENTITY_TYPE: {
            // An entity is identified by its handle: the low 32 bits of its address.
            const auto address = reinterpret_cast<std::uintptr_t>(
                static_cast<const ATTRIB_GEN_ENTITY&>(attrib).value());
            text = tam::FormatWide(L"%x", static_cast<unsigned int>(address & 0xffffffffu));
            return true;
        }
        case ATTRIB_GEN_INTEGER_TYPE:
            text = tam::FormatWide(L"%d", static_cast<const ATTRIB_GEN_INTEGER&>(attrib).value());
            return true;
        case ATTRIB_GEN_POSITION_TYPE: {
            const SPAposition& p = static_cast<const ATTRIB_GEN_POSITION&>(attrib).value();
            text = FormatTriple(p.x(), p.y(), p.z());
            return true;
        }
        case ATTRIB_GEN_REAL_TYPE:
            text = tam::FormatWide(L"%g", static_cast<const ATTRIB_GEN_REAL&>(attrib).value());
            return true;
        case ATTRIB_GEN_WSTRING_TYPE:
            text = static_cast<const ATTRIB_GEN_WSTRING&>(attrib).value();
            return true;
        case ATTRIB_GEN_STRING_TYPE:
            // A text that cannot be widened gives the empty text.
            tam::NarrowToWide(static_cast<const ATTRIB_GEN_STRING&>(attrib).value(), text);
            return true;
        case ATTRIB_GEN_VECTOR_TYPE: {
            const SPAvector& v = static_cast<const ATTRIB_GEN_VECTOR&>(attrib).value();
            text = FormatTriple(v.x(), v.y(), v.z());
            return true;
        }
        default:  // the plain name and unknown kinds carry no value
            return false;
    }
}

// Reads the hexadecimal digits at the start of the given characters; 0 when they start with
// none. Signs and blanks are no digits (a C "%x" conversion would read "-1" as -1), so that
// two characters never give more than 255.
int ReadHex(const CString& digits) {
    int value = 0;
    for (int i = 0; i < digits.GetLength(); ++i) {
        const wchar_t c = digits[i];
        const int digit = c >= L'0' && c <= L'9'   ? c - L'0'
                          : c >= L'a' && c <= L'f' ? c - L'a' + 10
                          : c >= L'A' && c <= L'F' ? c - L'A' + 10
                                                   : -1;
        if (digit < 0)
            break;
        value = value * 16 + digit;
    }
    return value;
}

}  // namespace

bool CTamCADTools::Extract_named_attrib_from_entity(ENTITY* entity, const char* name,
                                                    wchar_t* text) {
    if (entity == nullptr || name == nullptr || text == nullptr)
        return false;
    ATTRIB_GEN_NAME* attrib = nullptr;
    api_find_named_attribute(entity, name, attrib).ignore();
    std::wstring value;
    if (attrib == nullptr || !AttributeText(*attrib, value))
        return false;
    const size_t length = std::min(value.size(), kTextCapacity - 1);
    std::wmemcpy(text, value.c_str(), length);
    text[length] = L'\0';
    return true;
}

void CTamCADTools::Extract_color_from_entity(ENTITY* entity, double rgb[3]) {
    rgb_color color(0.0, 0.0, 0.0);
    logical found = FALSE;
    api_rh_get_entity_rgb(entity, color, TRUE, found).ignore();
    rgb[0] = color.red();
    rgb[1] = color.green();
    rgb[2] = color.blue();
}

bool CTamCADTools::LoadColor(CString text, int& red, int& green, int& blue) {
    const int hash = text.Find(L'#');
    if (hash < 0)
        return false;
    const CString digits = text.Mid(hash + 1);
    if (digits.GetLength() == 6) {
        red = ReadHex(digits.Mid(0, 2));
        green = ReadHex(digits.Mid(2, 2));
        blue = ReadHex(digits.Mid(4, 2));
        return true;
    }
    if (digits.GetLength() == 3) {
        // One digit per component, worth 17 times its value so that F gives 255.
        red = ReadHex(digits.Mid(0, 1)) * 17;
        green = ReadHex(digits.Mid(1, 1)) * 17;
        blue = ReadHex(digits.Mid(2, 1)) * 17;
        return true;
    }
    return false;
}
