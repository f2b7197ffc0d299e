#include "ModelWriter.h"

#include "ShapeSplitter.h"
#include "XcafDocumentBuilder.h"

#include <BRepTools.hxx>
#include <BRep_Builder.hxx>
#include <IFSelect_ReturnStatus.hxx>
#include <STEPCAFControl_Writer.hxx>
#include <STEPControl_StepModelType.hxx>
#include <TopoDS_Compound.hxx>

#include <functional>

namespace tam {

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

namespace {

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
        default:
            return KVXIResult(KVXIResult::UnsupportedTargetType);
    }
}

}  // namespace tam
