// Shapes of mesh-only faces, as the translator makes them from tessellated parts: faces with a
// triangulation and no surface, no edges (for the kernel and loader tests).
#pragma once

#include <BRep_Builder.hxx>
#include <Poly_Triangulation.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Face.hxx>
#include <TopoDS_Shell.hxx>
#include <TopoDS_Solid.hxx>
#include <gp_Pnt.hxx>
#include <gp_Vec.hxx>

#include <vector>

namespace tamtest {

// A mesh-only parallelogram o, o+u, o+u+v, o+v of two triangles whose outside is u x v. Stored
// inward, its triangles turn the other way and the face is reversed (same outside).
inline TopoDS_Face meshQuad(const gp_Pnt& o, const gp_Vec& u, const gp_Vec& v,
                            bool storedInward = false) {
    Handle(Poly_Triangulation) mesh = new Poly_Triangulation(4, 2, Standard_False);
    mesh->SetNode(1, o);
    mesh->SetNode(2, o.Translated(u));
    mesh->SetNode(3, o.Translated(u + v));
    mesh->SetNode(4, o.Translated(v));
    mesh->SetTriangle(1, storedInward ? Poly_Triangle(1, 3, 2) : Poly_Triangle(1, 2, 3));
    mesh->SetTriangle(2, storedInward ? Poly_Triangle(1, 4, 3) : Poly_Triangle(1, 3, 4));
    TopoDS_Face face;
    BRep_Builder().MakeFace(face, mesh);
    if (storedInward)
        face.Reverse();
    return face;
}

// The six faces of the mesh-only cube [0, side]^3, outsides out; the first (z = 0) is stored
// inward when asked.
inline std::vector<TopoDS_Face> meshCubeFaces(double side, bool firstInward = false) {
    const gp_Vec x(side, 0, 0), y(0, side, 0), z(0, 0, side);
    const gp_Pnt o(0, 0, 0);
    return {meshQuad(o, y, x, firstInward),
            meshQuad(o.Translated(z), x, y),
            meshQuad(o, x, z),
            meshQuad(o.Translated(y), z, x),
            meshQuad(o, z, y),
            meshQuad(o.Translated(x), y, z)};
}

// A solid of one shell of the given faces (closed or not).
inline TopoDS_Solid meshSolid(const std::vector<TopoDS_Face>& faces) {
    BRep_Builder builder;
    TopoDS_Shell shell;
    builder.MakeShell(shell);
    for (const TopoDS_Face& face : faces)
        builder.Add(shell, face);
    TopoDS_Solid solid;
    builder.MakeSolid(solid);
    builder.Add(solid, shell);
    return solid;
}

}  // namespace tamtest
