#include "MeshDecimator.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace orik {
namespace facet {

namespace {

bool holds(const std::array<int, 3>& t, int node) {
    return t[0] == node || t[1] == node || t[2] == node;
}

std::array<int, 3> replaced(std::array<int, 3> t, int from, int to) {
    for (int& k : t)
        k = k == from ? to : k;
    return t;
}

}  // namespace

Handle(Poly_Triangulation) MeshDecimator::Decimate(const Poly_Triangulation& fine,
                                                   const Handle(Geom_Surface) & surface,
                                                   const std::vector<NodeRole>& roles,
                                                   double budget, double maxTurnCos) {
    const int nodes = fine.NbNodes();
    failedNode_ = -1;
    if (!fine.HasUVNodes() || surface.IsNull())
        return Handle(Poly_Triangulation)();
    surface_.Load(surface);
    seen_.assign(size_t(nodes), 0);
    stamp_ = 0;
    uv_.resize(size_t(nodes));
    for (int i = 0; i < nodes; ++i)
        uv_[size_t(i)] = fine.UVNode(i + 1).XY();
    roles_ = &roles;
    budget_ = budget;
    maxTurnCos_ = maxTurnCos;
    positions_.resize(size_t(nodes));
    normals_.assign(fine.HasNormals() ? size_t(nodes) : 0, gp_XYZ());
    for (int i = 0; i < nodes; ++i) {
        positions_[size_t(i)] = fine.Node(i + 1).XYZ();
        if (fine.HasNormals())
            normals_[size_t(i)] = fine.Normal(i + 1).XYZ();
    }
    triangles_.resize(size_t(fine.NbTriangles()));
    alive_.assign(triangles_.size(), 1);
    around_.assign(size_t(nodes), {});
    mergedInto_.assign(size_t(nodes), -1);
    double area = 0.0;
    for (size_t t = 0; t < triangles_.size(); ++t) {
        std::array<int, 3>& v = triangles_[t];
        fine.Triangle(int(t) + 1).Get(v[0], v[1], v[2]);
        for (int& k : v)
            --k;
        if (v[0] == v[1] || v[1] == v[2] || v[2] == v[0]) {
            alive_[t] = 0;
            continue;
        }
        for (int k : v)
            around_[size_t(k)].push_back(int(t));
        area += uvArea(v);
    }
    uvSign_ = area < 0.0 ? -1.0 : 1.0;
    for (int v = 0; v < nodes; ++v) {
        const NodeRole& role = roles[size_t(v)];
        if (role.kind == NodeRole::Dropped && !collapse(v, representative(role.previous)) &&
            !collapse(v, representative(role.next))) {
            failedNode_ = v;
            return Handle(Poly_Triangulation)();
        }
    }
    collapseInnerNodes();
    return result(fine);
}

// Inner nodes, each onto its nearest neighbour that fits: a first round in node order, a second,
// for those that fit only once their neighbours moved, from the shortest edge on.
void MeshDecimator::collapseInnerNodes() {
    const std::vector<NodeRole>& roles = *roles_;
    std::vector<std::pair<double, int>> order;
    for (int v = 0; v < int(roles.size()); ++v) {
        if (roles[size_t(v)].kind == NodeRole::Inner && !around_[size_t(v)].empty())
            order.emplace_back(0.0, v);
    }
    std::vector<std::pair<double, int>> neighbours;
    for (int round = 0; round < 2; ++round) {
        for (auto& entry : order) {
            neighbours.clear();
            const int v = entry.second;
            if (mergedInto_[size_t(v)] >= 0)
                continue;
            for (int t : around_[size_t(v)]) {
                if (!alive_[size_t(t)])
                    continue;
                for (int k : triangles_[size_t(t)]) {
                    if (k != v)
                        neighbours.emplace_back(
                            (positions_[size_t(k)] - positions_[size_t(v)]).SquareModulus(), k);
                }
            }
            std::sort(neighbours.begin(), neighbours.end());
            neighbours.erase(std::unique(neighbours.begin(), neighbours.end()), neighbours.end());
            entry.first = neighbours.empty() ? 0.0 : neighbours.front().first;
            for (const auto& neighbour : neighbours) {
                if (collapse(v, neighbour.second))
                    break;
            }
        }
        std::sort(order.begin(), order.end());
    }
}

int MeshDecimator::representative(int node) const {
    while (node >= 0 && mergedInto_[size_t(node)] >= 0)
        node = mergedInto_[size_t(node)];
    return node;
}

bool MeshDecimator::collapse(int node, int target) {
    if (target < 0 || target == node || !fits(node, target))
        return false;
    for (int t : fan_) {
        if (holds(triangles_[size_t(t)], target)) {
            alive_[size_t(t)] = 0;
            continue;
        }
        triangles_[size_t(t)] = replaced(triangles_[size_t(t)], node, target);
        around_[size_t(target)].push_back(t);
    }
    mergedInto_[size_t(node)] = target;
    around_[size_t(node)].clear();
    std::vector<int>& kept = around_[size_t(target)];
    kept.erase(
        std::remove_if(kept.begin(), kept.end(), [this](int t) { return !alive_[size_t(t)]; }),
        kept.end());
    return true;
}

// Whether node may go onto target: the edge between them exists and is the only link of the two
// (no fold in the topology), and no new triangle is degenerate, folds over (in space or in the
// surface's parameters), turns away from the nodes' normals or leaves the surface by more than
// the budget at its centre or at the middle of a new edge.
bool MeshDecimator::fits(int node, int target) {
    fan_.clear();
    shared_.clear();
    for (int t : around_[size_t(node)]) {
        if (!alive_[size_t(t)])
            continue;
        fan_.push_back(t);
        if (holds(triangles_[size_t(t)], target))
            shared_.push_back(t);
    }
    if (shared_.empty())
        return false;
    for (int t : fan_) {
        if (holds(triangles_[size_t(t)], target))
            continue;
        const std::array<int, 3> after = replaced(triangles_[size_t(t)], node, target);
        const gp_XYZ before = triangleNormal(triangles_[size_t(t)]), now = triangleNormal(after);
        const double length = now.Modulus();
        if (!(length > 1e-300) || before.Dot(now) <= 0.0 || uvArea(after) * uvSign_ <= 0.0)
            return false;
        for (int k : after) {
            if (!normals_.empty() && normals_[size_t(k)].Dot(now) < maxTurnCos_ * length)
                return false;
        }
    }
    return linkHolds(node, target) && staysNearSurface(node, target);
}

// The new triangles' centres and the middles of the new edges (each once) stay within the budget.
bool MeshDecimator::staysNearSurface(int node, int target) {
    for (int t : fan_) {
        if (holds(triangles_[size_t(t)], target))
            continue;
        const std::array<int, 3> after = replaced(triangles_[size_t(t)], node, target);
        if (deviation(after[0], after[1], after[2], 1.0 / 3.0) > budget_)
            return false;
        for (int k : after) {
            if (k == target || seen_[size_t(k)] == -stamp_)
                continue;
            seen_[size_t(k)] = -stamp_;  // the new edge target-k is checked once
            if (deviation(target, k, k, 0.5) > budget_)
                return false;
        }
    }
    return true;
}

// Distance between the point of the mesh and the point of the surface at the same barycentric
// place (weight w on a, the rest shared by b and c): a bound of the mesh's distance there.
double MeshDecimator::deviation(int a, int b, int c, double w) const {
    const double rest = (1.0 - w) / 2.0;
    const gp_XYZ point =
        positions_[size_t(a)] * w + (positions_[size_t(b)] + positions_[size_t(c)]) * rest;
    const gp_XY uv = uv_[size_t(a)] * w + (uv_[size_t(b)] + uv_[size_t(c)]) * rest;
    return surface_.Value(uv.X(), uv.Y()).XYZ().Subtracted(point).Modulus();
}

double MeshDecimator::uvArea(const std::array<int, 3>& t) const {
    const gp_XY& a = uv_[size_t(t[0])];
    return (uv_[size_t(t[1])] - a).Crossed(uv_[size_t(t[2])] - a);
}

// The nodes next to both node and target are exactly the third nodes of their shared triangles.
bool MeshDecimator::linkHolds(int node, int target) {
    ++stamp_;
    for (int t : around_[size_t(target)]) {
        if (!alive_[size_t(t)])
            continue;
        for (int k : triangles_[size_t(t)])
            seen_[size_t(k)] = stamp_;
    }
    counts_.clear();  // neighbours of node, times met
    for (int t : fan_) {
        for (int k : triangles_[size_t(t)]) {
            if (k == node)
                continue;
            auto found = std::find_if(counts_.begin(), counts_.end(),
                                      [k](const std::pair<int, int>& c) { return c.first == k; });
            if (found == counts_.end())
                counts_.emplace_back(k, 1);
            else
                ++found->second;
        }
    }
    size_t common = 0;
    bool onBoundary = false;
    for (const auto& c : counts_) {
        onBoundary = onBoundary || c.second == 1;
        if (c.first != target && seen_[size_t(c.first)] == stamp_)
            ++common;
    }
    // A boundary node moves along a boundary edge only; an inner one never sits on the boundary.
    if (onBoundary && (shared_.size() != 1 || (*roles_)[size_t(node)].kind == NodeRole::Inner))
        return false;
    return common == shared_.size();
}

gp_XYZ MeshDecimator::triangleNormal(const std::array<int, 3>& t) const {
    const gp_XYZ& a = positions_[size_t(t[0])];
    return (positions_[size_t(t[1])] - a).Crossed(positions_[size_t(t[2])] - a);
}

Handle(Poly_Triangulation) MeshDecimator::result(const Poly_Triangulation& fine) const {
    std::vector<int> renumbered(positions_.size(), 0);
    int nodes = 0, triangles = 0;
    for (size_t t = 0; t < triangles_.size(); ++t) {
        if (!alive_[t])
            continue;
        ++triangles;
        for (int k : triangles_[t])
            renumbered[size_t(k)] = 1;
    }
    for (int& r : renumbered)
        r = r ? ++nodes : 0;
    Handle(Poly_Triangulation) coarse =
        new Poly_Triangulation(nodes, triangles, fine.HasUVNodes(), fine.HasNormals());
    for (size_t i = 0; i < renumbered.size(); ++i) {
        const int r = renumbered[i];
        if (r == 0)
            continue;
        coarse->SetNode(r, fine.Node(int(i) + 1));
        if (fine.HasUVNodes())
            coarse->SetUVNode(r, fine.UVNode(int(i) + 1));
        if (fine.HasNormals())
            coarse->SetNormal(r, fine.Normal(int(i) + 1));
    }
    int index = 0;
    for (size_t t = 0; t < triangles_.size(); ++t) {
        if (!alive_[t])
            continue;
        const std::array<int, 3>& v = triangles_[t];
        coarse->SetTriangle(++index,
                            Poly_Triangle(renumbered[size_t(v[0])], renumbered[size_t(v[1])],
                                          renumbered[size_t(v[2])]));
    }
    return coarse;
}

}  // namespace facet
}  // namespace orik
