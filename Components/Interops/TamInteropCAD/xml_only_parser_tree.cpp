// CTamXmlOnlyParser: the walk that writes the assembly nodes into the product XML.
#include "xml_only_parser.h"

#include "AssemblyXmlPrivate.h"

#include <platform/WideFormat.h>
#include <tamsg/sglTransform.h>
#include <tamsgdb/sglModelLoader.h>
#include <tamtools/CTamXmlParserNode.h>

namespace {

// Sub-assemblies nested deeper than this are left out (real assemblies stay far below it); the
// bound keeps hostile input from exhausting the stack.
constexpr unsigned int kMaxNestingDepth = 1000;

}  // namespace

// State of one walk over the instance tree.
struct CTamXmlOnlyParser::WalkContext {
    unsigned int depth = 0;
    bool depthReported = false;
};

void CTamXmlOnlyParser::BuildAssy() {
    const auto structure = tam_assembly::FindStructure(m_pNodeXml);
    if (!structure)
        return;
    const auto root = structure->GetNodeByTag(L"Root");
    if (root->isEmpty() || structure->GetNodeByTag(L"Reference")->isEmpty())
        return;
    const auto instances = root->getChildNodes();
    if (instances.empty())
        return;

    std::shared_ptr<CTamXmlParserNode> assemblyRoot;
    if (m_pDocRVD && m_pNodeDocumentRVD) {
        const auto server = m_pNodeDocumentRVD->AddNode(L"Server");
        server->AddAttribute(L"Type", L"CTamServerModifiable");
        assemblyRoot = server->AddNode(L"CTamAssyRoot");
        std::map<CString, unsigned int> mapIdent;
        AddGroupToXML(assemblyRoot, nullptr, root->GetAttributeValue(L"Name"), mapIdent);
        m_pNodeServer = m_pNodeDocumentRVD->AddNode(L"Server");
        m_pNodeServer->AddAttribute(L"Type", L"CTamList");
    }
    AddChildToAssembly(instances, assemblyRoot);
}

void CTamXmlOnlyParser::AddChildToAssembly(
    std::list<std::shared_ptr<CTamXmlParserNode>> lstChildren,
    std::shared_ptr<CTamXmlParserNode> pXmlParent) const {
    WalkContext context;
    AddChildToAssembly(lstChildren, pXmlParent, context);
}

void CTamXmlOnlyParser::AddChildToAssembly(
    const std::list<std::shared_ptr<CTamXmlParserNode>>& lstChildren,
    const std::shared_ptr<CTamXmlParserNode>& pXmlParent, WalkContext& context) const {
    if (context.depth >= kMaxNestingDepth) {
        if (!context.depthReported)
            sglModelLoader::reportError(tam::FormatWide(
                L"*** ERROR ***  Assembly '%s' nests sub-assemblies deeper than %u levels; the "
                L"deeper levels are left out",
                m_sFileNameXml.c_str(), kMaxNestingDepth));
        context.depthReported = true;
        return;
    }
    ++context.depth;
    // One identifier map per sibling list.
    std::map<CString, unsigned int> mapIdent;
    for (const auto& instance : lstChildren) {
        if (instance)
            AddInstanceToAssembly(instance, pXmlParent, mapIdent, context);
    }
    --context.depth;
}

void CTamXmlOnlyParser::AddInstanceToAssembly(const std::shared_ptr<CTamXmlParserNode>& instance,
                                              const std::shared_ptr<CTamXmlParserNode>& pXmlParent,
                                              std::map<CString, unsigned int>& mapIdent,
                                              WalkContext& context) const {
    sglMat4<float> matrix;
    if (!SetMatrix(instance->GetNodeByTag(L"Position"), matrix))
        return;
    // Carries the placement to the node writers only; it never enters a scene graph.
    sglTransform<float> transform;
    transform.setMatrix(matrix);

    const auto children = instance->GetNodesByTag(L"Child");
    const auto refLink = instance->GetNodeByTag(L"RefLink");
    const bool hasRefLink = !refLink->isEmpty();
    const std::wstring id = refLink->GetAttributeValue(L"Id");
    std::wstring path;
    const bool listed = FindReferencePath(id, path);
    std::wstring name = instance->GetAttributeValue(L"Name");
    if (UseRefLinkIdAsName && hasRefLink && !id.empty())
        name = id;
    const bool writing = m_pDocRVD && pXmlParent;

    if (children.empty()) {
        // A part: written only when its document is known.
        if (hasRefLink && listed && writing)
            AddReferencedGroupToXML(pXmlParent->AddNode(L"CTamAssyGroup"), &transform, name, path,
                                    mapIdent, instance->GetAttributeValue(L"Color"));
        return;
    }
    std::shared_ptr<CTamXmlParserNode> group;
    if (writing) {
        group = pXmlParent->AddNode(L"CTamAssyGroup");
        if (listed)
            AddReferencedGroupToXML(group, &transform, name, path, mapIdent, std::wstring());
        else
            AddGroupToXML(group, &transform, name, mapIdent);
    }
    // A sub-assembly with a document of its own is described by that document's product XML.
    if (!listed)
        AddChildToAssembly(children, group, context);
}

bool CTamXmlOnlyParser::FindReferencePath(const std::wstring& id, std::wstring& path) const {
    const auto document = m_mapDocumentPath.find(id);
    if (document != m_mapDocumentPath.end()) {
        path = document->second;
        return true;
    }
    const auto shape = m_mapReferenceShape.find(id);
    if (shape != m_mapReferenceShape.end()) {
        path = shape->second;
        return true;
    }
    return false;
}
