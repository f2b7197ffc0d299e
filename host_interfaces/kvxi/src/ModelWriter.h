// Writes the translator's model to CAD and tessellated files.
#pragma once

#include "CadModel.h"
#include "Formats.h"
#include "Progress.h"

#include <kvxi/KVXIResult.h>

#include <TopoDS_Compound.hxx>

#include <functional>
#include <string>

namespace tam {

// Writes what a CAD writer can take of the model: mesh-only shapes are left out, and then the
// result says that some entities could not be translated (NoEntities when nothing is left).
KVXIResult WriteCad(const CadModel& model, const std::function<KVXIResult(const CadModel&)>& write);

// The model's bodies at their placements and its free shapes, as one compound.
TopoDS_Compound PlacedCompound(const CadModel& model);

// Writes `model` to `path` (the final path; the caller handles atomic replacement) in one of
// Step (AP214 with names, colors, layers) or Brep (IGES through the IGES module, STL and glTF
// through the mesh-format module). UnsupportedTargetType for other formats; WriteFailed when OCCT
// could not write.
KVXIResult WriteModel(Format format, const CadModel& model, const std::string& path,
                      ConversionProgress& progress);

}  // namespace tam
