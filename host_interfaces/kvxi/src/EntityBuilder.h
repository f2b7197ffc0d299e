// Turns the translator's model into kernel entities: one body per placed part (sharing the
// part's shape), attributes and colors on bodies and faces, free vertices, edges, wires and
// faces, and a collection per part with user-defined properties.
#pragma once

#include "CadModel.h"
#include "TranslateOptions.h"

#include <kvxi/KVXIResult.h>

#include <vector>

class ENTITY;

namespace tam {

// Appends the new top-level entities to `entities` (the caller owns them). KernelError when
// the kernel refused to make an entity (those made so far stay in `entities`).
KVXIResult BuildEntities(const CadModel& model, const TranslateOptions& options,
                         std::vector<ENTITY*>& entities);

}  // namespace tam
