#include "ShapeSplitter.h"

#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <TopoDS_Iterator.hxx>

namespace tam {
namespace {

struct Leaves {
    std::vector<TopoDS_Shape> bodyParts;  // solids and kept shells
    std::vector<std::pair<FreeKind, TopoDS_Shape>> freeShapes;
    bool droppedOrFree = false;  // something is not part of the body
};

void Classify(const TopoDS_Shape& shape, const TranslateOptions& options, Leaves& leaves) {
    switch (shape.ShapeType()) {
        case TopAbs_COMPOUND:
            for (TopoDS_Iterator it(shape); it.More(); it.Next()) {
                Classify(it.Value(), options, leaves);
            }
            return;
        case TopAbs_COMPSOLID:
        case TopAbs_SOLID:
            leaves.bodyParts.push_back(shape);
            return;
        case TopAbs_SHELL:
            if (options.sheetBodies) {
                leaves.bodyParts.push_back(shape);
            } else {
                leaves.droppedOrFree = true;
            }
            return;
        default:
            break;
    }
    leaves.droppedOrFree = true;
    const TopAbs_ShapeEnum type = shape.ShapeType();
    if (type == TopAbs_FACE && options.freeSurfaces) {
        leaves.freeShapes.emplace_back(FreeKind::Surface, shape);
    } else if ((type == TopAbs_WIRE || type == TopAbs_EDGE) && options.freeCurves) {
        leaves.freeShapes.emplace_back(FreeKind::Curve, shape);
    } else if (type == TopAbs_VERTEX && options.freePoints) {
        leaves.freeShapes.emplace_back(FreeKind::Point, shape);
    }
}

TopoDS_Shape MakeCompound(const std::vector<TopoDS_Shape>& parts) {
    BRep_Builder builder;
    TopoDS_Compound compound;
    builder.MakeCompound(compound);
    for (const TopoDS_Shape& part : parts)
        builder.Add(compound, part);
    return compound;
}

}  // namespace

SplitShape SplitPartShape(const TopoDS_Shape& shape, const TranslateOptions& options) {
    SplitShape split;
    if (shape.IsNull())
        return split;
    Leaves leaves;
    Classify(shape, options, leaves);
    split.freeShapes = std::move(leaves.freeShapes);
    if (leaves.bodyParts.empty())
        return split;
    if (!leaves.droppedOrFree) {
        split.body = shape;
    } else if (leaves.bodyParts.size() == 1) {
        split.body = leaves.bodyParts.front();
    } else {
        split.body = MakeCompound(leaves.bodyParts);
    }
    return split;
}

bool HasMeshOnlyFace(const TopoDS_Shape& shape) {
    for (TopExp_Explorer faces(shape, TopAbs_FACE); faces.More(); faces.Next()) {
        TopLoc_Location location;
        if (BRep_Tool::Surface(TopoDS::Face(faces.Current()), location).IsNull())
            return true;
    }
    return false;
}

}  // namespace tam
