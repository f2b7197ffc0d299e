// Reads STEP files into an XCAF document (names, colors, layers, visibility; no PMI), and what the
// IGES module's reader shares with it.
#pragma once

#include "Progress.h"
#include "TranslateOptions.h"

#include <kvxi/KVXIResult.h>

#include <TDocStd_Document.hxx>
#include <XSControl_Reader.hxx>
#include <XSControl_WorkSession.hxx>

#include <string>

namespace tam {

// A new, empty XCAF document that lives outside any application session.
Handle(TDocStd_Document) NewXcafDocument();

// Reads a STEP file into `doc` (a fresh document). Success, Warning when the parser reported
// syntax problems it skipped, or an error (ReadFailed, TransferFailed, Interrupted).
// `codePage` names the code page of 8-bit text in the file ("" for UTF-8).
KVXIResult ReadStepIntoXcaf(const std::string& path, const std::string& codePage,
                            ConversionProgress& progress, Handle(TDocStd_Document) & doc);

// Transfers a STEP file that `session` parsed (StepParser.h) into `doc`; results as for
// ReadStepIntoXcaf. `path` is the file's.
KVXIResult TransferStepIntoXcaf(const Handle(XSControl_WorkSession) & session,
                                const std::string& path, const std::string& codePage,
                                ConversionProgress& progress, Handle(TDocStd_Document) & doc);

// A reader of one file format into a fresh XCAF document; results as for STEP.
using XcafFileReader = KVXIResult (*)(const std::string& path, const TranslateOptions& options,
                                      ConversionProgress& progress, Handle(TDocStd_Document) & doc);

// True when the parser recorded failures (damaged records it skipped).
bool ParserReportedFailures(XSControl_Reader& reader);
bool DocumentHasShapes(const Handle(TDocStd_Document) & doc);

// Transfers what a reader parsed into `doc`; shared by STEP and IGES.
template <class Reader>
KVXIResult TransferInto(Reader& reader, ConversionProgress& progress,
                        Handle(TDocStd_Document) & doc, bool parserFailures) {
    if (reader.NbRootsForTransfer() <= 0)
        return KVXIResult(KVXIResult::NoEntities);
    const bool transferred = reader.Transfer(doc, progress.Start());
    if (progress.WasInterrupted())
        return KVXIResult(KVXIResult::Interrupted);
    if (!transferred || !DocumentHasShapes(doc))
        return KVXIResult(KVXIResult::TransferFailed);
    return KVXIResult(parserFailures ? KVXIResult::Warning : KVXIResult::Success);
}

}  // namespace tam
