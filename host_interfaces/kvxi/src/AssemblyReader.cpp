#include "AssemblyReader.h"

#include "Guard.h"
#include "ModelReader.h"
#include "StepAssemblyReader.h"
#include "XcafAssemblyBuilder.h"
#include "XcafReader.h"

#include <BRepTools.hxx>
#include <BRep_Builder.hxx>

#include <filesystem>

namespace tam {
namespace {

std::string FileStem(const std::string& path) {
    return std::filesystem::path(path).stem().string();
}

KVXIResult ReadXcafAssembly(XcafFileReader read, const std::string& path,
                            const TranslateOptions& options, ConversionProgress& progress,
                            AssemblyModel& model) {
    Handle(TDocStd_Document) doc = NewXcafDocument();
    const KVXIResult result = read(path, options, progress, doc);
    if (result.IsFailure())
        return result;
    if (progress.CheckInterrupt())
        return KVXIResult(KVXIResult::Interrupted);
    BuildAssemblyFromXcaf(doc, options, model);
    return result;
}

KVXIResult ReadBrepPart(const std::string& path, const TranslateOptions& options,
                        ConversionProgress& progress, AssemblyModel& model) {
    TopoDS_Shape shape;
    BRep_Builder builder;
    if (!BRepTools::Read(shape, path.c_str(), builder, progress.Start())) {
        return KVXIResult(progress.WasInterrupted() ? KVXIResult::Interrupted
                                                    : KVXIResult::ReadFailed);
    }
    if (shape.IsNull())
        return KVXIResult(KVXIResult::NoEntities);
    AssemblyPart part;
    part.name = FileStem(path);
    AddShapeToModel(shape, options, part.content);
    if (part.content.IsEmpty())
        return KVXIResult(KVXIResult::NoEntities);
    AssemblyNode node;
    node.name = part.name;
    node.part = 0;
    model.parts.push_back(std::move(part));
    model.roots.push_back(std::move(node));
    return KVXIResult();
}

// What every assembly read adds to its result: NoEntities for an empty model, and the file's
// name for a model without one.
KVXIResult CheckedRead(KVXIResult result, const std::string& path, AssemblyModel& model) {
    if (result.IsFailure())
        return result;
    if (model.IsEmpty())
        return KVXIResult(KVXIResult::NoEntities);
    if (model.name.empty())
        model.name = FileStem(path);
    return result;
}

}  // namespace

KVXIResult ReadCadAssembly(Format format, const std::string& path, const TranslateOptions& options,
                           ConversionProgress& progress, AssemblyModel& model) {
    KVXIResult result = RunGuarded(KVXIResult(KVXIResult::ReadFailed), [&]() {
        switch (format) {
            case Format::Step:
                if (IsLargeStepAssembly(path))
                    return ReadLargeStepAssembly(path, options, progress, model);
                return ReadXcafAssembly(ReadStep, path, options, progress, model);
            case Format::Brep:
                return ReadBrepPart(path, options, progress, model);
            default:
                return KVXIResult(KVXIResult::UnsupportedSourceType);
        }
    });
    return CheckedRead(result, path, model);
}

KVXIResult ReadCadAssemblyThrough(XcafFileReader read, const std::string& path,
                                  const TranslateOptions& options, ConversionProgress& progress,
                                  AssemblyModel& model) {
    KVXIResult result = RunGuarded(KVXIResult(KVXIResult::ReadFailed), [&]() {
        return ReadXcafAssembly(read, path, options, progress, model);
    });
    return CheckedRead(result, path, model);
}

}  // namespace tam
