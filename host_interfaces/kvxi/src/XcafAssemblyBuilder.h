// Turns an XCAF document into an assembly that keeps its structure: one part per referred
// shape label, one instance per component, placements relative to the enclosing instance.
#pragma once

#include "AssemblyModel.h"
#include "TranslateOptions.h"

#include <TDocStd_Document.hxx>

namespace tam {

// Fills `model` (empty on entry). Hidden instances are left out unless the options keep them;
// parts with nothing the options keep, and sub-assemblies left without instances, are dropped.
void BuildAssemblyFromXcaf(const Handle(TDocStd_Document) & doc, const TranslateOptions& options,
                           AssemblyModel& model);

}  // namespace tam
