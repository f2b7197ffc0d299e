// Reads a CAD file into an assembly that keeps its structure (the EBOM target's source side).
#pragma once

#include "AssemblyModel.h"
#include "Formats.h"
#include "Progress.h"
#include "TranslateOptions.h"
#include "XcafReader.h"

#include <kvxi/KVXIResult.h>

#include <string>

namespace tam {

// Reads a STEP or B-rep file (IGES files go through the IGES module). A B-rep file, like any
// document without assembly structure, is one part placed once. Success or a warning with a filled
// model, NoEntities when nothing is kept, or an error.
KVXIResult ReadCadAssembly(Format format, const std::string& path, const TranslateOptions& options,
                           ConversionProgress& progress, AssemblyModel& model);

// Reads a file through `read` (the IGES module's reader) with the same results as ReadCadAssembly.
KVXIResult ReadCadAssemblyThrough(XcafFileReader read, const std::string& path,
                                  const TranslateOptions& options, ConversionProgress& progress,
                                  AssemblyModel& model);

}  // namespace tam
