#include "CoarseLevels.h"

#include "MeshDecimator.h"
#include "UnheldFaces.h"

#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <OSD_Parallel.hxx>
#include <Poly_PolygonOnTriangulation.hxx>
#include <Standard_Failure.hxx>
#include <TopExp_Explorer.hxx>
#include <TopLoc_Location.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <unordered_set>
#include <utility>

namespace orik {
namespace facet {

namespace {

// Rounds of keeping whole the edges of faces that could not be coarsened.
constexpr int kRounds = 8;

Handle(Poly_Triangulation) triangulationOf(const TopoDS_Face& face) {
    TopLoc_Location location;
    return BRep_Tool::Triangulation(face, location);
}

bool hasSurface(const TopoDS_Face& face) {
    TopLoc_Location location;
    return !BRep_Tool::Surface(face, location).IsNull();
}

double segmentDistance(const gp_XYZ& p, const gp_XYZ& a, const gp_XYZ& b) {
    const gp_XYZ ab = b - a;
    const double length = ab.SquareModulus();
    const double t = length > 0.0 ? std::clamp((p - a).Dot(ab) / length, 0.0, 1.0) : 0.0;
    return (p - (a + ab * t)).Modulus();
}

// Which points of a polyline stay (Douglas-Peucker): the ends, and recursively the point
// farthest from the chord while it is farther than the budget.
std::vector<bool> thinned(const std::vector<gp_XYZ>& points, double budget) {
    std::vector<bool> kept(points.size(), false);
    kept.front() = kept.back() = true;
    std::vector<std::pair<size_t, size_t>> spans{{0, points.size() - 1}};
    while (!spans.empty()) {
        const auto [first, last] = spans.back();
        spans.pop_back();
        double farthest = budget;
        size_t at = first;
        for (size_t i = first + 1; i < last; ++i) {
            const double d = segmentDistance(points[i], points[first], points[last]);
            if (d > farthest) {
                farthest = d;
                at = i;
            }
        }
        if (at == first)
            continue;
        kept[at] = true;
        spans.emplace_back(first, at);
        spans.emplace_back(at, last);
    }
    return kept;
}

}  // namespace

void CoarseLevels::Remember(const std::vector<TopoDS_Face>& faces,
                            const MeshParameters& parameters) {
    for (const TopoDS_Face& face : faces) {
        Handle(Poly_Triangulation) mesh = triangulationOf(face);
        if (mesh.IsNull() || mesh->NbTriangles() == 0 || !hasSurface(face))
            continue;
        Entry entry{face.Located(TopLoc_Location()), mesh, {}, parameters};
        for (TopExp_Explorer it(face, TopAbs_EDGE); it.More(); it.Next()) {
            const TopoDS_Edge& edge = TopoDS::Edge(it.Current());
            TopLoc_Location location;
            const Handle(Poly_PolygonOnTriangulation) polygon =
                BRep_Tool::PolygonOnTriangulation(edge, mesh, location);
            if (polygon.IsNull())
                continue;
            Polygon boundary{edge.TShape().get(), {}, BRep_Tool::Degenerated(edge)};
            for (Standard_Integer i = 1; i <= polygon->NbNodes(); ++i)
                boundary.nodes.push_back(polygon->Node(i));
            // Nodes run along the edge's parameter, whichever face they belong to.
            if (polygon->HasParameters() && polygon->NbNodes() > 1 &&
                polygon->Parameter(1) > polygon->Parameter(polygon->NbNodes()))
                std::reverse(boundary.nodes.begin(), boundary.nodes.end());
            entry.boundary.push_back(std::move(boundary));
        }
        entries_[face.TShape().get()] = std::move(entry);
    }
    SweepUnheldFaces(entries_, sizeAtLastSweep_);
}

const CoarseLevels::Entry* CoarseLevels::usableEntry(const TopoDS_Face& face,
                                                     const MeshParameters& parameters) const {
    const auto found = entries_.find(face.TShape().get());
    if (found == entries_.end())
        return nullptr;
    const MeshParameters& made = found->second.parameters;
    const bool usable = made.linearDeflection < parameters.linearDeflection &&
                        made.angularDeflectionDeg == parameters.angularDeflectionDeg &&
                        !(made.maxEdgeLength > 0.0) && !(parameters.maxEdgeLength > 0.0);
    return usable ? &found->second : nullptr;
}

bool CoarseLevels::Derive(const std::vector<TopoDS_Face>& faces,
                          const MeshParameters& parameters) const {
    std::vector<const Entry*> sources;
    std::vector<TopoDS_Face> targets;
    for (const TopoDS_Face& face : faces) {
        if (!hasSurface(face))
            continue;
        const Entry* entry = usableEntry(face, parameters);
        if (entry == nullptr)
            return false;
        sources.push_back(entry);
        targets.push_back(face);
    }
    if (sources.empty())
        return false;
    EdgeChoices choices;
    for (const Entry* entry : sources)
        choose(*entry, parameters.linearDeflection - entry->parameters.linearDeflection, choices);
    std::vector<Handle(Poly_Triangulation)> coarse(sources.size());
    std::vector<char> pending(sources.size(), 1);
    for (int round = 0; round < kRounds; ++round) {
        std::vector<int> failed(sources.size(), -1);
        OSD_Parallel::For(
            0, int(sources.size()),
            [&](int i) {
                if (!pending[size_t(i)])
                    return;
                const Entry& entry = *sources[size_t(i)];
                coarse[size_t(i)] = coarsen(entry, choices, parameters, failed[size_t(i)]);
            },
            !parameters.inParallel);
        if (!keepEdgesWhole(sources, failed, round >= kRounds / 4, choices, pending))
            break;
    }
    if (std::any_of(coarse.begin(), coarse.end(),
                    [](const Handle(Poly_Triangulation) & t) { return t.IsNull(); }))
        return false;
    for (size_t i = 0; i < targets.size(); ++i)
        BRep_Builder().UpdateFace(targets[i], coarse[i]);
    return true;
}

// An edge with a node that a face could not lose keeps all its nodes (with allEdges, every edge
// of such a face); the faces along such edges are then coarsened again (pending). False when no
// face failed.
bool CoarseLevels::keepEdgesWhole(const std::vector<const Entry*>& sources,
                                  const std::vector<int>& failed, bool allEdges,
                                  EdgeChoices& choices, std::vector<char>& pending) {
    std::unordered_set<const TopoDS_TShape*> whole;
    for (size_t i = 0; i < sources.size(); ++i) {
        if (failed[i] < 0)
            continue;
        for (const Polygon& polygon : sources[i]->boundary) {
            const bool holdsNode = allEdges || std::find(polygon.nodes.begin(), polygon.nodes.end(),
                                                         failed[i] + 1) != polygon.nodes.end();
            std::vector<bool>& kept = choices[polygon.edge];
            if (holdsNode && whole.insert(polygon.edge).second)
                kept.assign(kept.size(), true);
        }
    }
    if (whole.empty())
        return false;
    for (size_t i = 0; i < sources.size(); ++i) {
        const auto& boundary = sources[i]->boundary;
        pending[i] = std::any_of(boundary.begin(), boundary.end(),
                                 [&whole](const Polygon& p) { return whole.count(p.edge) > 0; });
    }
    return true;
}

// Thins each edge's discretisation once, from the first face that holds it.
void CoarseLevels::choose(const Entry& entry, double budget, EdgeChoices& choices) {
    for (const Polygon& polygon : entry.boundary) {
        if (choices.count(polygon.edge) > 0)
            continue;
        if (polygon.degenerated || polygon.nodes.size() < 3) {
            choices[polygon.edge] = std::vector<bool>(polygon.nodes.size(), true);
            continue;
        }
        std::vector<gp_XYZ> points;
        for (int node : polygon.nodes)
            points.push_back(entry.mesh->Node(node).XYZ());
        choices[polygon.edge] = thinned(points, budget);
    }
}

Handle(Poly_Triangulation) CoarseLevels::coarsen(const Entry& entry, const EdgeChoices& choices,
                                                 const MeshParameters& parameters,
                                                 int& failedNode) {
    failedNode = -1;
    std::vector<NodeRole> roles(size_t(entry.mesh->NbNodes()));
    for (const Polygon& polygon : entry.boundary) {
        const auto found = choices.find(polygon.edge);
        if (found == choices.end() || found->second.size() != polygon.nodes.size())
            return Handle(Poly_Triangulation)();
        const std::vector<bool>& kept = found->second;
        for (size_t i = 0; i < kept.size(); ++i) {
            NodeRole& role = roles[size_t(polygon.nodes[i] - 1)];
            if (kept[i] || role.kind == NodeRole::Kept) {
                role = NodeRole{NodeRole::Kept, -1, -1};
            } else {
                role =
                    NodeRole{NodeRole::Dropped, polygon.nodes[i - 1] - 1, polygon.nodes[i + 1] - 1};
            }
        }
    }
    // Normals turned by more than a right angle are folds, which the decimator refuses anyway.
    const double maxTurnCos = parameters.angularDeflectionDeg < 90.0
                                  ? std::cos(parameters.angularDeflectionDeg * M_PI / 180.0)
                                  : -2.0;
    try {
        thread_local MeshDecimator decimator;
        Handle(Poly_Triangulation) coarse =
            decimator.Decimate(*entry.mesh, BRep_Tool::Surface(TopoDS::Face(entry.face)), roles,
                               parameters.linearDeflection, maxTurnCos);
        if (coarse.IsNull())
            failedNode = std::max(decimator.FailedNode(), 0);
        else
            coarse->Deflection(parameters.linearDeflection);
        return coarse;
    } catch (const Standard_Failure&) {
        failedNode = 0;
        return Handle(Poly_Triangulation)();
    }
}

}  // namespace facet
}  // namespace orik
