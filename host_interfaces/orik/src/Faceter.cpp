#include "Faceter.h"

#include "EntityData.h"
#include "MeshAnnouncer.h"

#include <orik/orik_exception.h>
#include <orik/outcome.h>

#include <BRepBndLib.hxx>
#include <BRepTools.hxx>
#include <BRep_Tool.hxx>
#include <Bnd_Box.hxx>
#include <OSD_Parallel.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>

#include <algorithm>
#include <cmath>

namespace orik {

namespace {

constexpr double kDefaultNormalTolDeg = 15.0;
constexpr double kDefaultSurfaceTolRatio = 1e-3;  // of the geometry's box diagonal

double boxDiagonal(const TopoDS_Shape& shape) {
    Bnd_Box box;
    BRepBndLib::Add(shape, box, Standard_False);
    if (box.IsVoid())
        return 0.0;
    return std::sqrt(box.SquareExtent());
}

const REFINEMENT* refinementFor(const ENTITY* face) {
    if (face->data().refinement)
        return face->data().refinement;
    return face->root()->data().refinement;
}

}  // namespace

Faceter& Faceter::instance() {
    static Faceter* faceter = new Faceter;
    return *faceter;
}

Faceter::ShapeRecord& Faceter::recordFor(ENTITY* root) {
    const TopoDS_Shape& shape = root->data().shape;
    ShapeRecord& record = records_[shape.TShape().get()];
    if (record.shape.IsNull())
        record.shape = shape;
    return record;
}

facet::MeshParameters Faceter::parametersFor(const ENTITY* face) {
    const REFINEMENT* refinement = refinementFor(face);
    facet::MeshParameters parameters;
    const double surfaceTol = refinement ? refinement->get_surface_tol() : -1.0;
    const double normalTol = refinement ? refinement->get_normal_tol() : -1.0;
    if (surfaceTol > 0.0) {
        parameters.linearDeflection = surfaceTol;
    } else {
        ShapeRecord& record = recordFor(face->root());
        if (record.diagonal < 0.0)
            record.diagonal = boxDiagonal(record.shape);
        parameters.linearDeflection =
            record.diagonal > 0.0 ? record.diagonal * kDefaultSurfaceTolRatio : 1.0;
    }
    parameters.angularDeflectionDeg = normalTol > 0.0 ? normalTol : kDefaultNormalTolDeg;
    parameters.maxEdgeLength = refinement ? refinement->get_max_edge_length() : -1.0;
    return parameters;
}

void Faceter::clearShape(ShapeRecord& record) {
    mesher_.Forget(record.shape);
    BRepTools::Clean(record.shape);
    record.meshed = false;
    record.ownMeshes.clear();
    record.unflipped.clear();
}

void Faceter::keepUnflipped(const std::vector<ENTITY*>& faces, ShapeRecord& record) {
    for (ENTITY* face : faces) {
        TopLoc_Location location;
        const TopoDS_Face& shape = TopoDS::Face(face->data().shape);
        const Handle(Poly_Triangulation)& mesh = BRep_Tool::Triangulation(shape, location);
        UnflippedTriangles& kept = record.unflipped[shape.TShape().get()];
        if (mesh.IsNull() || kept.mesh == mesh)
            continue;
        kept.mesh = mesh;
        kept.triangles.resize(size_t(mesh->NbTriangles()));
        for (Standard_Integer i = 1; i <= mesh->NbTriangles(); ++i)
            kept.triangles[size_t(i - 1)] = mesh->Triangle(i);
    }
}

void Faceter::swapUnflipped(ShapeRecord& record) {
    for (auto& entry : record.unflipped) {
        UnflippedTriangles& kept = entry.second;
        if (kept.mesh.IsNull() || size_t(kept.mesh->NbTriangles()) != kept.triangles.size())
            continue;
        for (Standard_Integer i = 1; i <= kept.mesh->NbTriangles(); ++i) {
            const Poly_Triangle present = kept.mesh->Triangle(i);
            kept.mesh->SetTriangle(i, kept.triangles[size_t(i - 1)]);
            kept.triangles[size_t(i - 1)] = present;
        }
    }
}

void Faceter::withUnflippedTriangles(const std::vector<TopoDS_Shape>& shapes,
                                     const std::function<void()>& work) {
    std::vector<ShapeRecord*> swapped;
    for (const TopoDS_Shape& shape : shapes) {
        const auto found = shape.IsNull() ? records_.end() : records_.find(shape.TShape().get());
        if (found == records_.end() ||
            std::find(swapped.begin(), swapped.end(), &found->second) != swapped.end())
            continue;
        swapUnflipped(found->second);
        swapped.push_back(&found->second);
    }
    try {
        work();
    } catch (...) {
        for (ShapeRecord* record : swapped)
            swapUnflipped(*record);
        throw;
    }
    for (ShapeRecord* record : swapped)
        swapUnflipped(*record);
}

void Faceter::ensureMeshed(ShapeRecord& record, const facet::MeshParameters& parameters,
                           bool reuse) {
    if (reuse && record.meshed && record.parameters == parameters)
        return;
    // A mesh at other tolerances (or one found on the geometry) would be kept by BRepMesh when
    // it is fine enough; clear it so that a coarser request really gets a coarser mesh.
    clearShape(record);
    if (!mesher_.Mesh(record.shape, parameters))
        throw orik_exception(ORIK_MESH_FAILED);
    record.meshed = true;
    record.parameters = parameters;
}

bool Faceter::uniform(const ENTITY* face, const facet::MeshParameters& parameters,
                      const ShapeRecord& record) const {
    return record.meshed && record.parameters == parameters &&
           record.ownMeshes.count(face->data().shape.TShape().get()) == 0;
}

bool Faceter::tessellate(ENTITY* face, const facet::MeshParameters& parameters, ShapeRecord& record,
                         facet::FaceMesh& mesh) {
    const TopoDS_Face& shape = TopoDS::Face(face->data().shape);
    if (!uniform(face, parameters, record)) {
        // The face has tolerances of its own (or returns to the geometry's): mesh it alone.
        const TopoDS_TShape* key = shape.TShape().get();
        const auto own = record.ownMeshes.find(key);
        if (own == record.ownMeshes.end() || own->second != parameters) {
            const TopoDS_Face alone = TopoDS::Face(shape.Located(TopLoc_Location()));
            BRepTools::Clean(alone);
            mesher_.Forget(alone);
            if (!mesher_.Mesh(alone, parameters))
                return false;
            if (record.meshed && record.parameters == parameters) {
                record.ownMeshes.erase(key);
            } else {
                record.ownMeshes[key] = parameters;
            }
        }
    }
    return tessellator_.Tessellate(shape, mesh);
}

void Faceter::tessellateAll(const std::vector<ENTITY*>& faces,
                            const std::vector<facet::MeshParameters>& parameters,
                            ShapeRecord& record, std::vector<facet::FaceMesh>& meshes) {
    meshes.resize(faces.size());
    // Reading triangulations and building strips is independent per face, except that strip
    // building writes flipped quads back into the triangulation: a face geometry used twice is
    // done once in parallel and again afterwards.
    std::vector<char> inParallel(faces.size(), 0);
    std::unordered_set<const TopoDS_TShape*> claimed;
    for (size_t i = 0; i < faces.size(); ++i) {
        inParallel[i] = uniform(faces[i], parameters[i], record) &&
                        claimed.insert(faces[i]->data().shape.TShape().get()).second;
    }
    OSD_Parallel::For(0, int(faces.size()), [&faces, &meshes, &inParallel](int i) {
        if (!inParallel[size_t(i)])
            return;
        thread_local facet::FaceTessellator tessellator;
        tessellator.Tessellate(TopoDS::Face(faces[size_t(i)]->data().shape), meshes[size_t(i)]);
    });
    for (size_t i = 0; i < faces.size(); ++i) {
        if (!inParallel[i])
            tessellate(faces[i], parameters[i], record, meshes[i]);
    }
}

void Faceter::facet(ENTITY* entity, const std::vector<ENTITY*>& faces, MESH_MANAGER* manager,
                    bool reuse, double timeLimit) {
    ENTITY* root = entity->root();
    ShapeRecord& record = recordFor(root);
    std::vector<facet::MeshParameters> parameters;
    parameters.reserve(faces.size());
    for (ENTITY* face : faces) {
        parameters.push_back(parametersFor(face));
        parameters.back().timeLimit = timeLimit;
    }
    if (!faces.empty()) {
        ensureMeshed(record, parameters.front(), reuse);
        record.holders.insert(root);
    }
    keepUnflipped(faces, record);
    std::vector<facet::FaceMesh> meshes;
    if (faces.size() > 1) {
        tessellateAll(faces, parameters, record, meshes);
    } else if (faces.size() == 1) {
        meshes.resize(1);
        tessellate(faces.front(), parameters.front(), record, meshes.front());
    }
    if (manager != nullptr)
        announce(*manager, entity, faces, meshes);
    for (ENTITY* face : faces) {
        if (mesher_.Abandoned(face->data().shape))
            throw orik_exception(ORIK_MESH_FAILED);
    }
}

void Faceter::announce(MESH_MANAGER& manager, ENTITY* entity, const std::vector<ENTITY*>& faces,
                       const std::vector<facet::FaceMesh>& meshes) {
    ENTITY* root = entity->root();
    const ENTITY* owner = root->identity() == ORIK_BODY_TYPE ? root : nullptr;
    for (size_t i = 0; i < faces.size(); ++i) {
        if (meshes[i].TriangleCount() == 0)
            continue;
        announceFaceMesh(manager, faces[i], const_cast<ENTITY*>(owner), meshes[i],
                         outputTransform(faces[i]));
    }
    manager.end_entity_output(entity);
}

void Faceter::release(ENTITY* root) {
    const TopoDS_Shape& shape = root->data().shape;
    if (shape.IsNull())
        return;
    const auto found = records_.find(shape.TShape().get());
    if (found == records_.end())
        return;
    found->second.holders.erase(root);
    if (!found->second.holders.empty())
        return;
    clearShape(found->second);
    records_.erase(found);
}

std::optional<facet::MeshParameters> Faceter::uniformMesh(const TopoDS_Shape& shape) const {
    if (shape.IsNull())
        return std::nullopt;
    const auto found = records_.find(shape.TShape().get());
    if (found == records_.end())
        return std::nullopt;
    const ShapeRecord& record = found->second;
    if (!record.meshed || !record.ownMeshes.empty() || !mesher_.IsMeshed(shape, record.parameters))
        return std::nullopt;
    for (TopExp_Explorer it(shape, TopAbs_FACE); it.More(); it.Next()) {
        TopLoc_Location location;
        if (mesher_.Abandoned(it.Current()) ||
            BRep_Tool::Triangulation(TopoDS::Face(it.Current()), location).IsNull())
            return std::nullopt;
    }
    return record.parameters;
}

void Faceter::adoptMesh(const TopoDS_Shape& shape, const facet::MeshParameters& parameters) {
    if (shape.IsNull() || !mesher_.Adopt(shape, parameters))
        return;
    ShapeRecord& record = records_[shape.TShape().get()];
    if (record.shape.IsNull())
        record.shape = shape.Located(TopLoc_Location());
    record.meshed = true;
    record.parameters = parameters;
    record.ownMeshes.clear();
}

void Faceter::reset() {
    records_.clear();
    mesher_.Reset();
}

}  // namespace orik
