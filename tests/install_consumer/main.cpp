// Uses the installed library from outside: its headers, its exported classes, its package.
#include <TamInteropCAD/TamCADTools.h>
#include <TamInteropCAD/io_tools.h>

#include <cstdio>
#include <string>

int main() {
    const std::wstring name = CTamIOTools::GetFileName(L"C:\\models\\sub/part.stp");
    if (name != L"part.stp") {
        std::fprintf(stderr, "GetFileName gave \"%ls\", expected \"part.stp\"\n", name.c_str());
        return 1;
    }
    int red = 0, green = 0, blue = 0;
    if (!CTamCADTools::LoadColor(CString(L"#ff8000"), red, green, blue) || red != 255 ||
        green != 128 || blue != 0) {
        std::fprintf(stderr, "LoadColor did not read #ff8000\n");
        return 1;
    }
    std::printf("installed TamInteropCAD works: %ls\n", name.c_str());
    return 0;
}
