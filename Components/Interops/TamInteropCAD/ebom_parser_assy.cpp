// The EBOM's assembly tree: one transform per instance, a clone of the meshed part under each
// leaf, and the same structure in the product XML.
#include "ebom_parser.h"

#include "AssemblyXmlPrivate.h"
#include "TamCADLoader.h"
#include "ebom_parserPrivate.h"

#include <tamfoundations/CTamIO.h>
#include <tamsg/sglGroup.h>
#include <tamsg/sglTransform.h>
#include <tamsgdb/sglModelLoader.h>
#include <tamtools/CTamXmlParserNode.h>

#include <string>

namespace {

using tam_ebom::NodeRef;

std::wstring ValueOr(const std::map<std::wstring, std::wstring>& map, const std::wstring& key) {
    const auto found = map.find(key);
    return found != map.end() ? found->second : std::wstring();
}

}  // namespace

sglGroup* CTamEBOMParser::BuildAssy() {
    const auto structure = tam_assembly::FindStructure(m_pNodeEBOM);
    if (structure == nullptr)
        return nullptr;
    const auto rootElement = structure->GetNodeByTag(L"Root");
    if (rootElement->isEmpty() || structure->GetNodesByTag(L"Reference").empty())
        return nullptr;
    const auto instances = rootElement->getChildNodes();
    if (instances.empty())
        return nullptr;
    const std::wstring rootName = rootElement->GetAttributeValue(L"Name");

    std::shared_ptr<CTamXmlParserNode> assyRoot;
    if (m_pDocRVD != nullptr && m_pNodeDocumentRVD != nullptr) {
        const auto server = m_pNodeDocumentRVD->AddNode(L"Server");
        server->AddAttribute(L"Type", L"CTamServerModifiable");
        assyRoot = server->AddNode(L"CTamAssyRoot");
        std::map<CString, unsigned int> identifiers;
        AddGroupToXML(assyRoot, nullptr, rootName, identifiers, std::wstring());
        m_pNodeServer = m_pNodeDocumentRVD->AddNode(L"Server");
        m_pNodeServer->AddAttribute(L"Type", L"CTamList");
    }

    auto* root = new sglGroup();
    NodeRef held(root);
    root->setName(rootName);
    if (assyRoot != nullptr && m_pNodeAssembly != nullptr) {
        root->addChild(m_pNodeAssembly, true);
        AddGeometryEntry(assyRoot, m_pNodeAssembly);
    }
    AddChildToAssembly(instances, assyRoot, root, 0, std::wstring(), std::wstring());
    return static_cast<sglGroup*>(held.release());
}

sglGroup* CTamEBOMParser::AddChildToAssembly(
    std::list<std::shared_ptr<CTamXmlParserNode>> lstChildren,
    std::shared_ptr<CTamXmlParserNode> pXmlParent, sglGroup* pParent, unsigned int uiLevel,
    std::wstring sLevelOneName, std::wstring sParentRefLinkId) const {
    if (lstChildren.empty())
        return nullptr;
    if (IsTooDeep(uiLevel))
        return pParent;
    AssemblyLevel level;
    level.xmlParent = std::move(pXmlParent);
    level.parent = pParent;
    level.level = uiLevel;
    level.levelOneName = std::move(sLevelOneName);
    level.parentRefLinkId = std::move(sParentRefLinkId);
    for (const auto& instance : lstChildren) {
        if (instance != nullptr)
            AddInstance(instance, level);
    }
    return pParent;
}

void CTamEBOMParser::AddInstance(const std::shared_ptr<CTamXmlParserNode>& instance,
                                 AssemblyLevel& level) const {
    sglMat4<float> placement;
    if (!SetMatrix(instance->GetNodeByTag(L"Position"), placement))
        return;
    auto* transform = new sglTransform<float>();
    // A transform left unattached (skipped instance) goes with this reference.
    const NodeRef held(transform);
    transform->setMatrix(placement);
    auto children = instance->GetNodesByTag(L"Child");
    std::wstring name = instance->GetAttributeValue(L"Name");
    const std::wstring color = instance->GetAttributeValue(L"Color");
    const auto refLink = instance->GetNodeByTag(L"RefLink");
    if (m_bUseRefLinkIdAsName && !refLink->GetAttributeValue(L"Id").empty())
        name = refLink->GetAttributeValue(L"Id");
    if (m_bIsMirexV4)
        Remove_xSETInMirexV4Name(name);
    if (level.level == 1)
        level.levelOneName = name;
    if (!children.empty())
        AddSubAssembly(instance, std::move(children), transform, name, level);
    else
        AddLeaf(instance, transform, name, color, level);
}

void CTamEBOMParser::AddSubAssembly(const std::shared_ptr<CTamXmlParserNode>& instance,
                                    std::list<std::shared_ptr<CTamXmlParserNode>> children,
                                    sglTransform<float>* transform, const std::wstring& name,
                                    AssemblyLevel& level) const {
    const std::wstring refLinkId = instance->GetNodeByTag(L"RefLink")->GetAttributeValue(L"Id");
    std::shared_ptr<CTamXmlParserNode> group;
    if (m_pDocRVD != nullptr && level.xmlParent != nullptr) {
        group = level.xmlParent->AddNode(L"CTamAssyGroup");
        AddNodeType(group, refLinkId, level.parentRefLinkId);
        AddGroupToXML(group, transform, name, level.identifiers, std::wstring());
    }
    transform->setName(name);
    AddChildToAssembly(std::move(children), group, transform, level.level + 1, level.levelOneName,
                       refLinkId);
    level.parent->addChild(transform, true);
}

void CTamEBOMParser::AddLeaf(const std::shared_ptr<CTamXmlParserNode>& instance,
                             sglTransform<float>* transform, std::wstring name,
                             const std::wstring& color, AssemblyLevel& level) const {
    std::wstring assemblyName;
    if (!m_bIsMirexV4) {
        assemblyName = name;
        if (m_pLoader != nullptr)
            m_pLoader->SetLayerName(name);
    }
    const auto refLink = instance->GetNodeByTag(L"RefLink");
    if (refLink->isEmpty())
        return;
    const std::wstring refLinkId = refLink->GetAttributeValue(L"Id");
    const auto shape = m_mapReferenceShape.find(refLinkId);
    if (shape == m_mapReferenceShape.end())
        return;
    const auto part = m_mapNodes.find(m_bUsePathOktAsMapEntitiesKey ? shape->second : refLinkId);
    if (part == m_mapNodes.end() || part->second == nullptr)
        return;
    sglNode* clone = part->second->clone(sglNode::CLONE_DEEP | sglNode::CLONE_ATTRIBUTES);
    const NodeRef held(clone);

    std::shared_ptr<CTamXmlParserNode> group;
    if (m_pDocRVD != nullptr && level.xmlParent != nullptr) {
        group = level.xmlParent->AddNode(L"CTamAssyGroup");
        AddNodeType(group, refLinkId, level.parentRefLinkId);
        AddGroupToXML(group, transform, name, level.identifiers, color);
    }

    std::wstring label;
    if (m_bIsMirexV4) {
        if (name.find(L"*DIT") != std::wstring::npos)
            name = refLinkId;
        Remove_xSETInMirexV4Name(name);
        label = level.levelOneName.find(L"*DIT") != std::wstring::npos ? name : level.levelOneName;
    }
    CTamCADLoader::SetUserData(clone, assemblyName, label);
    if (!sglModelLoader::m_sbNodeFeatureName)
        name = name.substr(0, name.find(L'|'));

    transform->setName(name);
    transform->addChild(clone, true);
    level.parent->addChild(transform, true);
    if (group != nullptr)
        AddGeometryEntry(group, clone);
}

void CTamEBOMParser::AddNodeType(const std::shared_ptr<CTamXmlParserNode>& group,
                                 const std::wstring& refLinkId,
                                 const std::wstring& parentRefLinkId) const {
    const std::wstring documentPath = ValueOr(m_mapDocumentPath, refLinkId);
    if (documentPath == ValueOr(m_mapDocumentPath, parentRefLinkId) ||
        !CTamIO::IsProe(documentPath))
        return;
    group->AddAttribute(L"NodeType", CTamIO::IsProeAssembly(documentPath) ? L"2" : L"1");
}

bool CTamEBOMParser::IsTooDeep(unsigned int level) const {
    if (level < TAM_EBOM_MAX_NESTING)
        return false;
    if (!m_pShared->nestingReported) {
        m_pShared->nestingReported = true;
        sglModelLoader::reportError(L"*** ERROR ***  Assembly nested deeper than " +
                                    std::to_wstring(TAM_EBOM_MAX_NESTING) +
                                    L" levels: the deeper instances are left out");
    }
    return true;
}
