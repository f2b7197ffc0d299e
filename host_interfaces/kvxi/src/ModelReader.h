// Reads a CAD file of a known format into the translator's model.
#pragma once

#include "CadModel.h"
#include "Formats.h"
#include "Progress.h"
#include "TranslateOptions.h"
#include "XcafReader.h"

#include <kvxi/KVXIResult.h>

#include <string>

namespace tam {

// Reads a STEP or B-rep file (IGES files go through the IGES module). Success or
// Warning/WarningEntitiesSkipped with a filled model, NoEntities when the file holds nothing that
// the options keep, or an error.
KVXIResult ReadCadFile(Format format, const std::string& path, const TranslateOptions& options,
                       ConversionProgress& progress, CadModel& model);

// Reads a file through `read` (the IGES module's reader, or the STEP reader) with the same
// results as ReadCadFile.
KVXIResult ReadCadFileThrough(XcafFileReader read, const std::string& path,
                              const TranslateOptions& options, ConversionProgress& progress,
                              CadModel& model);

// Reads a STEP file that `session` parsed (StepParser.h); results as ReadCadFile.
KVXIResult ReadParsedStep(const Handle(XSControl_WorkSession) & session, const std::string& path,
                          const TranslateOptions& options, ConversionProgress& progress,
                          CadModel& model);

// The STEP reader in the form XcafFileReader takes.
KVXIResult ReadStep(const std::string& path, const TranslateOptions& options,
                    ConversionProgress& progress, Handle(TDocStd_Document) & doc);

// Adds the shapes of a B-rep file (or any shape): a compound's children become separate bodies.
void AddShapeToModel(const TopoDS_Shape& shape, const TranslateOptions& options, CadModel& model);

}  // namespace tam
