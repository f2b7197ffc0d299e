// Points and line strips: a vertex, or the start of an edge or wire, as one point; an edge, or
// the first edge of a wire, sampled by the kernel into one line strip.
#include "TamCADLoader.h"

#include <orik/orik.h>
#include <tamsg/sglGeode.h>
#include <tamsg/sglLineStripSet.h>
#include <tamsg/sglLineWidth.h>
#include <tamsg/sglPointSet.h>
#include <tamsg/sglPointSize.h>

#include <cmath>

#include "mesh_manager.h"

namespace {

// Edge sampling: at most this many points; the kernel answers one more when it needs more.
constexpr int kMaxEdgePoints = 100;
constexpr float kPointSize = 5.0f;
constexpr float kLineWidth = 1.0f;
constexpr double kEdgeToleranceDivisor = 1000.0;

sglVec3<float> ToVec3f(const SPAposition& p) {
    return sglVec3<float>(static_cast<float>(p.x()), static_cast<float>(p.y()),
                          static_cast<float>(p.z()));
}

// The one overall color of a point or line set: the current color, opaque.
sglDeleteableDataPtr<sglVec4<float>>* OverallColor(const double rgb[3]) {
    auto* color = new sglVec4<float>[1];
    color[0].set(static_cast<float>(rgb[0]), static_cast<float>(rgb[1]), static_cast<float>(rgb[2]),
                 1.0f);
    return new sglDeleteableDataPtr<sglVec4<float>>(color);
}

}  // namespace

void CTamCADLoader::OrikVertexToVec3f(const VERTEX* vertex, sglVec3<float>& point) const {
    point = ToVec3f(vertex->position());
}

bool CTamCADLoader::OrikVertexToSgl(const VERTEX* vertex, sglGeode* geode) {
    if (geode == nullptr)
        return false;
    m_uiEntityKind = 4;
    if (vertex == nullptr)
        return false;
    sglVec3<float> point;
    OrikVertexToVec3f(vertex, point);
    AddPointSet(point, geode);
    return true;
}

bool CTamCADLoader::OrikVertexToSgl(const EDGE* edge, sglGeode* geode) {
    if (geode == nullptr)
        return false;
    m_uiEntityKind = 4;
    if (edge == nullptr)
        return false;
    // A degenerate edge may lack its vertex object; its start point still shows it.
    sglVec3<float> point = ToVec3f(edge->start_pos());
    if (edge->start() != nullptr)
        OrikVertexToVec3f(edge->start(), point);
    AddPointSet(point, geode);
    return true;
}

bool CTamCADLoader::OrikVertexToSgl(const WIRE* wire, sglGeode* geode) {
    if (geode == nullptr)
        return false;
    m_uiEntityKind = 4;
    if (wire == nullptr || wire->first_edge() == nullptr)
        return false;
    return OrikVertexToSgl(static_cast<const EDGE*>(wire->first_edge()), geode);
}

void CTamCADLoader::AddPointSet(const sglVec3<float>& point, sglGeode* geode) const {
    auto* position = new sglVec3<float>[1];
    position[0] = point;
    auto* points = new sglPointSet;
    points->setNumPrims(1);
    points->setCoordList(new sglDeleteableDataPtr<sglVec3<float>>(position), SGL_FLOAT, 3, 0, 0);
    points->setColorList(SGL_BIND_OVERALL, OverallColor(m_dColor), SGL_FLOAT, 4, 0, 0);
    points->setState(0, {new sglPointSize(kPointSize)});
    geode->addGeometry(points);
}

bool CTamCADLoader::OrikEdgeToSgl(const EDGE* edge, sglGeode* geode) {
    if (geode == nullptr)
        return false;
    m_bEdgeMeshed = true;
    m_uiEntityKind = 5;
    const double tolerance = EdgeSamplingTolerance(edge);
    int count = 0;
    SPAposition* samples = nullptr;
    double* parameters = nullptr;
    const outcome result = api_facet_edge(const_cast<EDGE*>(edge), tolerance, 0.0, 0.0,
                                          kMaxEdgePoints, count, samples, parameters, m_pOptions);
    // Exactly one point more than asked for means the edge needed a finer sampling.
    const bool accepted = result.ok() && count > 1 && count != kMaxEdgePoints + 1;
    if (accepted)
        AddLineStrip(samples, count, geode);
    delete[] samples;
    delete[] parameters;
    return accepted;
}

// The refinement's surface tolerance; without a usable one (no refinement was set up), a
// thousandth of the edge's own box diagonal, as the kernel does for faces without one.
double CTamCADLoader::EdgeSamplingTolerance(const EDGE* edge) const {
    if (m_pRefinement != nullptr && m_pRefinement->get_surface_tol() > 0.0)
        return m_pRefinement->get_surface_tol();
    SPAposition low;
    SPAposition high;
    if (!api_get_entity_box(const_cast<EDGE*>(edge), nullptr, low, high, 0, m_pOptions).ok())
        return 0.0;
    const double dx = high.x() - low.x();
    const double dy = high.y() - low.y();
    const double dz = high.z() - low.z();
    return std::sqrt(dx * dx + dy * dy + dz * dz) / kEdgeToleranceDivisor;
}

void CTamCADLoader::AddLineStrip(const SPAposition* samples, int count, sglGeode* geode) const {
    auto* positions = new sglVec3<float>[count];
    for (int i = 0; i < count; ++i)
        positions[i] = ToVec3f(samples[i]);
    auto* length = new unsigned int[1]{static_cast<unsigned int>(count)};
    auto* strip = new sglLineStripSet;
    strip->setNumPrims(1);
    strip->setPrimLengths(new sglDeleteableDataPtr<unsigned int>(length), 0, 0);
    strip->setCoordList(new sglDeleteableDataPtr<sglVec3<float>>(positions), SGL_FLOAT, 3, 0, 0);
    strip->setColorList(SGL_BIND_OVERALL, OverallColor(m_dColor), SGL_FLOAT, 4, 0, 0);
    strip->setState(0, {new sglLineWidth(kLineWidth)});
    geode->addGeometry(strip);
}

bool CTamCADLoader::OrikWireToSgl(const WIRE* wire, sglGeode* geode) {
    const EDGE* first = wire != nullptr ? wire->first_edge() : nullptr;
    if (first == nullptr)
        return false;
    return OrikEdgeToSgl(first, geode);
}

// Curves and points are the same operations on edges and wires; these pick the form.
bool CTamCADLoader::CurveToSgl(ENTITY* curve, sglGeode* geode) {
    if (is_EDGE(curve))
        return OrikEdgeToSgl(static_cast<EDGE*>(curve), geode);
    return OrikWireToSgl(static_cast<WIRE*>(curve), geode);
}

bool CTamCADLoader::CurveStartToSgl(ENTITY* curve, sglGeode* geode) {
    if (is_EDGE(curve))
        return OrikVertexToSgl(static_cast<const EDGE*>(curve), geode);
    return OrikVertexToSgl(static_cast<const WIRE*>(curve), geode);
}
