#include "TessellatedShapes.h"

#include <BRep_Builder.hxx>
#include <Interface_UndefinedContent.hxx>
#include <Poly_Triangulation.hxx>
#include <STEPConstruct_UnitContext.hxx>
#include <Standard_CString.hxx>
#include <StepGeom_GeomRepContextAndGlobUnitAssCtxAndGlobUncertaintyAssCtx.hxx>
#include <StepGeom_GeometricRepresentationContextAndGlobalUnitAssignedContext.hxx>
#include <StepRepr_GlobalUnitAssignedContext.hxx>
#include <StepVisual_CoordinatesList.hxx>
#include <TColgp_HArray1OfXYZ.hxx>
#include <TCollection_HAsciiString.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Shell.hxx>
#include <TopoDS_Solid.hxx>

#include <array>
#include <cstdlib>
#include <cstring>

namespace tam {
namespace {

using Record = Handle(StepData_UndefinedEntity);
using Triangle = std::array<int, 3>;

// The entity a parameter refers to (a record or a nested list), or null.
Handle(Standard_Transient) EntityParam(const Record& record, int number) {
    if (record.IsNull())
        return nullptr;
    const Handle(Interface_UndefinedContent) content = record->UndefinedContent();
    if (number < 1 || number > content->NbParams() || !content->IsParamEntity(number))
        return nullptr;
    return content->ParamEntity(number);
}

// A parameter that holds a list, or null.
Record ListParam(const Record& record, int number) {
    Record list = Handle(StepData_UndefinedEntity)::DownCast(EntityParam(record, number));
    return !list.IsNull() && list->IsSub() ? list : Record();
}

int ParamCount(const Record& record) {
    return record.IsNull() ? 0 : record->UndefinedContent()->NbParams();
}

// A literal number parameter; `fallback` when it is missing or not a number.
double NumberParam(const Record& record, int number, double fallback) {
    if (record.IsNull() || number < 1 || number > ParamCount(record))
        return fallback;
    const Handle(Interface_UndefinedContent) content = record->UndefinedContent();
    if (content->IsParamEntity(number))
        return fallback;
    const Handle(TCollection_HAsciiString) text = content->ParamValue(number);
    if (text.IsNull())
        return fallback;
    char* end = nullptr;
    const double value = Strtod(text->ToCString(), &end);
    return end == text->ToCString() ? fallback : value;
}

std::vector<int> Integers(const Record& list) {
    std::vector<int> values;
    for (int i = 1; i <= ParamCount(list); ++i)
        values.push_back(static_cast<int>(NumberParam(list, i, 0.0)));
    return values;
}

std::vector<std::vector<int>> IntegerLists(const Record& list) {
    std::vector<std::vector<int>> lists;
    for (int i = 1; i <= ParamCount(list); ++i)
        lists.push_back(Integers(ListParam(list, i)));
    return lists;
}

std::vector<gp_XYZ> Vectors(const Record& list) {
    std::vector<gp_XYZ> vectors;
    for (int i = 1; i <= ParamCount(list); ++i) {
        const Record xyz = ListParam(list, i);
        vectors.emplace_back(NumberParam(xyz, 1, 0.0), NumberParam(xyz, 2, 0.0),
                             NumberParam(xyz, 3, 0.0));
    }
    return vectors;
}

// Triangles of strips: every new index makes a triangle with the two before it, the winding
// alternating so that all triangles face the same side.
void AddStrips(const std::vector<std::vector<int>>& strips, std::vector<Triangle>& triangles) {
    for (const std::vector<int>& strip : strips) {
        for (std::size_t k = 0; k + 2 < strip.size(); ++k) {
            if (k % 2 == 0) {
                triangles.push_back({strip[k], strip[k + 1], strip[k + 2]});
            } else {
                triangles.push_back({strip[k + 1], strip[k], strip[k + 2]});
            }
        }
    }
}

// Triangles of fans: every pair of neighbouring indices after the first makes a triangle with it.
void AddFans(const std::vector<std::vector<int>>& fans, std::vector<Triangle>& triangles) {
    for (const std::vector<int>& fan : fans) {
        for (std::size_t k = 1; k + 1 < fan.size(); ++k)
            triangles.push_back({fan[0], fan[k], fan[k + 1]});
    }
}

bool IsUsable(const Triangle& triangle, int nodeCount) {
    for (int index : triangle) {
        if (index < 1 || index > nodeCount)
            return false;
    }
    return triangle[0] != triangle[1] && triangle[1] != triangle[2] && triangle[0] != triangle[2];
}

// Node normals given with a face: one for all nodes or one per node; others are ignored.
void AddNormals(const std::vector<gp_XYZ>& normals, Poly_Triangulation& mesh) {
    const int nodeCount = mesh.NbNodes();
    if (normals.size() != 1 && normals.size() != static_cast<std::size_t>(nodeCount))
        return;
    for (const gp_XYZ& normal : normals) {
        if (normal.Modulus() <= gp::Resolution())
            return;
    }
    mesh.AddNormals();
    for (int i = 1; i <= nodeCount; ++i) {
        const gp_XYZ& normal = normals.size() == 1 ? normals[0] : normals[std::size_t(i - 1)];
        mesh.SetNormal(i, gp_Dir(normal));
    }
}

}  // namespace

TessellatedKind KindOfTessellated(const Handle(Standard_Transient) & record) {
    const Record entity = Handle(StepData_UndefinedEntity)::DownCast(record);
    if (entity.IsNull() || entity->IsSub() || entity->IsComplex())
        return TessellatedKind::None;
    const char* type = entity->StepType();
    if (std::strcmp(type, "TESSELLATED_SHAPE_REPRESENTATION") == 0)
        return TessellatedKind::Representation;
    if (std::strcmp(type, "TESSELLATED_SOLID") == 0)
        return TessellatedKind::Solid;
    if (std::strcmp(type, "TESSELLATED_SHELL") == 0)
        return TessellatedKind::Shell;
    if (std::strcmp(type, "TRIANGULATED_FACE") == 0)
        return TessellatedKind::Face;
    if (std::strcmp(type, "COMPLEX_TRIANGULATED_FACE") == 0)
        return TessellatedKind::ComplexFace;
    return TessellatedKind::None;
}

TopoDS_Shape TessellatedShapes::ItemShape(const Handle(Standard_Transient) & record, double scale) {
    if (const TopoDS_Shape* known = m_shapes.Seek(record))
        return *known;
    const Record entity = Handle(StepData_UndefinedEntity)::DownCast(record);
    TopoDS_Shape shape;
    switch (KindOfTessellated(record)) {
        case TessellatedKind::Face:
            shape = MakeFace(entity, false, scale);
            break;
        case TessellatedKind::ComplexFace:
            shape = MakeFace(entity, true, scale);
            break;
        case TessellatedKind::Shell:
            shape = MakeShell(entity, false, scale);
            break;
        case TessellatedKind::Solid:
            shape = MakeShell(entity, true, scale);
            break;
        default:
            break;
    }
    m_shapes.Bind(record, shape);
    if (!shape.IsNull())
        m_records.Bind(shape, record);
    return shape;
}

TopoDS_Shape TessellatedShapes::BuiltShape(const Handle(Standard_Transient) & record) const {
    const TopoDS_Shape* shape = m_shapes.Seek(record);
    return shape ? *shape : TopoDS_Shape();
}

Handle(Standard_Transient) TessellatedShapes::RecordOf(const TopoDS_Shape& shape) const {
    const Handle(Standard_Transient)* record = m_records.Seek(shape);
    return record ? *record : Handle(Standard_Transient)();
}

std::vector<Handle(Standard_Transient)> TessellatedShapes::RepresentationItems(
    const Handle(StepData_UndefinedEntity) & representation) {
    std::vector<Handle(Standard_Transient)> items;
    const Record list = ListParam(representation, 2);
    for (int i = 1; i <= ParamCount(list); ++i) {
        const Handle(Standard_Transient) item = EntityParam(list, i);
        const TessellatedKind kind = KindOfTessellated(item);
        if (kind != TessellatedKind::None && kind != TessellatedKind::Representation)
            items.push_back(item);
    }
    return items;
}

double TessellatedShapes::LengthScale(const Handle(Standard_Transient) & context) {
    Handle(StepRepr_GlobalUnitAssignedContext) units;
    if (const auto full = Handle(
            StepGeom_GeomRepContextAndGlobUnitAssCtxAndGlobUncertaintyAssCtx)::DownCast(context)) {
        units = full->GlobalUnitAssignedContext();
    } else if (const auto partial =
                   Handle(StepGeom_GeometricRepresentationContextAndGlobalUnitAssignedContext)::
                       DownCast(context)) {
        units = partial->GlobalUnitAssignedContext();
    }
    STEPConstruct_UnitContext unit;
    if (units.IsNull() || unit.ComputeFactors(units) != 0 || !(unit.LengthFactor() > 0.0))
        return 1.0;
    return unit.LengthFactor();
}

// Parameters: name, coordinates, pnmax, normals, geometric link, pnindex, then triangles for a
// triangulated face, or strips and fans for a complex one. Triangle indices count face points;
// pnindex maps them to coordinates (an empty pnindex takes the coordinates in order).
TopoDS_Shape TessellatedShapes::MakeFace(const Handle(StepData_UndefinedEntity) & face,
                                         bool complex, double scale) const {
    const auto coordinates = Handle(StepVisual_CoordinatesList)::DownCast(EntityParam(face, 2));
    if (coordinates.IsNull() || coordinates->Points().IsNull())
        return TopoDS_Shape();
    const TColgp_Array1OfXYZ& points = coordinates->Points()->Array1();
    const std::vector<int> pointIndex = Integers(ListParam(face, 6));
    const int declared = static_cast<int>(NumberParam(face, 3, points.Length()));
    const int nodeCount = pointIndex.empty() ? std::min(declared, points.Length())
                                             : static_cast<int>(pointIndex.size());
    std::vector<Triangle> triangles;
    if (complex) {
        AddStrips(IntegerLists(ListParam(face, 7)), triangles);
        AddFans(IntegerLists(ListParam(face, 8)), triangles);
    } else {
        for (const std::vector<int>& corners : IntegerLists(ListParam(face, 7))) {
            if (corners.size() == 3)
                triangles.push_back({corners[0], corners[1], corners[2]});
        }
    }
    std::vector<Triangle> usable;
    for (const Triangle& triangle : triangles) {
        if (IsUsable(triangle, nodeCount))
            usable.push_back(triangle);
    }
    if (nodeCount < 3 || usable.empty())
        return TopoDS_Shape();
    Handle(Poly_Triangulation) mesh =
        new Poly_Triangulation(nodeCount, static_cast<int>(usable.size()), Standard_False);
    for (int i = 1; i <= nodeCount; ++i) {
        const int point = pointIndex.empty() ? i : pointIndex[std::size_t(i - 1)];
        if (point < 1 || point > points.Length())
            return TopoDS_Shape();
        mesh->SetNode(i, gp_Pnt(points(points.Lower() + point - 1) * scale));
    }
    for (std::size_t k = 0; k < usable.size(); ++k) {
        mesh->SetTriangle(static_cast<int>(k + 1),
                          Poly_Triangle(usable[k][0], usable[k][1], usable[k][2]));
    }
    AddNormals(Vectors(ListParam(face, 4)), *mesh);
    TopoDS_Face result;
    BRep_Builder().MakeFace(result, mesh);
    return result;
}

// Parameters: name, items, link. Only face items count; a solid is the shell of its faces.
TopoDS_Shape TessellatedShapes::MakeShell(const Handle(StepData_UndefinedEntity) & shell,
                                          bool solid, double scale) {
    BRep_Builder builder;
    TopoDS_Shell faces;
    builder.MakeShell(faces);
    int count = 0;
    const Record items = ListParam(shell, 2);
    for (int i = 1; i <= ParamCount(items); ++i) {
        const Handle(Standard_Transient) item = EntityParam(items, i);
        const TessellatedKind kind = KindOfTessellated(item);
        if (kind != TessellatedKind::Face && kind != TessellatedKind::ComplexFace)
            continue;
        const TopoDS_Shape face = ItemShape(item, scale);
        if (!face.IsNull()) {
            builder.Add(faces, face);
            ++count;
        }
    }
    if (count == 0)
        return TopoDS_Shape();
    if (!solid)
        return faces;
    TopoDS_Solid body;
    builder.MakeSolid(body);
    builder.Add(body, faces);
    return body;
}

}  // namespace tam
