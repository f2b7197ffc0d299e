// Writes the translator's model to CAD and tessellated files.
#pragma once

#include "CadModel.h"
#include "Formats.h"
#include "Progress.h"

#include <kvxi/KVXIResult.h>

#include <functional>
#include <string>

namespace tam {

// Writes what a CAD writer can take of the model: mesh-only shapes are left out, and then the
// result says that some entities could not be translated (NoEntities when nothing is left).
KVXIResult WriteCad(const CadModel& model, const std::function<KVXIResult(const CadModel&)>& write);

// Writes `model` to `path` (the final path; the caller handles atomic replacement) in one of
// Step (AP214 with names, colors, layers), Brep, Stl or Gltf (IGES through the IGES module) (binary
// when the path ends in .glb). UnsupportedTargetType for other formats; WriteFailed when OCCT could
// not write.
KVXIResult WriteModel(Format format, const CadModel& model, const std::string& path,
                      ConversionProgress& progress);

}  // namespace tam
