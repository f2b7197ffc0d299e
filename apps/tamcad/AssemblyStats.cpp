#include "AssemblyStats.h"

#include "SceneWalk.h"

#include <tamsg/sglGeode.h>
#include <tamsg/sglMonoIndexedTriangleStripSet.h>
#include <tamsg/sglTransform.h>

#include <iomanip>
#include <set>
#include <vector>

namespace tam {
namespace {

// Finest drawables below one part node.
class PartDrawables : public SceneVisitor {
public:
    void enterNode(const sglNode& node, const sglMat4<float>&, unsigned int) override {
        if (const auto* geode = dynamic_cast<const sglGeode*>(&node)) {
            for (const sglGeoSet* drawable : finestDrawables(*geode))
                drawables.push_back(drawable);
        }
    }
    std::vector<const sglGeoSet*> drawables;
};

size_t trianglesOf(const std::vector<const sglGeoSet*>& drawables) {
    size_t count = 0;
    for (const sglGeoSet* drawable : drawables) {
        if (const auto* strips = dynamic_cast<const sglMonoIndexedTriangleStripSet*>(drawable))
            count += strips->getNumTriangles();
    }
    return count;
}

class PartCounter : public SceneVisitor {
public:
    explicit PartCounter(AssemblyStats& stats) : m_stats(stats) {}

    void enterNode(const sglNode& node, const sglMat4<float>&, unsigned int depth) override {
        if (m_partLevels > 0) {
            ++m_partLevels;
            return;
        }
        if (depth == 0 || dynamic_cast<const sglTransform<float>*>(&node) != nullptr)
            return;
        m_partLevels = 1;
        PartDrawables part;
        walkScene(&node, part, LevelChoice::Finest);
        const size_t triangles = trianglesOf(part.drawables);
        ++m_stats.instances;
        m_stats.trianglesPlaced += triangles;
        if (m_parts.insert(part.drawables).second) {
            ++m_stats.distinctMeshes;
            m_stats.trianglesMeshed += triangles;
        }
    }

    void leaveNode(const sglNode&) override {
        if (m_partLevels > 0)
            --m_partLevels;
    }

private:
    AssemblyStats& m_stats;
    unsigned int m_partLevels = 0;
    std::set<std::vector<const sglGeoSet*>> m_parts;
};

}  // namespace

AssemblyStats collectAssemblyStats(const sglNode* root) {
    AssemblyStats stats;
    PartCounter counter(stats);
    walkScene(root, counter, LevelChoice::Finest);
    return stats;
}

void printAssemblySummary(std::ostream& out, const std::string& file, const std::string& road,
                          const AssemblyStats& stats, size_t listedParts, double seconds) {
    const auto line = [&out](const char* label) -> std::ostream& {
        return out << "  " << std::left << std::setw(22) << label;
    };
    out << "imported " << file << " (" << road << ")\n";
    line("instances") << stats.instances << "\n";
    line("distinct parts") << listedParts << "\n";
    line("parts meshed") << stats.distinctMeshes << "\n";
    line("triangles") << stats.trianglesPlaced << " placed, " << stats.trianglesMeshed
                      << " meshed\n";
    line("seconds") << std::fixed << std::setprecision(3) << seconds << "\n";
    out << std::defaultfloat << std::right;
}

}  // namespace tam
