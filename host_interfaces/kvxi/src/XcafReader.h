// Reads STEP and IGES files into an XCAF document (names, colors, layers, visibility; no PMI).
#pragma once

#include "Progress.h"

#include <kvxi/KVXIResult.h>

#include <TDocStd_Document.hxx>

#include <string>

namespace tam {

// A new, empty XCAF document that lives outside any application session.
Handle(TDocStd_Document) NewXcafDocument();

// Reads a STEP file into `doc` (a fresh document). Success, Warning when the parser reported
// syntax problems it skipped, or an error (ReadFailed, TransferFailed, Interrupted).
// `codePage` names the code page of 8-bit text in the file ("" for UTF-8).
KVXIResult ReadStepIntoXcaf(const std::string& path, const std::string& codePage,
                            ConversionProgress& progress, Handle(TDocStd_Document) & doc);
// Reads an IGES file into `doc` (a fresh document); results as for STEP.
KVXIResult ReadIgesIntoXcaf(const std::string& path, ConversionProgress& progress,
                            Handle(TDocStd_Document) & doc);

}  // namespace tam
