// The EBOM parser on a damaged assembly.xml: the input is the file as the translator would have
// written it (UTF-16 with the declaration on its own first line, or any other bytes). Each run
// also writes the part file "p.okt" the seeds refer to, since the parser deletes what it loads.
#include <tamsgdb/CTamDBRoot.h>
#include <tamsgdb/sglModelLoader.h>

#include <TamInteropCAD/TamCADLoader.h>
#include <TamInteropCAD/TamCADTools.h>
#include <TamInteropCAD/ebom_parser.h>
#include <TamInteropCAD/exports.h>

#include "fuzz_support.h"

namespace {

std::string g_part;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_part = tamfuzz::ReadFile(TAM_TEST_DATA_DIR "/orik/box_with_named_face.okt");
    sglModelLoader::SetPathFolderWork(tamfuzz::Scratch().wstring());
    sglModelLoader::registerEntitiesLoader(L"okt", [](const std::wstring& path, unsigned int) {
        return static_cast<void*>(loadEntitiesOKT(path));
    });
    CTamCADTools::InitializeImport();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tamfuzz::WriteFile("p.okt", g_part.data(), g_part.size());
    const std::wstring ebom = tamfuzz::WriteFile("assembly.xml", data, size);
    CTamCADLoader loader;
    CTamEBOMParser parser(ebom.c_str(), L"/src/asm.stp", &loader);
    delete parser.Parse();
    return 0;
}
