// Mesh-only shapes from the tessellated records of AP242 STEP files (triangulated and complex
// triangulated faces, tessellated shells and solids, tessellated shape representations). Open
// CASCADE 7.6 does not know these types: its parser keeps them as undefined entities with their
// raw parameters, which this class reads.
#pragma once

#include <NCollection_DataMap.hxx>
#include <StepData_UndefinedEntity.hxx>
#include <TopTools_ShapeMapHasher.hxx>
#include <TopoDS_Shape.hxx>

#include <vector>

namespace tam {

enum class TessellatedKind { None, Representation, Solid, Shell, Face, ComplexFace };

// The kind of a record; None for every record the STEP reader knows itself.
TessellatedKind KindOfTessellated(const Handle(Standard_Transient) & record);

// Builds and caches the shapes of tessellated records of one STEP model. Coordinates are scaled
// from the unit of their representation's context to millimetres.
class TessellatedShapes {
public:
    // The shape of a face, shell or solid record: a face with a triangulation and no surface, a
    // shell of such faces, a solid of one such shell. Null for other records or unusable data.
    // The same record always gives the same shape.
    TopoDS_Shape ItemShape(const Handle(Standard_Transient) & record, double scale);

    // The tessellated items of a representation record (its known items are skipped).
    static std::vector<Handle(Standard_Transient)> RepresentationItems(
        const Handle(StepData_UndefinedEntity) & representation);

    // Millimetres per unit of length of a representation context record; 1 when unknown.
    static double LengthScale(const Handle(Standard_Transient) & context);

    // The shape ItemShape made for a record before, or null.
    TopoDS_Shape BuiltShape(const Handle(Standard_Transient) & record) const;

    // The record a shape made by ItemShape stands for, or null.
    Handle(Standard_Transient) RecordOf(const TopoDS_Shape& shape) const;

private:
    TopoDS_Shape MakeFace(const Handle(StepData_UndefinedEntity) & face, bool complex,
                          double scale) const;
    TopoDS_Shape MakeShell(const Handle(StepData_UndefinedEntity) & shell, bool solid,
                           double scale);

    NCollection_DataMap<Handle(Standard_Transient), TopoDS_Shape> m_shapes;
    NCollection_DataMap<TopoDS_Shape, Handle(Standard_Transient), TopTools_ShapeMapHasher>
        m_records;
};

}  // namespace tam
