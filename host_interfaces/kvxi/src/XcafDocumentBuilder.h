// Builds an XCAF document from the translator's model, for the STEP, IGES and glTF writers:
// one part per distinct shape, one component per placed body (name, color, layer and
// visibility on the component), face colors on the part, free geometry as top-level shapes.
// With `flat`, every body becomes a top-level shape placed in the world instead (IGES keeps
// no instances, and its groups would merge the bodies on reading).
#pragma once

#include "CadModel.h"

#include <TDocStd_Document.hxx>

namespace tam {

Handle(TDocStd_Document) BuildXcafDocument(const CadModel& model, bool flat = false);

}  // namespace tam
