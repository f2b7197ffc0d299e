// Completes an XCAF document read from an AP242 STEP file with the tessellated geometry that
// Open CASCADE 7.6 skips (triangulated faces, tessellated shells and solids): every part whose
// shape representation holds such items gets a shape of mesh-only faces, and the colors styled
// on those items.
#pragma once

#include <StepData_StepModel.hxx>
#include <TDocStd_Document.hxx>
#include <XSControl_WorkSession.hxx>

#include <string>

namespace tam {

// Adds the tessellated parts of the session's transferred STEP model, read from the file at
// `path`, to `doc`; true when at least one part received geometry. Does nothing for models
// without tessellated records.
bool AddTessellatedParts(const Handle(XSControl_WorkSession) & session,
                         const Handle(TDocStd_Document) & doc, const std::string& path);

// True when the parser's failure report on the record numbered `index` comes from references to
// tessellated records, which the parser cannot type but AddTessellatedParts reads.
bool IsTessellatedReferenceFailure(const Handle(StepData_StepModel) & model, int index);

}  // namespace tam
