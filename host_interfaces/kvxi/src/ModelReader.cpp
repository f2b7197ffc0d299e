#include "ModelReader.h"

#include "Guard.h"
#include "ShapeSplitter.h"
#include "XcafModelBuilder.h"
#include "XcafReader.h"

#include <BRepTools.hxx>
#include <BRep_Builder.hxx>
#include <ShapeFix_Shape.hxx>
#include <TDocStd_Document.hxx>
#include <TopoDS_Iterator.hxx>

#include <fstream>

namespace tam {
namespace {

void AddPiece(const TopoDS_Shape& piece, const TranslateOptions& options, CadModel& model) {
    const TopLoc_Location location = piece.Location();
    TopoDS_Shape base = piece.Located(TopLoc_Location());
    if (options.healing && !HasMeshOnlyFace(base)) {
        ShapeFix_Shape fixer(base);
        fixer.Perform();
        base = fixer.Shape();
    }
    SplitShape split = SplitPartShape(base, options);
    if (!split.body.IsNull()) {
        PlacedBody body;
        body.placement = (location * split.body.Location()).Transformation();
        body.shape = split.body.Located(TopLoc_Location());
        model.bodies.push_back(std::move(body));
    }
    for (auto& free : split.freeShapes) {
        model.freeShapes.push_back({free.first, free.second.Moved(location), Attributes()});
    }
}

KVXIResult ReadBrep(const std::string& path, const TranslateOptions& options,
                    ConversionProgress& progress, CadModel& model) {
    TopoDS_Shape shape;
    BRep_Builder builder;
    // OCCT's reader loops for ever on some files cut short, reading on past the end: a failed
    // read throws instead (the guard turns it into ReadFailed).
    std::ifstream file(path);
    if (!file)
        return KVXIResult(KVXIResult::FileNotFound);
    file.exceptions(std::ios::failbit | std::ios::badbit);
    BRepTools::Read(shape, file, builder, progress.Start());
    if (progress.WasInterrupted())
        return KVXIResult(KVXIResult::Interrupted);
    if (shape.IsNull())
        return KVXIResult(KVXIResult::NoEntities);
    AddShapeToModel(shape, options, model);
    return KVXIResult();
}

// Reads into a fresh XCAF document through `read` (a callable taking the document), then builds
// the model from it.
template <class Read>
KVXIResult ReadXcafWith(Read read, const TranslateOptions& options, ConversionProgress& progress,
                        CadModel& model) {
    Handle(TDocStd_Document) doc = NewXcafDocument();
    KVXIResult result = read(doc);
    if (result.IsFailure())
        return result;
    if (progress.CheckInterrupt())
        return KVXIResult(KVXIResult::Interrupted);
    BuildModelFromXcaf(doc, options, model);
    return result;
}

KVXIResult ReadXcaf(XcafFileReader read, const std::string& path, const TranslateOptions& options,
                    ConversionProgress& progress, CadModel& model) {
    return ReadXcafWith(
        [&](Handle(TDocStd_Document) & doc) { return read(path, options, progress, doc); }, options,
        progress, model);
}

// What every read adds to its result: NoEntities for an empty model, a warning when entities
// were skipped.
KVXIResult CheckedRead(KVXIResult result, const CadModel& model) {
    if (result.IsFailure())
        return result;
    if (model.IsEmpty())
        return KVXIResult(KVXIResult::NoEntities);
    if (model.entitiesSkipped)
        result &= KVXIResult(KVXIResult::WarningEntitiesSkipped);
    return result;
}

}  // namespace

void AddShapeToModel(const TopoDS_Shape& shape, const TranslateOptions& options, CadModel& model) {
    if (shape.ShapeType() != TopAbs_COMPOUND) {
        AddPiece(shape, options, model);
        return;
    }
    for (TopoDS_Iterator it(shape); it.More(); it.Next())
        AddPiece(it.Value(), options, model);
}

KVXIResult ReadStep(const std::string& path, const TranslateOptions& options,
                    ConversionProgress& progress, Handle(TDocStd_Document) & doc) {
    return ReadStepIntoXcaf(path, options.codePage, progress, doc);
}

KVXIResult ReadCadFile(Format format, const std::string& path, const TranslateOptions& options,
                       ConversionProgress& progress, CadModel& model) {
    if (format == Format::Step)
        return ReadCadFileThrough(ReadStep, path, options, progress, model);
    const KVXIResult failure(KVXIResult::ReadFailed);
    return CheckedRead(RunGuarded(failure,
                                  [&]() {
                                      if (format != Format::Brep)
                                          return KVXIResult(KVXIResult::UnsupportedSourceType);
                                      return ReadBrep(path, options, progress, model);
                                  }),
                       model);
}

KVXIResult ReadParsedStep(const Handle(XSControl_WorkSession) & session, const std::string& path,
                          const TranslateOptions& options, ConversionProgress& progress,
                          CadModel& model) {
    const KVXIResult failure(KVXIResult::ReadFailed);
    return CheckedRead(RunGuarded(failure,
                                  [&]() {
                                      return ReadXcafWith(
                                          [&](Handle(TDocStd_Document) & doc) {
                                              return TransferStepIntoXcaf(
                                                  session, path, options.codePage, progress, doc);
                                          },
                                          options, progress, model);
                                  }),
                       model);
}

KVXIResult ReadCadFileThrough(XcafFileReader read, const std::string& path,
                              const TranslateOptions& options, ConversionProgress& progress,
                              CadModel& model) {
    const KVXIResult failure(KVXIResult::ReadFailed);
    return CheckedRead(
        RunGuarded(failure, [&]() { return ReadXcaf(read, path, options, progress, model); }),
        model);
}

}  // namespace tam
