// Writes the translator's model to CAD and tessellated files.
#pragma once

#include "CadModel.h"
#include "Formats.h"
#include "Progress.h"

#include <kvxi/KVXIResult.h>

#include <string>

namespace tam {

// Writes `model` to `path` (the final path; the caller handles atomic replacement) in one of
// Step (AP214 with names, colors, layers), Iges, Brep, Stl or Gltf (binary when the path ends
// in .glb). UnsupportedTargetType for other formats; WriteFailed when OCCT could not write.
KVXIResult WriteModel(Format format, const CadModel& model, const std::string& path,
                      ConversionProgress& progress);

}  // namespace tam
