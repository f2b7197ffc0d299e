// The mesh-format module: writing STL and glTF files, with the toolkits only they need (OCCT's STL
// and mesh-format writers), loaded only when a conversion writes one of them. It builds on the
// data-exchange module for the XCAF document and the placed shapes.
#include "DataExchange.h"
#include "ModelWriter.h"
#include "XcafDocumentBuilder.h"

#include <BRepBndLib.hxx>
#include <BRepBuilderAPI_Copy.hxx>
#include <BRepMesh_IncrementalMesh.hxx>
#include <Bnd_Box.hxx>
#include <RWGltf_CafWriter.hxx>
#include <StlAPI_Writer.hxx>
#include <TColStd_IndexedDataMapOfStringString.hxx>

#include <cmath>

namespace tam {
namespace {

void ConfigureMesh() {}

void RestoreMesh() {}

KVXIResult ReadNothing(Format, const std::string&, const TranslateOptions&, ConversionProgress&,
                       CadModel&) {
    return KVXIResult(KVXIResult::UnsupportedSourceType);
}

KVXIResult ReadNoAssembly(Format, const std::string&, const TranslateOptions&, ConversionProgress&,
                          AssemblyModel&) {
    return KVXIResult(KVXIResult::UnsupportedSourceType);
}

// Meshes a copy of every part shape (the originals may be shared with kernel entities, whose
// facets must stay untouched) at a deflection that follows the model's size.
CadModel MeshedCopy(const CadModel& model) {
    Bnd_Box box;
    BRepBndLib::Add(PlacedCompound(model), box);
    const double diagonal = box.IsVoid() ? 1.0 : std::sqrt(box.SquareExtent());
    CadModel copy = model;
    for (PlacedBody& body : copy.bodies) {
        // Triangulations are copied too: mesh-only faces have nothing else.
        body.shape = BRepBuilderAPI_Copy(body.shape, Standard_False, Standard_True).Shape();
        body.faceColors.clear();
        BRepMesh_IncrementalMesh(body.shape, 0.001 * diagonal, Standard_False, 0.35);
    }
    copy.freeShapes.clear();
    return copy;
}

KVXIResult WriteStl(const CadModel& model, const std::string& path) {
    const CadModel meshed = MeshedCopy(model);
    if (meshed.bodies.empty())
        return KVXIResult(KVXIResult::NoEntities);
    StlAPI_Writer writer;
    writer.ASCIIMode() = Standard_False;
    if (!writer.Write(PlacedCompound(meshed), path.c_str())) {
        return KVXIResult(KVXIResult::WriteFailed);
    }
    return KVXIResult(KVXIResult::SuccessDataReduced);
}

KVXIResult WriteGltf(const CadModel& model, const std::string& path, ConversionProgress& progress) {
    const CadModel meshed = MeshedCopy(model);
    if (meshed.bodies.empty())
        return KVXIResult(KVXIResult::NoEntities);
    Handle(TDocStd_Document) doc = BuildXcafDocument(meshed);
    const bool binary = LowerExtension(path) == "glb";
    RWGltf_CafWriter writer(path.c_str(), binary);
    TColStd_IndexedDataMapOfStringString info;
    if (!writer.Perform(doc, info, progress.Start()))
        return KVXIResult(KVXIResult::WriteFailed);
    return KVXIResult(KVXIResult::SuccessDataReduced);
}

KVXIResult WriteMeshModel(Format format, const CadModel& model, const std::string& path,
                          ConversionProgress& progress) {
    if (model.IsEmpty())
        return KVXIResult(KVXIResult::NoEntities);
    switch (format) {
        case Format::Stl:
            return WriteStl(model, path);
        case Format::Gltf:
            return WriteGltf(model, path, progress);
        default:
            return KVXIResult(KVXIResult::UnsupportedTargetType);
    }
}

}  // namespace
}  // namespace tam

extern "C" const tam::DataExchange* tam_kvxi_mesh_exchange() {
    static const tam::DataExchange functions = {tam::ConfigureMesh,  tam::RestoreMesh,
                                                tam::ReadNothing,    tam::ReadNoAssembly,
                                                tam::WriteMeshModel, nullptr};
    return &functions;
}
