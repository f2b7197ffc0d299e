// What faces, edges, wires and vertices report about their geometry. Each accessor traps OCCT
// failures and answers with a neutral value instead.
#include "ApiFrame.h"
#include "EntityData.h"
#include "ShapeProps.h"

#include <orik/EDGE.h>
#include <orik/FACE.h>
#include <orik/VERTEX.h>
#include <orik/WIRE.h>

#include <BRepAdaptor_Surface.hxx>
#include <BRepBndLib.hxx>
#include <BRep_Tool.hxx>
#include <Bnd_Box.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Vertex.hxx>

using orik::guarded;
using orik::SubKind;

namespace {

OrikSurfaceKind surfaceKind(GeomAbs_SurfaceType type) {
    switch (type) {
        case GeomAbs_Plane:
            return ORIK_PLANE;
        case GeomAbs_Cylinder:
            return ORIK_CYLINDER;
        case GeomAbs_Cone:
            return ORIK_CONE;
        case GeomAbs_Sphere:
            return ORIK_SPHERE;
        case GeomAbs_Torus:
            return ORIK_TORUS;
        default:
            return ORIK_SPLINE;
    }
}

SPAposition toPosition(const gp_Pnt& p) {
    return SPAposition(p.X(), p.Y(), p.Z());
}

// The edge's first or last vertex with the edge's orientation applied (null if it has none).
TopoDS_Vertex endVertex(const EDGE* edge, bool first) {
    const TopoDS_Edge& shape = TopoDS::Edge(edge->data().shape);
    return first ? TopExp::FirstVertex(shape, Standard_True)
                 : TopExp::LastVertex(shape, Standard_True);
}

VERTEX* edgeVertex(const EDGE* edge, bool first) {
    return guarded<VERTEX*>(nullptr, [edge, first]() -> VERTEX* {
        return static_cast<VERTEX*>(
            orik::findSubEntity(edge->root(), SubKind::Vertex, endVertex(edge, first)));
    });
}

SPAposition edgeEnd(const EDGE* edge, bool first) {
    return guarded<SPAposition>(SPAposition(), [edge, first]() {
        const TopoDS_Vertex vertex = endVertex(edge, first);
        if (vertex.IsNull())
            return SPAposition();
        return toPosition(BRep_Tool::Pnt(vertex).Transformed(orik::outputTransform(edge)));
    });
}

}  // namespace

const SURFACE* FACE::geometry() const {
    orik::EntityData& d = data();
    if (!d.surface) {
        d.surface = guarded<std::unique_ptr<SURFACE>>(nullptr, [&d]() -> std::unique_ptr<SURFACE> {
            const TopoDS_Face& face = TopoDS::Face(d.shape);
            if (BRep_Tool::Surface(face).IsNull()) {
                // A face of stored triangles only (tessellated parts) is a mesh.
                return orik::isMeshOnlyFace(face) ? std::make_unique<SURFACE>(ORIK_MESH) : nullptr;
            }
            BRepAdaptor_Surface adaptor(face, Standard_False);
            return std::make_unique<SURFACE>(surfaceKind(adaptor.GetType()));
        });
    }
    return d.surface.get();
}

const SPAbox* FACE::bound() const {
    orik::EntityData& d = data();
    const FACE* self = this;
    d.bound = guarded<std::unique_ptr<SPAbox>>(nullptr, [&d, self]() -> std::unique_ptr<SPAbox> {
        Bnd_Box box;
        // The triangulation, when present, bounds exactly what the facets cover.
        BRepBndLib::Add(d.shape, box, Standard_True);
        if (box.IsVoid())
            return nullptr;
        const Bnd_Box placed = box.Transformed(orik::outputTransform(self));
        double x0, y0, z0, x1, y1, z1;
        placed.Get(x0, y0, z0, x1, y1, z1);
        return std::make_unique<SPAbox>(SPAposition(x0, y0, z0), SPAposition(x1, y1, z1));
    });
    return d.bound.get();
}

VERTEX* EDGE::start() const {
    return edgeVertex(this, true);
}
VERTEX* EDGE::end() const {
    return edgeVertex(this, false);
}
SPAposition EDGE::start_pos() const {
    return edgeEnd(this, true);
}
SPAposition EDGE::end_pos() const {
    return edgeEnd(this, false);
}

logical EDGE::has_curve() const {
    return guarded<logical>(FALSE, [this]() -> logical {
        const TopoDS_Edge& edge = TopoDS::Edge(data().shape);
        return !BRep_Tool::Degenerated(edge) && BRep_Tool::IsGeometric(edge) ? TRUE : FALSE;
    });
}

namespace {

// The wire's edges in exploration order, as entities of the wire's top-level entity.
void buildOrderedEdges(const WIRE* wire) {
    orik::EntityData& d = wire->data();
    d.orderedEdgesBuilt = true;
    guarded<bool>(false, [&d, wire]() {
        std::vector<ENTITY*> edges;
        orik::collectSubEntities(const_cast<WIRE*>(wire), SubKind::Edge, edges);
        d.orderedEdges = std::move(edges);
        return true;
    });
}

}  // namespace

int WIRE::edge_count() const {
    if (!data().orderedEdgesBuilt)
        buildOrderedEdges(this);
    return int(data().orderedEdges.size());
}

EDGE* WIRE::edge(int i) const {
    if (i < 0 || i >= edge_count())
        return nullptr;
    return static_cast<EDGE*>(data().orderedEdges[size_t(i)]);
}

SPAposition VERTEX::position() const {
    return guarded<SPAposition>(SPAposition(), [this]() {
        const gp_Pnt p = BRep_Tool::Pnt(TopoDS::Vertex(data().shape));
        return toPosition(p.Transformed(orik::outputTransform(this)));
    });
}
