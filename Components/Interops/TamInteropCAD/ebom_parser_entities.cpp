// The EBOM's part entities: which document entries are loaded, from which file, under which
// part key; kernel part files written for the import are deleted once loaded.
#include "ebom_parser.h"

#include "ebom_parserPrivate.h"
#include "io_tools.h"

#include <orik/ENTITY_LIST.h>
#include <orik/OrikTopologyApi.h>
#include <platform/WideFile.h>
#include <tamfoundations/CTamIO.h>
#include <tamsgdb/sglModelLoader.h>
#include <tamtools/CTamXmlParserNode.h>

namespace {

bool IsKernelFileType(const std::wstring& type) {
    return type == L"okt" || type == L"okb";
}

ENTITY_LIST* LoadEntities(const std::wstring& path) {
    return static_cast<ENTITY_LIST*>(sglModelLoader::loadEntities(path, tam_ebom::kRegistryFlags));
}

}  // namespace

void CTamEBOMParser::BuildEntities() {
    if (m_pNodeEBOM == nullptr || m_pNodeEBOM->isEmpty())
        return;
    for (const auto& entry : m_pNodeEBOM->getChildNodes()) {
        const std::wstring type = entry->GetAttributeValue(L"Type");
        const std::wstring name = entry->GetAttributeValue(L"Name");
        if (type == L"Assembly")
            continue;
        if (m_bCheckIfFileIsUsed && m_mapOktMatrix.count(name) == 0)
            continue;
        // Looked up by Name whatever the part key is.
        if (m_mapEntities.count(name) != 0 || type == L"vqg")
            continue;
        const auto issuedFrom = entry->GetNodeByTag(L"IssuedFrom");
        if (!issuedFrom->isEmpty() || m_bIsMirexV4)
            LoadIssuedFromFile(entry, issuedFrom);
        else
            LoadOwnFile(entry);
    }
}

void CTamEBOMParser::LoadOwnFile(const std::shared_ptr<CTamXmlParserNode>& entry) {
    if (tam_ebom::IsMirexDocumentType(entry->GetAttributeValue(L"Type")))
        return;
    const bool freeParts =
        m_bReadAssemblyFreeParts && entry->GetAttributeValue(L"Name") == L"assembly-FreeParts";
    if (!m_bReadNotIssuedFromFile && !freeParts)
        return;
    const std::wstring filePath = entry->GetAttributeValue(L"FilePath");
    const std::wstring resolved = ResolvePath(filePath);
    if (resolved.empty() || !CTamIOTools::IsFile(resolved.c_str()))
        return;
    sglModelLoader::reportProgress(0.0f, L"");
    FileEntities(PartKeyOf(entry), LoadEntities(resolved), resolved);
    // The file loaded is the one deleted: a relative path resolved against the current folder
    // names a file that the path as written does not.
    if (IsKernelFileType(CTamIOTools::GetFileExtension(filePath.c_str())))
        DeleteFileW(resolved.c_str());
}

void CTamEBOMParser::LoadIssuedFromFile(const std::shared_ptr<CTamXmlParserNode>& entry,
                                        const std::shared_ptr<CTamXmlParserNode>& issuedFrom) {
    const std::wstring ownPath = entry->GetAttributeValue(L"FilePath");
    const auto docLink = issuedFrom->GetNodeByTag(L"DocLink");
    const bool followLink = !docLink->isEmpty() && !m_bIsMirexV4;
    std::wstring linkPath = followLink ? docLink->GetAttributeValue(L"Id") : ownPath;
    const std::wstring linkType = (followLink ? docLink : entry)->GetAttributeValue(L"Type");
    if (!m_bReadIssuedFromFile)
        linkPath = ownPath;
    if (linkType == L"vqg") {
        // Meshed from its file later, not loaded as entities.
        FileEntities(PartKeyOf(entry), nullptr, linkPath);
        return;
    }

    const std::wstring resolved = ResolvePath(linkPath);
    ENTITY_LIST* entities = nullptr;
    const std::wstring extension = tam_ebom::Lower(CTamIO::GetFileExtension(resolved, true).str());
    if (extension.find(L"prt") != std::wstring::npos && CTamIO::IsProe(resolved)) {
        entities = static_cast<ENTITY_LIST*>(
            sglModelLoader::loadEntitiesFromExtension(resolved, L"prt", tam_ebom::kRegistryFlags));
    } else if (tam_ebom::IsMirexDocumentType(linkType)) {
        entities = LoadEntities(ownPath);
    } else {
        entities = LoadEntities(resolved);
        if (entities == nullptr)
            entities = LoadEntities(ownPath);
    }
    FileEntities(PartKeyOf(entry), entities, linkPath);

    const bool ownIsKernelFile = IsKernelFileType(CTamIO::GetFileExtension(ownPath, false).str());
    if (IsKernelFileType(linkType) || (!m_bReadIssuedFromFile && ownIsKernelFile))
        DeleteFileW(ownPath.c_str());
}

void CTamEBOMParser::FileEntities(const std::wstring& partKey, ENTITY_LIST* entities,
                                  const std::wstring& path) {
    PartEntities& record = m_mapEntities[partKey];
    // A later entry of the same part key replaces the record; the entities it held are
    // no longer reachable and go at once.
    if (record.pEntities != nullptr && record.pEntities != entities)
        api_del_entity_list(*record.pEntities).ignore();
    record.pEntities = entities;
    record.sPath = path;
    if (entities != nullptr)
        m_pShared->entityLists.push_back(entities);
}

std::wstring CTamEBOMParser::ResolvePath(const std::wstring& path) const {
    if (CTamIOTools::IsFile(path.c_str()) || m_sCurrentPath.empty())
        return path;
    return m_sCurrentPath + L"\\" + path;
}

std::wstring CTamEBOMParser::PartKeyOf(const std::shared_ptr<CTamXmlParserNode>& entry) const {
    return entry->GetAttributeValue(m_bUsePathOktAsMapEntitiesKey ? L"FilePath" : L"Name");
}
