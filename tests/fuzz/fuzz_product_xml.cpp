// The product XML reader on a damaged file "in.rvdxml". The scratch folder also holds a good
// geometry side file "side.rvdGeom" (entry {G}) for the inputs that refer to one; references
// to other product XML files (IsInstanceOf) may name the input itself.
#include <tamfoundations/CTamProductXmlReader.h>
#include <tamsg/sglGroup.h>

#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::string side =
        "<RvdGeometry Version=\"1\"><Geometry Ident=\"{G}\"><Geode Name=\"F\">"
        "<Drawable Kind=\"TriangleStrips\" Prims=\"1\" Level=\"0\">"
        "<Coords Count=\"4\" Components=\"3\">0 0 0 0 0 1 0 1 0 0 1 1</Coords>"
        "<Indices Count=\"4\">2 0 3 1</Indices><PrimLengths Count=\"1\">4</PrimLengths>"
        "</Drawable></Geode></Geometry></RvdGeometry>";
    tamfuzz::WriteFile("side.rvdGeom", side.data(), side.size());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CTamProductXmlReader reader;
    sglGroup* root = reader.Read(tamfuzz::WriteFile("in.rvdxml", data, size));
    if (root != nullptr) {
        root->ref();
        root->unref();
    }
    return 0;
}
