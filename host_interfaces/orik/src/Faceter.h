// The kernel's faceter: meshes a top-level entity's geometry once per tolerance set, keeps the
// mesh while some entity holds it, and announces face meshes to the installed mesh manager.
#pragma once

#include "facet/FaceTessellator.h"
#include "facet/ShapeMesher.h"

#include <orik/ENTITY.h>
#include <orik/MESH_MANAGER.h>

#include <Poly_Triangle.hxx>
#include <Poly_Triangulation.hxx>
#include <TopoDS_Shape.hxx>
#include <TopoDS_TShape.hxx>

#include <functional>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace orik {

class Faceter {
public:
    static Faceter& instance();

    // Facets the given faces of the entity and announces them to manager (may be null), then
    // ends the entity's output. timeLimit: seconds per face (<= 0: none). Throws
    // orik_exception(ORIK_MESH_FAILED) when meshing fails or a face was abandoned at the time
    // limit (the other faces are announced first).
    void facet(ENTITY* entity, const std::vector<ENTITY*>& faces, MESH_MANAGER* manager, bool reuse,
               double timeLimit);
    // The top-level entity no longer holds its facets; the geometry's mesh is removed once no
    // entity sharing it holds facets any more.
    void release(ENTITY* root);
    // Forgets every mesh (the modeller stops).
    void reset();

    // The tolerances of the geometry's current mesh when every face holds the one mesh made at
    // the geometry's tolerances (none abandoned, none meshed on its own); nothing otherwise.
    std::optional<facet::MeshParameters> uniformMesh(const TopoDS_Shape& shape) const;
    // The geometry's faces carry triangulations made at these tolerances (read back from a
    // file): faceting it at the same tolerances uses them. Ignored unless every face has one.
    void adoptMesh(const TopoDS_Shape& shape, const facet::MeshParameters& parameters);
    // Runs work while the triangulations of the shapes' faces hold the triangles meshing made,
    // before strip building flipped quads in them (the triangles a fresh faceting starts from),
    // and puts the flipped ones back afterwards.
    void withUnflippedTriangles(const std::vector<TopoDS_Shape>& shapes,
                                const std::function<void()>& work);

private:
    struct UnflippedTriangles {
        Handle(Poly_Triangulation) mesh;
        std::vector<Poly_Triangle> triangles;
    };

    // What is known about one geometry shared by one or more top-level entities.
    struct ShapeRecord {
        TopoDS_Shape shape;  // keeps the TShape alive while it is a key
        double diagonal = -1.0;
        bool meshed = false;
        facet::MeshParameters parameters;
        // Faces meshed on their own at tolerances other than the geometry's.
        std::unordered_map<const TopoDS_TShape*, facet::MeshParameters> ownMeshes;
        // Each tessellated face's triangles as meshing made them (strip building flips quads in
        // the triangulation itself), with the triangulation they belong to.
        std::unordered_map<const TopoDS_TShape*, UnflippedTriangles> unflipped;
        std::unordered_set<ENTITY*> holders;
    };

    Faceter() = default;
    // The tolerances that apply to a face (its refinement, else its owner's, else defaults).
    facet::MeshParameters parametersFor(const ENTITY* face);
    ShapeRecord& recordFor(ENTITY* root);
    void ensureMeshed(ShapeRecord& record, const facet::MeshParameters& parameters, bool reuse);
    // True when the face's mesh is the geometry's uniform one at these tolerances.
    bool uniform(const ENTITY* face, const facet::MeshParameters& parameters,
                 const ShapeRecord& record) const;
    bool tessellate(ENTITY* face, const facet::MeshParameters& parameters, ShapeRecord& record,
                    facet::FaceMesh& mesh);
    void tessellateAll(const std::vector<ENTITY*>& faces,
                       const std::vector<facet::MeshParameters>& parameters, ShapeRecord& record,
                       std::vector<facet::FaceMesh>& meshes);
    void clearShape(ShapeRecord& record);
    static void keepUnflipped(const std::vector<ENTITY*>& faces, ShapeRecord& record);
    static void swapUnflipped(ShapeRecord& record);
    // Announces the faces' meshes (empty ones left out) and ends the entity's output.
    static void announce(MESH_MANAGER& manager, ENTITY* entity, const std::vector<ENTITY*>& faces,
                         const std::vector<facet::FaceMesh>& meshes);

    std::unordered_map<const TopoDS_TShape*, ShapeRecord> records_;
    facet::ShapeMesher mesher_;
    facet::FaceTessellator tessellator_;
};

}  // namespace orik
