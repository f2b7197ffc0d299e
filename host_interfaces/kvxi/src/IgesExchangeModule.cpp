// The IGES module: reading and writing IGES files, with the toolkits they need (IGES, its XCAF
// bridge and the booleans they pull in), loaded only when a conversion reads or writes IGES.
// It builds on the data-exchange module for everything the formats share.
#include "AssemblyReader.h"
#include "DataExchange.h"
#include "ExchangeSettings.h"
#include "IgesStructureCheck.h"
#include "ModelReader.h"
#include "ModelWriter.h"
#include "XcafDocumentBuilder.h"
#include "XcafReader.h"

#include <IFSelect_ReturnStatus.hxx>
#include <IGESCAFControl_Reader.hxx>
#include <IGESCAFControl_Writer.hxx>
#include <IGESControl_Controller.hxx>
#include <XSControl_WorkSession.hxx>

namespace tam {
namespace {

SavedStatics g_saved;

void ConfigureIges() {
    IGESControl_Controller::Init();
    g_saved.Apply({{"write.iges.brep.mode", nullptr, 1}, {"write.iges.unit", "MM", 0}});
}

void RestoreIges() {
    g_saved.Restore();
}

KVXIResult ReadIgesIntoXcaf(const std::string& path, const TranslateOptions&,
                            ConversionProgress& progress, Handle(TDocStd_Document) & doc) {
    IGESCAFControl_Reader reader;
    reader.SetColorMode(Standard_True);
    reader.SetNameMode(Standard_True);
    reader.SetLayerMode(Standard_True);
    reader.SetReadVisible(Standard_False);
    if (reader.ReadFile(path.c_str()) != IFSelect_RetDone) {
        return KVXIResult(KVXIResult::ReadFailed);
    }
    if (progress.CheckInterrupt())
        return KVXIResult(KVXIResult::Interrupted);
    const std::string structureProblem = CheckIgesStructure(reader.WS()->Graph());
    if (!structureProblem.empty())
        return KVXIResult(KVXIResult::ReadFailed, structureProblem);
    const bool failures = ParserReportedFailures(reader);
    return TransferInto(reader, progress, doc, failures);
}

KVXIResult ReadIgesFile(Format format, const std::string& path, const TranslateOptions& options,
                        ConversionProgress& progress, CadModel& model) {
    if (format != Format::Iges)
        return KVXIResult(KVXIResult::UnsupportedSourceType);
    return ReadCadFileThrough(ReadIgesIntoXcaf, path, options, progress, model);
}

KVXIResult ReadIgesAssembly(Format format, const std::string& path, const TranslateOptions& options,
                            ConversionProgress& progress, AssemblyModel& model) {
    if (format != Format::Iges)
        return KVXIResult(KVXIResult::UnsupportedSourceType);
    return ReadCadAssemblyThrough(ReadIgesIntoXcaf, path, options, progress, model);
}

KVXIResult WriteIges(const CadModel& model, const std::string& path, ConversionProgress& progress) {
    Handle(TDocStd_Document) doc = BuildXcafDocument(model, true);
    IGESCAFControl_Writer writer;
    writer.SetColorMode(Standard_True);
    writer.SetNameMode(Standard_True);
    writer.SetLayerMode(Standard_True);
    if (!writer.Perform(doc, path.c_str(), progress.Start())) {
        return KVXIResult(progress.WasInterrupted() ? KVXIResult::Interrupted
                                                    : KVXIResult::WriteFailed);
    }
    return KVXIResult();
}

KVXIResult WriteIgesModel(Format format, const CadModel& model, const std::string& path,
                          ConversionProgress& progress) {
    if (format != Format::Iges)
        return KVXIResult(KVXIResult::UnsupportedTargetType);
    return WriteCad(model, [&](const CadModel& kept) { return WriteIges(kept, path, progress); });
}

}  // namespace
}  // namespace tam

extern "C" const tam::DataExchange* tam_kvxi_iges_exchange() {
    static const tam::DataExchange functions = {tam::ConfigureIges,  tam::RestoreIges,
                                                tam::ReadIgesFile,   tam::ReadIgesAssembly,
                                                tam::WriteIgesModel, nullptr};
    return &functions;
}
