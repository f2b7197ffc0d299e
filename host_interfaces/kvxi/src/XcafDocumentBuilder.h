// Builds an XCAF document from the translator's model, for the STEP, IGES and glTF writers:
// one part per distinct shape, one component per placed body (name, color, layer and
// visibility on the component), face colors on the part, free geometry as top-level shapes.
#pragma once

#include "CadModel.h"

#include <TDocStd_Document.hxx>

namespace tam {

Handle(TDocStd_Document) BuildXcafDocument(const CadModel& model);

}  // namespace tam
