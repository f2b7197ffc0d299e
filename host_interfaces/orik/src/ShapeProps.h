// Areas, volumes and closure of shapes whose faces may carry only a mesh: faces with a surface
// are integrated over it, mesh-only faces (no surface, stored triangles) over their triangles.
// Private to the kernel; the functions may throw Standard_Failure.
#pragma once

#include <GProp_GProps.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Shape.hxx>

namespace orik {

// True when the face has no surface but a triangulation with at least one triangle.
bool isMeshOnlyFace(const TopoDS_Face& face);

// True when every face of the shape has a surface (true for a shape without faces).
bool everyFaceHasSurface(const TopoDS_Shape& shape);

// True when the shell is closed: by its edges, or, for a shell of mesh-only faces, by its
// triangles (every triangle side, matched by node positions, met once in each direction).
bool isClosedShell(const TopoDS_Shape& shell);

// Adds the area properties of the shape's faces to props; returns the relative accuracy reached.
// Faces with neither a surface nor triangles are left out.
double addSurfaceProps(const TopoDS_Shape& shape, double accuracy, GProp_GProps& props);

// Adds the volume properties enclosed by the shape's faces to props (onlyClosed: the faces of
// closed shells only); returns the relative accuracy reached.
double addVolumeProps(const TopoDS_Shape& shape, double accuracy, bool onlyClosed,
                      GProp_GProps& props);

}  // namespace orik
