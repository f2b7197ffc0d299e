// Frames, selections and geometry entries of the product XML.
#include <tamfoundations/CTamIO.h>
#include <tamfoundations/CTamSGToXML.h>

#include "DrawableSharing.h"
#include "GeodeXml.h"
#include "GeometryFileStore.h"
#include "NumberText.h"

#include <tamgeometry/CTamGeomTools.h>
#include <tamsg/sglGeoSet.h>
#include <tamsg/sglGeode.h>
#include <tamsg/sglLOD.h>
#include <tamsg/sglTransform.h>
#include <tamsgdb/CTamUserData.h>
#include <tamsgdb/CTamUserDataGeoset.h>
#include <tamtools/CTamXmlParserNode.h>

#include <utility>

namespace {

const wchar_t* TypeName(const sglNode& node) {
    if (dynamic_cast<const sglLOD*>(&node)) {
        return L"sglLOD";
    }
    if (dynamic_cast<const sglTransform<float>*>(&node)) {
        return L"sglTransform";
    }
    if (dynamic_cast<const sglGroup*>(&node)) {
        return L"sglGroup";
    }
    return dynamic_cast<const sglGeode*>(&node) ? L"sglGeode" : L"sglNode";
}

unsigned int LevelOf(const sglGeoSet& drawable, unsigned int fallback) {
    const auto* pass = dynamic_cast<const CTamUserDataGeoset*>(drawable.getUserData());
    return pass ? pass->GetLevel() : fallback;
}

GeodeRecord RecordOf(const sglNode& named, const sglMat4<float>& placement) {
    GeodeRecord record;
    record.name = named.getName();
    record.userData = dynamic_cast<const CTamUserData*>(named.getUserData());
    record.placement = placement;
    return record;
}

void AddDrawables(const sglGeode& geode, unsigned int level, GeodeRecord& record) {
    for (unsigned int i = 0; i < geode.getNumGeometries(); ++i) {
        const sglGeoSet* drawable = geode.getGeometry(i);
        record.drawables.emplace_back(drawable, LevelOf(*drawable, level));
    }
}

// Collects the geodes below a node with their placements (p' = p x M, inner first). A
// level-of-detail node becomes one record holding the drawables of all its level geodes.
class GeodeCollector {
public:
    explicit GeodeCollector(bool recursive) : m_recursive(recursive) {}

    void visit(const sglNode& node, const sglMat4<float>& placement, bool top) {
        if (const auto* geode = dynamic_cast<const sglGeode*>(&node)) {
            GeodeRecord record = RecordOf(*geode, placement);
            AddDrawables(*geode, 0, record);
            records.push_back(std::move(record));
        } else if (const auto* lod = dynamic_cast<const sglLOD*>(&node)) {
            if (m_recursive || top) {
                visitLOD(*lod, placement);
            }
        } else if (const auto* group = dynamic_cast<const sglGroup*>(&node)) {
            if (m_recursive) {
                visitChildren(*group, placement);
            }
        }
    }

    std::vector<GeodeRecord> records;

private:
    void visitChildren(const sglGroup& group, const sglMat4<float>& placement) {
        for (unsigned int i = 0; i < group.getNumChildren(); ++i) {
            const sglNode* child = group.getChild(i);
            const auto* transform = dynamic_cast<const sglTransform<float>*>(child);
            visit(*child, transform ? transform->getMatrix() * placement : placement, false);
        }
    }

    void visitLOD(const sglLOD& lod, const sglMat4<float>& placement) {
        GeodeRecord record = RecordOf(lod, placement);
        for (unsigned int level = 0; level < lod.getNumChildren(); ++level) {
            const sglNode* child = lod.getChild(level);
            if (const auto* geode = dynamic_cast<const sglGeode*>(child)) {
                AddDrawables(*geode, level, record);
            } else {
                visit(*child, placement, false);
            }
        }
        records.push_back(std::move(record));
    }

    bool m_recursive;
};

sglMat4<float> BasePlacement(const sglNode& node, const CTamDBRoot* root) {
    if (root != nullptr) {
        return CTamGeomTools::GetMatTransform(&node);
    }
    const auto* transform = dynamic_cast<const sglTransform<float>*>(&node);
    return transform ? transform->getMatrix() : sglMat4<float>();
}

}  // namespace

bool CTamSGToXML::AddFrame(const std::shared_ptr<CTamXmlParserNode>& parent,
                           const sglMat4<float>& matrix, const CString& name) {
    if (!parent || parent->isEmpty()) {
        return false;
    }
    std::shared_ptr<CTamXmlParserNode> frame = parent->AddNode(name.str());
    return frame->AddAttribute(L"Matrix", FloatsToText(matrix.getPtr(), 16));
}

bool CTamSGToXML::AddSelectionToXMLDoc(const std::shared_ptr<CTamXmlParserNode>& parent,
                                       sglNode* node) {
    if (!parent || parent->isEmpty() || node == nullptr) {
        return false;
    }
    std::shared_ptr<CTamXmlParserNode> item = parent->AddNode(L"Selection")->AddNode(L"Node");
    item->AddAttribute(L"Name", node->getName());
    item->AddAttribute(L"Type", TypeName(*node));
    if (const auto* record = dynamic_cast<const CTamUserData*>(node->getUserData())) {
        item->AddAttribute(L"Guid", record->GetGuid());
    }
    return true;
}

bool CTamSGToXML::AddGeometryToXMLDoc(const std::shared_ptr<CTamXmlParserNode>& parent,
                                      sglNode* node, CTamDBRoot* root, const CString& geometryFile,
                                      bool base64, bool recursive,
                                      std::map<CString, unsigned int>& mapIdent) {
    if (!parent || parent->isEmpty() || node == nullptr) {
        return false;
    }
    GeodeCollector collector(recursive);
    collector.visit(*node, BasePlacement(*node, root), true);
    const CString ident = CTamIO::CreateGuid(TAM_GUID_BRACES);
    std::shared_ptr<CTamXmlParserNode> entry = parent->AddNode(L"Geometry");
    entry->AddAttribute(L"Ident", ident.str());
    std::shared_ptr<CTamXmlParserNode> target = entry;
    WrittenDrawables inlineDrawables;
    WrittenDrawables* written = &inlineDrawables;
    if (!geometryFile.IsEmpty()) {
        entry->AddAttribute(L"File", geometryFile.str());
        GeometryFileStore::SideDocument side =
            GeometryFileStore::Instance().Open(geometryFile.str());
        target = side.root->AddNode(L"Geometry");
        target->AddAttribute(L"Ident", ident.str());
        written = side.drawables;
    }
    for (const GeodeRecord& record : collector.records) {
        const CString geodeIdent = CTamIO::CreateGuid(record.name, mapIdent, GUID_TYPE_NODE, -1);
        WriteGeode(*target, record, geodeIdent.str(), base64, *written);
    }
    return true;
}

bool CTamSGToXML::WriteGeometryFiles(const CString& folder) {
    return GeometryFileStore::Instance().WriteAll(folder.str());
}

std::vector<CString> CTamSGToXML::GetPendingGeometryFiles() {
    std::vector<CString> names;
    for (const std::wstring& name : GeometryFileStore::Instance().Names()) {
        names.emplace_back(name);
    }
    return names;
}

void CTamSGToXML::DiscardGeometryFiles() {
    GeometryFileStore::Instance().Clear();
}
