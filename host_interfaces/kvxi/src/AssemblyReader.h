// Reads a CAD file into an assembly that keeps its structure (the EBOM target's source side).
#pragma once

#include "AssemblyModel.h"
#include "Formats.h"
#include "Progress.h"
#include "TranslateOptions.h"

#include <kvxi/KVXIResult.h>

#include <string>

namespace tam {

// Reads a STEP, IGES or B-rep file. A B-rep file, like any document without assembly structure,
// is one part placed once. Success or a warning with a filled model, NoEntities when nothing
// is kept, or an error.
KVXIResult ReadCadAssembly(Format format, const std::string& path, const TranslateOptions& options,
                           ConversionProgress& progress, AssemblyModel& model);

}  // namespace tam
