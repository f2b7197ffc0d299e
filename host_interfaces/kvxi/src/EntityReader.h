// Reads kernel entities back into the translator's model, so that they can be written to a
// CAD file: bodies with their transforms, names, layers, visibility and colors (body and
// faces), and free faces, edges, wires and vertices. Collections are not written.
#pragma once

#include "CadModel.h"

#include <kvxi/KVXIResult.h>

#include <vector>

class ENTITY;

namespace tam {

// NoEntities when no entity has geometry; WarningEntitiesSkipped when some were left out.
KVXIResult ReadEntities(const std::vector<ENTITY*>& entities, CadModel& model);

}  // namespace tam
