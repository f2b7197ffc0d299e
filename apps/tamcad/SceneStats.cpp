#include "SceneStats.h"

#include "SceneWalk.h"

#include <tamsg/sglGeode.h>
#include <tamsg/sglLOD.h>
#include <tamsg/sglLineStripSet.h>
#include <tamsg/sglMonoIndexedTriangleStripSet.h>
#include <tamsg/sglPointSet.h>

#include <algorithm>
#include <iomanip>

namespace tam {
namespace {

// Nodes, geodes and levels over every level of detail.
class StructureCounter : public SceneVisitor {
public:
    explicit StructureCounter(SceneStats& stats) : m_stats(stats) {}

    void enterNode(const sglNode& node, const sglMat4<float>&, unsigned int) override {
        ++m_stats.nodes;
        m_stats.levels = std::max(m_stats.levels, 1u);
        if (const auto* lod = dynamic_cast<const sglLOD*>(&node))
            m_stats.levels = std::max(m_stats.levels, lod->getNumChildren());
        if (const auto* geode = dynamic_cast<const sglGeode*>(&node)) {
            ++m_stats.geodes;
            m_stats.levels = std::max(m_stats.levels, levelCount(*geode));
        }
    }

private:
    SceneStats& m_stats;
};

// Primitives of the finest level.
class PrimitiveCounter : public SceneVisitor {
public:
    explicit PrimitiveCounter(SceneStats& stats) : m_stats(stats) {}

    void enterNode(const sglNode& node, const sglMat4<float>&, unsigned int) override {
        const auto* geode = dynamic_cast<const sglGeode*>(&node);
        if (geode == nullptr)
            return;
        for (const sglGeoSet* drawable : finestDrawables(*geode)) {
            if (const auto* strips =
                    dynamic_cast<const sglMonoIndexedTriangleStripSet*>(drawable)) {
                m_stats.triangles += strips->getNumTriangles();
                m_stats.strips += strips->getNumPrims();
                m_stats.indices += strips->getNumIndices();
            } else if (dynamic_cast<const sglLineStripSet*>(drawable) != nullptr) {
                m_stats.lineStrips += drawable->getNumPrims();
            } else if (dynamic_cast<const sglPointSet*>(drawable) != nullptr) {
                m_stats.points += drawable->getNumPrims();
            }
        }
    }

private:
    SceneStats& m_stats;
};

}  // namespace

double SceneStats::indicesPerTriangle() const {
    return triangles == 0 ? 0.0 : static_cast<double>(indices) / static_cast<double>(triangles);
}

SceneStats collectStats(const sglNode* root) {
    SceneStats stats;
    StructureCounter structure(stats);
    walkScene(root, structure, LevelChoice::All);
    PrimitiveCounter primitives(stats);
    walkScene(root, primitives, LevelChoice::Finest);
    return stats;
}

void printSummary(std::ostream& out, const std::string& file, const SceneStats& stats,
                  double seconds) {
    const auto line = [&out](const char* label) -> std::ostream& {
        return out << "  " << std::left << std::setw(22) << label;
    };
    out << "imported " << file << "\n";
    line("nodes") << stats.nodes << "\n";
    line("geodes") << stats.geodes << "\n";
    line("triangles") << stats.triangles << "\n";
    line("strips") << stats.strips << "\n";
    line("indices per triangle") << std::fixed << std::setprecision(2) << stats.indicesPerTriangle()
                                 << "\n";
    line("line strips") << stats.lineStrips << "\n";
    line("points") << stats.points << "\n";
    line("levels of detail") << stats.levels << "\n";
    line("seconds") << std::setprecision(3) << seconds << "\n";
    out << std::defaultfloat << std::right;
}

}  // namespace tam
