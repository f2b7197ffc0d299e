#include "InfoPrinter.h"

#include "SceneWalk.h"

#include <platform/CodePage.h>
#include <tamsg/sglGeode.h>
#include <tamsg/sglGroup.h>
#include <tamsg/sglLineStripSet.h>
#include <tamsg/sglMonoIndexedTriangleStripSet.h>
#include <tamsg/sglPointSet.h>
#include <tamsg/sglTransform.h>
#include <tamsgdb/CTamUserData.h>

#include <string>

namespace tam {
namespace {

const char* entityKindName(unsigned int kind) {
    switch (kind) {
        case 1:
            return "solid";
        case 2:
            return "face";
        case 4:
            return "point";
        case 5:
            return "curve";
        default:
            return "none";
    }
}

class TreePrinter : public SceneVisitor {
public:
    explicit TreePrinter(std::ostream& out) : m_out(out) {}

    void enterNode(const sglNode& node, const sglMat4<float>&, unsigned int depth) override {
        const std::string indent(2 * depth, ' ');
        m_out << indent << nodeKind(node) << " \"" << utf8Name(node) << "\"";
        if (const auto* transform = dynamic_cast<const sglTransform<float>*>(&node))
            printTranslation(*transform);
        if (const auto* geode = dynamic_cast<const sglGeode*>(&node))
            printGeode(*geode);
        m_out << "\n";
        if (const auto* group = dynamic_cast<const sglGroup*>(&node)) {
            for (const auto& [name, value] : group->getMetaProperties())
                m_out << indent << "  meta " << WideToUtf8Replacing(name) << " = "
                      << WideToUtf8Replacing(value) << "\n";
        }
    }

private:
    void printTranslation(const sglTransform<float>& transform) {
        const sglVec3<float> t = transform.getMatrix().getTranslation();
        m_out << "  at (" << t[0] << ", " << t[1] << ", " << t[2] << ")";
    }

    void printGeode(const sglGeode& geode) {
        if (const auto* record = dynamic_cast<const CTamUserData*>(geode.getUserData())) {
            m_out << "  kind " << entityKindName(record->GetEntityKind());
            if (record->GetLayer() >= 0)
                m_out << "  layer " << record->GetLayer();
            m_out << (record->GetVisible() ? "  visible" : "  hidden");
            if (record->GetArea() >= 0.0f)
                m_out << "  area " << record->GetArea();
            if (record->GetVolume() >= 0.0f)
                m_out << "  volume " << record->GetVolume();
        }
        printPrimitiveCounts(geode);
    }

    void printPrimitiveCounts(const sglGeode& geode) {
        size_t triangles = 0, lines = 0, points = 0;
        for (const sglGeoSet* drawable : finestDrawables(geode)) {
            if (const auto* strips = dynamic_cast<const sglMonoIndexedTriangleStripSet*>(drawable))
                triangles += strips->getNumTriangles();
            else if (dynamic_cast<const sglLineStripSet*>(drawable) != nullptr)
                lines += drawable->getNumPrims();
            else if (dynamic_cast<const sglPointSet*>(drawable) != nullptr)
                points += drawable->getNumPrims();
        }
        if (triangles > 0)
            m_out << "  triangles " << triangles;
        if (lines > 0)
            m_out << "  line strips " << lines;
        if (points > 0)
            m_out << "  points " << points;
        if (levelCount(geode) > 1)
            m_out << "  levels " << levelCount(geode);
    }

    std::ostream& m_out;
};

}  // namespace

void printSceneTree(std::ostream& out, const sglNode* root) {
    if (root == nullptr) {
        out << "(empty scene)\n";
        return;
    }
    TreePrinter printer(out);
    walkScene(root, printer, LevelChoice::All);
}

}  // namespace tam
