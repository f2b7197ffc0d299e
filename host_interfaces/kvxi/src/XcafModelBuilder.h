// Turns an XCAF document into the translator's model: one placed body per leaf instance
// (assemblies flattened, world placements), names, layers, visibility, colors on bodies and
// faces, user properties, and free geometry.
#pragma once

#include "CadModel.h"
#include "TranslateOptions.h"

#include <TDocStd_Document.hxx>

namespace tam {

void BuildModelFromXcaf(const Handle(TDocStd_Document) & doc, const TranslateOptions& options,
                        CadModel& model);

// UTF-8 text of an OCCT extended string.
std::string ToUtf8(const class TCollection_ExtendedString& text);

}  // namespace tam
