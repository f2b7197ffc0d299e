// The number and color parsers: the library's decimal reader (under a point and a comma locale,
// picked by the first input byte), its "#rrggbb" reader, whose channels must lie in 0..255, and
// the host's "r g b a" color text, which must read back from its own text.
#include <platform/WideNumbers.h>
#include <tamtools/CTamColor.h>

#include <TamInteropCAD/TamCADTools.h>
#include <TamInteropCAD/io_tools.h>

#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    std::setlocale(LC_NUMERIC, data[0] % 2 == 0 ? "C" : "de_DE.UTF-8");
    const std::wstring text(data + 1, data + size);
    CTamIOTools::TamAtof(text);
    _wtof(text.c_str());
    _wtol(text.c_str());
    int rgb[3] = {};
    if (CTamCADTools::LoadColor(CString(text), rgb[0], rgb[1], rgb[2])) {
        for (int channel : rgb)
            if (channel < 0 || channel > 255)
                std::abort();
    }
    CTamColor color, again;
    if (color.FromText(text) && (!again.FromText(color.ToText()) || again != color))
        std::abort();
    return 0;
}
