// Conversion between kernel entities and the plain data of a kernel file.
#pragma once

#include "KernelDocument.h"

#include <orik/ENTITY_LIST.h>

#include <gp_Trsf.hxx>

namespace orik {
namespace files {

// The document for a list: its entities' top-level entities (each once, in the order first met),
// the entities their collections own, and their geometry. References to entities outside that
// set (not owned collection members, entity attributes) are saved as naming no entity.
// With meshes, every shape whose faces all hold the one mesh of the shape's tolerances keeps its
// triangulations, recorded with those tolerances.
KernelDocument documentOf(const ENTITY_LIST& list, bool withMeshes = false);

// How deep collections may own collections (a collection owned by none is level 1).
constexpr int kMaxCollectionNesting = 1000;

// Makes the document's entities and appends the saved list to out. Throws
// orik_exception(ORIK_FILE_DAMAGED) for a document that does not hold together, or
// ORIK_FILE_NESTING for collections that own themselves in the end or nest deeper than
// kMaxCollectionNesting, before making anything; anything made is deleted again if a later step
// fails, so out gains all or nothing. The document's meshes become the faceter's meshes of their
// shapes at their tolerances.
void makeEntities(const KernelDocument& document, ENTITY_LIST& out);

// Exact fields of a transform and back; toTransform throws ORIK_FILE_DAMAGED for fields no
// transform has (non-finite numbers, unknown form, zero scale).
TransformRecord transformRecordOf(const gp_Trsf& transform);
gp_Trsf toTransform(const TransformRecord& record);

}  // namespace files
}  // namespace orik
