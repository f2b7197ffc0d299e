#include "ModelWriter.h"

#include "ShapeSplitter.h"
#include "XcafDocumentBuilder.h"

#include <BRepBndLib.hxx>
#include <BRepBuilderAPI_Copy.hxx>
#include <BRepMesh_IncrementalMesh.hxx>
#include <BRepTools.hxx>
#include <BRep_Builder.hxx>
#include <Bnd_Box.hxx>
#include <IFSelect_ReturnStatus.hxx>
#include <RWGltf_CafWriter.hxx>
#include <STEPCAFControl_Writer.hxx>
#include <STEPControl_StepModelType.hxx>
#include <StlAPI_Writer.hxx>
#include <TColStd_IndexedDataMapOfStringString.hxx>
#include <TopoDS_Compound.hxx>

#include <functional>

namespace tam {
namespace {

TopoDS_Compound PlacedCompound(const CadModel& model) {
    BRep_Builder builder;
    TopoDS_Compound compound;
    builder.MakeCompound(compound);
    for (const PlacedBody& body : model.bodies) {
        builder.Add(compound, body.shape.Moved(TopLoc_Location(body.placement)));
    }
    for (const FreeShape& free : model.freeShapes)
        builder.Add(compound, free.shape);
    return compound;
}

// The model without the bodies and free faces made of mesh-only faces, which the STEP and IGES
// writers of Open CASCADE 7.6 cannot write; `dropped` tells whether there were any.
CadModel WithoutMeshOnlyShapes(const CadModel& model, bool& dropped) {
    CadModel kept;
    for (const PlacedBody& body : model.bodies) {
        if (!HasMeshOnlyFace(body.shape))
            kept.bodies.push_back(body);
    }
    for (const FreeShape& free : model.freeShapes) {
        if (!HasMeshOnlyFace(free.shape))
            kept.freeShapes.push_back(free);
    }
    dropped = kept.bodies.size() != model.bodies.size() ||
              kept.freeShapes.size() != model.freeShapes.size();
    return kept;
}

}  // namespace

KVXIResult WriteCad(const CadModel& model,
                    const std::function<KVXIResult(const CadModel&)>& write) {
    bool dropped = false;
    const CadModel kept = WithoutMeshOnlyShapes(model, dropped);
    if (kept.IsEmpty())
        return KVXIResult(KVXIResult::NoEntities);
    KVXIResult result = write(kept);
    if (dropped)
        result &= KVXIResult(KVXIResult::WarningEntitiesSkipped);
    return result;
}

namespace {

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

KVXIResult WriteStep(const CadModel& model, const std::string& path, ConversionProgress& progress) {
    Handle(TDocStd_Document) doc = BuildXcafDocument(model);
    STEPCAFControl_Writer writer;
    writer.SetColorMode(Standard_True);
    writer.SetNameMode(Standard_True);
    writer.SetLayerMode(Standard_True);
    if (!writer.Transfer(doc, STEPControl_AsIs, nullptr, progress.Start())) {
        return KVXIResult(progress.WasInterrupted() ? KVXIResult::Interrupted
                                                    : KVXIResult::WriteFailed);
    }
    return writer.Write(path.c_str()) == IFSelect_RetDone ? KVXIResult()
                                                          : KVXIResult(KVXIResult::WriteFailed);
}

KVXIResult WriteBrep(const CadModel& model, const std::string& path, ConversionProgress& progress) {
    if (!BRepTools::Write(PlacedCompound(model), path.c_str(), progress.Start())) {
        return KVXIResult(KVXIResult::WriteFailed);
    }
    return KVXIResult(KVXIResult::SuccessDataReduced);
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

}  // namespace

KVXIResult WriteModel(Format format, const CadModel& model, const std::string& path,
                      ConversionProgress& progress) {
    if (model.IsEmpty())
        return KVXIResult(KVXIResult::NoEntities);
    switch (format) {
        case Format::Step:
            return WriteCad(model,
                            [&](const CadModel& kept) { return WriteStep(kept, path, progress); });
        case Format::Brep:
            return WriteBrep(model, path, progress);
        case Format::Stl:
            return WriteStl(model, path);
        case Format::Gltf:
            return WriteGltf(model, path, progress);
        default:
            return KVXIResult(KVXIResult::UnsupportedTargetType);
    }
}

}  // namespace tam
