// The EBOM's part list and placement matrices: References, Documents, the instance walk, the
// Position format and the assembly box.
#include "ebom_parser.h"

#include "AssemblyXmlPrivate.h"
#include "TamCADLoader.h"
#include "ebom_parserPrivate.h"

#include <orik/ENTITY_LIST.h>
#include <tamsgdb/sglModelLoader.h>
#include <tamtools/CTamXmlParserNode.h>

void CTamEBOMParser::GetListOkt() {
    std::wstring assemblyPath;
    if (!tam_assembly::ReadStructure(m_pNodeEBOM, assemblyPath, m_lstReferences, m_lstInstances))
        return;
    m_mapReferenceShape = tam_assembly::ReferenceShapes(m_lstReferences);
    AddOktToMapOktMatrix(m_lstInstances);
    m_mapDocumentPath = tam_assembly::DocumentPaths(m_pNodeEBOM->GetNodesByTag(L"Document"),
                                                    assemblyPath, m_pMetaProperties);
}

void CTamEBOMParser::AddOktToMapOktMatrix(std::list<std::shared_ptr<CTamXmlParserNode>> instances) {
    if (IsTooDeep(static_cast<unsigned int>(m_lstMatrixStack.size())))
        return;
    for (const auto& instance : instances) {
        if (instance == nullptr)
            continue;
        sglMat4<float> local;
        if (!SetMatrix(instance->GetNodeByTag(L"Position"), local))
            continue;
        auto children = instance->GetNodesByTag(L"Child");
        if (children.empty()) {
            const std::wstring id = instance->GetNodeByTag(L"RefLink")->GetAttributeValue(L"Id");
            if (m_mapReferenceShape.count(id) != 0)
                m_mapOktMatrix.emplace(id, ComputeMatrix(local));
            continue;
        }
        m_lstMatrixStack.push_back(local);
        AddOktToMapOktMatrix(std::move(children));
        m_lstMatrixStack.pop_back();
    }
}

bool CTamEBOMParser::SetMatrix(std::shared_ptr<CTamXmlParserNode> position,
                               sglMat4<float>& out) const {
    return tam_assembly::ReadPosition(position, out);
}

sglMat4<float> CTamEBOMParser::ComputeMatrix(sglMat4<float>& local) {
    sglMat4<float> enclosing;
    for (const sglMat4<float>& placement : m_lstMatrixStack)
        enclosing = placement * enclosing;
    return local * enclosing;
}

sglVec3<float> CTamEBOMParser::GetTransformedPoint(const sglMat4<float>& m,
                                                   const sglVec3<float>& p) {
    const float x = p[0], y = p[1], z = p[2];
    float tx = x * m[0] + y * m[4] + z * m[8] + m[12];
    float ty = x * m[1] + y * m[5] + z * m[9] + m[13];
    float tz = x * m[2] + y * m[6] + z * m[10] + m[14];
    const float w = x * m[3] + y * m[7] + z * m[11] + m[15];
    if (w != 0.0f) {
        tx /= w;
        ty /= w;
        tz /= w;
    }
    return sglVec3<float>(tx, ty, tz);
}

void CTamEBOMParser::BBoxTransform(const sglMat4<float>& m, const sglVec3<float>& a,
                                   const sglVec3<float>& b, sglBoxBound& box) {
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            for (int k = 0; k < 2; ++k) {
                const sglVec3<float> corner(i ? a[0] : b[0], j ? a[1] : b[1], k ? a[2] : b[2]);
                box.expandToInclude(GetTransformedPoint(m, corner));
            }
        }
    }
}

sglBoxBound CTamEBOMParser::GetBBox() {
    sglBoxBound box(sglVec3<float>(0, 0, 0), sglVec3<float>(0, 0, 0));
    if (m_pLoader == nullptr)
        return box;
    // A part placed many times is measured by the kernel once.
    std::map<ENTITY_LIST*, sglBoxBound> partBoxes;
    for (const auto& placement : m_mapOktMatrix) {
        std::wstring partKey = placement.first;
        if (m_bUsePathOktAsMapEntitiesKey) {
            const auto shape = m_mapReferenceShape.find(placement.first);
            if (shape == m_mapReferenceShape.end())
                continue;
            partKey = shape->second;
        }
        const auto part = m_mapEntities.find(partKey);
        if (part == m_mapEntities.end() || part->second.pEntities == nullptr)
            continue;
        ENTITY_LIST* entities = part->second.pEntities;
        auto measured = partBoxes.find(entities);
        if (measured == partBoxes.end())
            measured = partBoxes.emplace(entities, m_pLoader->GetBBox(*entities)).first;
        BBoxTransform(placement.second, measured->second.getMin(), measured->second.getMax(), box);
    }
    if (m_pEntityListAssembly != nullptr) {
        const sglBoxBound own = m_pLoader->GetBBox(*m_pEntityListAssembly);
        BBoxTransform(sglMat4<float>(), own.getMin(), own.getMax(), box);
    }
    return box;
}
