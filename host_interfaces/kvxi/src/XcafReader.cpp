#include "XcafReader.h"

#include "CodePageSetting.h"
#include "StepParser.h"
#include "StepStructureCheck.h"
#include "TessellatedParts.h"

#include <IFSelect_ReturnStatus.hxx>
#include <Interface_Check.hxx>
#include <Interface_InterfaceModel.hxx>
#include <Interface_Static.hxx>
#include <STEPCAFControl_Reader.hxx>
#include <StepData_StepModel.hxx>
#include <XCAFDoc_DocumentTool.hxx>
#include <XCAFDoc_ShapeTool.hxx>
#include <XSControl_Reader.hxx>
#include <XSControl_WorkSession.hxx>

namespace tam {

// Reads the parser's own reports only: the work session's check list would also run every
// entity's semantic check, which costs a few percent of the whole read. References to
// tessellated records are no damage: the parser cannot type them, AddTessellatedParts reads them.
bool ParserReportedFailures(XSControl_Reader& reader) {
    const Handle(Interface_InterfaceModel) model = reader.Model();
    if (model.IsNull())
        return false;
    if (model->GlobalCheck(Standard_True)->HasFailed())
        return true;
    const Handle(StepData_StepModel) stepModel = Handle(StepData_StepModel)::DownCast(model);
    for (Standard_Integer i = 1; i <= model->NbEntities(); ++i) {
        if (model->IsErrorEntity(i) &&
            (stepModel.IsNull() || !IsTessellatedReferenceFailure(stepModel, i)))
            return true;
    }
    return false;
}

bool DocumentHasShapes(const Handle(TDocStd_Document) & doc) {
    TDF_LabelSequence roots;
    XCAFDoc_DocumentTool::ShapeTool(doc->Main())->GetFreeShapes(roots);
    return roots.Length() > 0;
}

Handle(TDocStd_Document) NewXcafDocument() {
    Handle(TDocStd_Document) doc = new TDocStd_Document("BinXCAF");
    XCAFDoc_DocumentTool::Set(doc->Main(), Standard_False);
    return doc;
}

KVXIResult ReadStepIntoXcaf(const std::string& path, const std::string& codePage,
                            ConversionProgress& progress, Handle(TDocStd_Document) & doc) {
    Handle(XSControl_WorkSession) session;
    const KVXIResult parsed = tam_kvxi_step_parser()->parse(path, codePage, session);
    if (parsed.IsFailure())
        return parsed;
    return TransferStepIntoXcaf(session, path, codePage, progress, doc);
}

KVXIResult TransferStepIntoXcaf(const Handle(XSControl_WorkSession) & session,
                                const std::string& path, const std::string& codePage,
                                ConversionProgress& progress, Handle(TDocStd_Document) & doc) {
    const CodePageSetting setting(codePage);
    STEPCAFControl_Reader reader(session, Standard_False);
    reader.SetColorMode(Standard_True);
    reader.SetNameMode(Standard_True);
    reader.SetLayerMode(Standard_True);
    reader.SetSHUOMode(Standard_True);
    reader.SetPropsMode(Standard_False);
    reader.SetGDTMode(Standard_False);
    reader.SetMatMode(Standard_False);
    reader.SetViewMode(Standard_False);
    if (progress.CheckInterrupt())
        return KVXIResult(KVXIResult::Interrupted);
    const std::string structureProblem =
        CheckProductStructure(Handle(StepData_StepModel)::DownCast(reader.ChangeReader().Model()));
    if (!structureProblem.empty())
        return KVXIResult(KVXIResult::ReadFailed, structureProblem);
    const bool failures = ParserReportedFailures(reader.ChangeReader());
    const KVXIResult result = TransferInto(reader, progress, doc, failures);
    if (!result.IsFailure())
        AddTessellatedParts(reader.ChangeReader().WS(), doc, path);
    return result;
}

}  // namespace tam
