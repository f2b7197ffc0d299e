// Splits a part's shape into the body the kernel receives and the free geometry beside it,
// keeping or dropping each kind as the options say.
#pragma once

#include "CadModel.h"
#include "TranslateOptions.h"

#include <TopoDS_Shape.hxx>

#include <utility>
#include <vector>

namespace tam {

struct SplitShape {
    // Solids and kept shells; null when there are none. The input shape itself when nothing was
    // taken out of it, so that instances of one part keep sharing it.
    TopoDS_Shape body;
    // Free faces, wires, edges and vertices, in the coordinates of the input shape.
    std::vector<std::pair<FreeKind, TopoDS_Shape>> freeShapes;
};

SplitShape SplitPartShape(const TopoDS_Shape& shape, const TranslateOptions& options);

// True when a face of the shape has no surface (a mesh-only face of tessellated geometry): shape
// fixing and the STEP and IGES writers need the surfaces and must not get such shapes.
bool HasMeshOnlyFace(const TopoDS_Shape& shape);

}  // namespace tam
