// Boxes, areas and edge sampling.
#include "ApiFrame.h"
#include "EntityData.h"
#include "ShapeProps.h"

#include <orik/EDGE.h>
#include <orik/OrikGeometryApi.h>

#include <BRepAdaptor_Curve.hxx>
#include <BRepBndLib.hxx>
#include <BRep_Tool.hxx>
#include <Bnd_Box.hxx>
#include <GCPnts_TangentialDeflection.hxx>
#include <GProp_GProps.hxx>
#include <Poly_Triangulation.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

using orik::require;
using orik::requireAlive;
using orik::runApi;

namespace {

constexpr double kLargestAreaAccuracy = 1e-2;
constexpr double kSmallestAreaAccuracy = 1e-9;
// Without an angular limit, the chordal tolerance alone governs edge sampling.
constexpr double kFreeAngleRad = 3.0;

// Adds the nodes of faces without a surface (their triangles are their geometry) to the box.
void addMeshOnlyFaces(const TopoDS_Shape& shape, Bnd_Box& box) {
    for (TopExp_Explorer it(shape, TopAbs_FACE); it.More(); it.Next()) {
        const TopoDS_Face& face = TopoDS::Face(it.Current());
        TopLoc_Location location;
        if (!BRep_Tool::Surface(face, location).IsNull())
            continue;
        const Handle(Poly_Triangulation) mesh = BRep_Tool::Triangulation(face, location);
        if (mesh.IsNull())
            continue;
        for (Standard_Integer i = 1; i <= mesh->NbNodes(); ++i)
            box.Add(mesh->Node(i).Transformed(location.Transformation()));
        box.Enlarge(mesh->Deflection() + BRep_Tool::Tolerance(face));
    }
}

// Adds the entity's geometry, in model coordinates, to the box. Faces with a surface count by
// their surface, never by a mesh they hold, so that the box (and the tolerances derived from it)
// is the same before and after faceting and for meshes read back from a file.
void addToBox(ENTITY* entity, Bnd_Box& box) {
    const TopoDS_Shape& shape = entity->data().shape;
    if (shape.IsNull())
        return;
    Bnd_Box own;
    BRepBndLib::Add(shape, own, Standard_False);
    addMeshOnlyFaces(shape, own);
    if (own.IsVoid())
        return;
    box.Add(own.Transformed(entity->root()->data().placement));
}

outcome boxOf(const std::vector<ENTITY*>& entities, WCS* wcs, SPAposition& low, SPAposition& high) {
    require(wcs == nullptr, ORIK_BAD_ARGUMENT);
    Bnd_Box box;
    for (ENTITY* entity : entities) {
        requireAlive(entity);
        addToBox(entity, box);
    }
    require(!box.IsVoid(), ORIK_NO_ENTITIES);
    double x0, y0, z0, x1, y1, z1;
    box.Get(x0, y0, z0, x1, y1, z1);
    low = SPAposition(x0, y0, z0);
    high = SPAposition(x1, y1, z1);
    return outcome();
}

}  // namespace

outcome api_get_entity_box(const ENTITY_LIST& entities, WCS* wcs, SPAposition& low,
                           SPAposition& high, int, OrikOptions*) {
    return runApi("api_get_entity_box", [&entities, wcs, &low, &high] {
        std::vector<ENTITY*> all;
        for (int i = 0; i < entities.count(); ++i)
            all.push_back(entities[i]);
        return boxOf(all, wcs, low, high);
    });
}

outcome api_get_entity_box(ENTITY* entity, WCS* wcs, SPAposition& low, SPAposition& high, int,
                           OrikOptions*) {
    return runApi("api_get_entity_box",
                  [entity, wcs, &low, &high] { return boxOf({entity}, wcs, low, high); });
}

outcome api_ent_area(ENTITY* entity, double req_rel_accy, double& area,
                     double& est_rel_accy_achieved, OrikOptions*) {
    return runApi("api_ent_area", [entity, req_rel_accy, &area, &est_rel_accy_achieved] {
        requireAlive(entity);
        const TopoDS_Shape& shape = entity->data().shape;
        require(!shape.IsNull() && TopExp_Explorer(shape, TopAbs_FACE).More(), ORIK_NO_GEOMETRY);
        const double accuracy = req_rel_accy > 0.0 && req_rel_accy < kLargestAreaAccuracy
                                    ? std::max(req_rel_accy, kSmallestAreaAccuracy)
                                    : kLargestAreaAccuracy;
        GProp_GProps props;
        // Mesh-only faces measure the area of their triangles.
        est_rel_accy_achieved = orik::addSurfaceProps(shape, accuracy, props);
        area = std::fabs(props.Mass());
        return outcome();
    });
}

namespace {

// Curve parameters sampling the edge within the tolerances, from the edge's first parameter
// to its last.
std::vector<double> sampleParameters(const BRepAdaptor_Curve& curve, double tolerance,
                                     double angleTolDeg, double maxLength) {
    const double angle = angleTolDeg > 0.0 ? angleTolDeg * M_PI / 180.0 : kFreeAngleRad;
    const double minLength = std::min(tolerance, Precision::Confusion());
    GCPnts_TangentialDeflection sampler(curve, angle, tolerance, 2, Precision::PConfusion(),
                                        minLength);
    std::vector<double> params;
    for (int i = 1; i <= sampler.NbPoints(); ++i)
        params.push_back(sampler.Parameter(i));
    if (!(maxLength > 0.0) || params.size() < 2)
        return params;
    // Split steps longer than maxLength evenly in parameter.
    std::vector<double> split{params.front()};
    for (size_t i = 1; i < params.size(); ++i) {
        const double length = curve.Value(params[i - 1]).Distance(curve.Value(params[i]));
        const int pieces = std::max(1, int(std::ceil(length / maxLength)));
        for (int k = 1; k <= pieces; ++k) {
            split.push_back(params[i - 1] + (params[i] - params[i - 1]) * k / pieces);
        }
    }
    return split;
}

// count evenly spaced parameters over the edge's range.
std::vector<double> evenParameters(double first, double last, int count) {
    std::vector<double> params(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        params[size_t(i)] = first + (last - first) * i / (count - 1);
    return params;
}

}  // namespace

outcome api_facet_edge(EDGE* edge, double tolerance, double angle_tol, double max_length,
                       int max_points, int& count, SPAposition*& points, double*& params,
                       OrikOptions*) {
    count = 0;
    points = nullptr;
    params = nullptr;
    return runApi("api_facet_edge", [=, &count, &points, &params] {
        requireAlive(edge);
        require(is_EDGE(edge), ORIK_WRONG_ENTITY_TYPE);
        require(tolerance > 0.0 && max_points >= 2, ORIK_BAD_ARGUMENT);
        require(edge->has_curve(), ORIK_NO_GEOMETRY);
        const TopoDS_Edge& shape = TopoDS::Edge(edge->data().shape);
        const BRepAdaptor_Curve curve(shape);
        std::vector<double> sampled = sampleParameters(curve, tolerance, angle_tol, max_length);
        require(sampled.size() >= 2, ORIK_NO_GEOMETRY);
        if (int(sampled.size()) > max_points) {
            sampled = evenParameters(sampled.front(), sampled.back(), max_points + 1);
        }
        if (shape.Orientation() == TopAbs_REVERSED)
            std::reverse(sampled.begin(), sampled.end());
        const gp_Trsf placement = orik::outputTransform(edge);
        auto outPoints = std::make_unique<SPAposition[]>(sampled.size());
        auto outParams = std::make_unique<double[]>(sampled.size());
        for (size_t i = 0; i < sampled.size(); ++i) {
            const gp_Pnt p = curve.Value(sampled[i]).Transformed(placement);
            outPoints[i] = SPAposition(p.X(), p.Y(), p.Z());
            outParams[i] = sampled[i];
        }
        count = int(sampled.size());
        points = outPoints.release();
        params = outParams.release();
        return outcome();
    });
}
