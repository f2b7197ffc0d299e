// The EBOM's part meshes: each part becomes one node, once, however often it is placed.
#include "ebom_parser.h"

#include "TamCADLoader.h"
#include "ebom_parserPrivate.h"
#include "io_tools.h"

#include <orik/ENTITY_LIST.h>
#include <orik/OrikTopologyApi.h>
#include <tamfoundations/CTamOptimizer.h>
#include <tamsg/sglGroup.h>
#include <tamsgdb/CTamDBRoot.h>
#include <tamsgdb/sglModelLoader.h>

#include <set>

namespace {

using tam_ebom::NodeRef;

// Extensions of the older CAD family's files, read by the host's pipe plug-in.
bool IsOlderFamilyExtension(const std::wstring& extension) {
    static const std::set<std::wstring> extensions = {L"tarvl",  L"trv", L"pobrask", L"yix",
                                                      L"mrxexp", L"hux", L"hux3"};
    return extensions.count(extension) != 0;
}

// The finished model the host's other plug-ins read from the part file, if its type is one of
// theirs; the registry's model root is dropped once its scene graph is held.
NodeRef LoadFinishedModel(const std::wstring& path) {
    const std::wstring extension = CTamIOTools::GetFileExtension(path.c_str());
    std::wstring key;
    if (IsOlderFamilyExtension(extension) && CTamIOTools::IsFile(path.c_str()))
        key = L"mirexv4pipe";
    else if (extension == L"vqg")
        key = L"vqgwithoutinit";
    else
        return NodeRef();
    auto* root = static_cast<CTamDBRoot*>(
        sglModelLoader::loadModelFromExtension(path, key, tam_ebom::kRegistryFlags));
    if (root == nullptr)
        return NodeRef();
    NodeRef model(root->GetSglRoot());
    delete root;
    return model;
}

// With the host's merge setting, the node's geodes merged into one actor.
sglNode* MergedIfAsked(sglNode* node) {
    if (!sglModelLoader::m_sbMergeFileInOneActor)
        return node;
    return CTamOptimizer().FactorizeGraph(node, CString());
}

}  // namespace

void CTamEBOMParser::BuildMesh() {
    for (auto& part : m_mapEntities) {
        MeshPart(part.first, part.second);
        if (part.second.pEntities != nullptr) {
            api_del_entity_list(*part.second.pEntities).ignore();
            // Deleted entities must not be measured or meshed again.
            part.second.pEntities = nullptr;
        }
    }
    MeshAssemblyEntities();
}

void CTamEBOMParser::MeshPart(const std::wstring& partKey, const PartEntities& part) {
    const std::wstring path = ResolvePath(part.sPath);
    const NodeRef model = LoadFinishedModel(path);
    sglModelLoader::reportProgress(0.0f,
                                   (L"Mesh " + CTamIOTools::GetFileName(path.c_str())).c_str());
    sglGroup* meshed = nullptr;
    if (part.pEntities != nullptr && m_pLoader != nullptr) {
        if (m_bIsMirexV4) {
            m_pLoader->SetCreateLODForFaces(false);
            meshed = m_pLoader->ParseEntities(*part.pEntities, m_pszSourceFile);
        } else {
            meshed = m_pLoader->ParseEntities(*part.pEntities, part.sPath);
        }
    }
    const NodeRef group(meshed);
    sglNode* node = group ? group.get() : model.get();
    if (group && model)
        static_cast<sglGroup*>(group.get())->addChild(model.get(), true);
    if (node != nullptr)
        StoreNode(partKey, MergedIfAsked(node));
}

void CTamEBOMParser::StoreNode(const std::wstring& partKey, sglNode* node) {
    node->ref();
    sglNode*& stored = m_mapNodes[partKey];
    if (stored != nullptr)
        stored->unref();
    stored = node;
}

void CTamEBOMParser::MeshAssemblyEntities() {
    if (m_pEntityListAssembly == nullptr)
        return;
    sglGroup* node = nullptr;
    if (m_pLoader != nullptr) {
        const NodeRef group(m_pLoader->ParseEntities(*m_pEntityListAssembly, std::wstring()));
        if (group) {
            node = static_cast<sglGroup*>(MergedIfAsked(group.get()));
            node->ref();
        }
    }
    // A node the host set before is replaced, so its reference goes.
    if (m_pNodeAssembly != nullptr)
        m_pNodeAssembly->unref();
    m_pNodeAssembly = node;
    api_del_entity_list(*m_pEntityListAssembly).ignore();
    m_pEntityListAssembly = nullptr;
}
