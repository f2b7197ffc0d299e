// The EBOM parser object: construction, copying, destruction and settings.
#include "ebom_parser.h"

#include "TamCADLoader.h"
#include "ebom_parserPrivate.h"

#include <orik/ENTITY_LIST.h>
#include <platform/WideFile.h>
#include <tamsg/sglGroup.h>
#include <tamsgdb/sglModelLoader.h>
#include <tamtools/CTamXmlParserDocu.h>
#include <tamtools/CTamXmlParserNode.h>

#include <cwchar>
#include <cwctype>

CTamEBOMParser::SharedResources::~SharedResources() {
    for (ENTITY_LIST* list : entityLists)
        delete list;
}

namespace tam_ebom {

std::wstring Lower(std::wstring text) {
    for (wchar_t& ch : text) {
        if (ch >= L'A' && ch <= L'Z')
            ch = static_cast<wchar_t>(ch - L'A' + L'a');
    }
    return text;
}

bool IsMirexDocumentType(const std::wstring& type) {
    const std::wstring lower = Lower(type);
    return lower == L"mrxpart" || lower == L"mrxproduct";
}

}  // namespace tam_ebom

CTamEBOMParser::CTamEBOMParser(const wchar_t* fileNameEBOM, const wchar_t* sourceFile,
                               CTamCADLoader* loader)
    : m_pLoader(loader),
      m_pszSourceFile(nullptr),
      m_sFileNameEBOM(fileNameEBOM != nullptr ? fileNameEBOM : L""),
      m_bReadIssuedFromFile(true),
      m_bReadNotIssuedFromFile(true),
      m_bReadAssemblyFreeParts(false),
      m_bCheckIfFileIsUsed(true),
      m_bCreateRVD(true),
      m_bIsMirexV4(false),
      m_bUseRefLinkIdAsName(false),
      m_bUsePathOktAsMapEntitiesKey(true),
      m_pEntityListAssembly(nullptr),
      m_pNodeAssembly(nullptr),
      m_pMetaProperties(nullptr),
      m_pShared(std::make_shared<SharedResources>()) {
    const wchar_t* source = sourceFile != nullptr ? sourceFile : L"";
    const size_t length = std::wcslen(source);
    m_pShared->sourceFile.reset(new wchar_t[length + 1]);
    std::wmemcpy(m_pShared->sourceFile.get(), source, length + 1);
    m_pszSourceFile = m_pShared->sourceFile.get();
    if (m_pLoader != nullptr)
        m_pLoader->SetIsAssembly(true);
    sglModelLoader::m_sbIsAssembly = true;
    if (sglModelLoader::m_sbImportMetas) {
        m_pShared->metaCollector = std::make_unique<CTamMetaCollector>();
        m_pMetaProperties = m_pShared->metaCollector.get();
    }
}

CTamEBOMParser::CTamEBOMParser(const CTamEBOMParser& other) {
    CopyMembers(other);
}

CTamEBOMParser& CTamEBOMParser::operator=(const CTamEBOMParser& other) {
    if (this == &other)
        return *this;
    const bool lastOwner = m_pShared.use_count() == 1;
    CTamCADLoader* previousLoader = m_pLoader;
    ReleaseResources();
    CopyMembers(other);
    // Releasing the last owner of the old state cleared the assembly flags, but this object
    // goes on as an assembly parser.
    if (lastOwner) {
        sglModelLoader::m_sbIsAssembly = true;
        if (m_pLoader != nullptr && m_pLoader == previousLoader)
            m_pLoader->SetIsAssembly(true);
    }
    return *this;
}

CTamEBOMParser::~CTamEBOMParser() {
    ReleaseResources();
}

void CTamEBOMParser::CopyMembers(const CTamEBOMParser& other) {
    m_pLoader = other.m_pLoader;
    m_pszSourceFile = other.m_pszSourceFile;
    m_sFileNameEBOM = other.m_sFileNameEBOM;
    m_pDocEBOM = other.m_pDocEBOM;
    m_pNodeEBOM = other.m_pNodeEBOM;
    m_lstInstances = other.m_lstInstances;
    m_lstReferences = other.m_lstReferences;
    m_mapEntities = other.m_mapEntities;
    m_mapNodes = other.m_mapNodes;
    m_mapOktMatrix = other.m_mapOktMatrix;
    m_lstMatrixStack = other.m_lstMatrixStack;
    m_mapReferenceShape = other.m_mapReferenceShape;
    m_mapDocumentPath = other.m_mapDocumentPath;
    m_sCurrentPath = other.m_sCurrentPath;
    m_bReadIssuedFromFile = other.m_bReadIssuedFromFile;
    m_bReadNotIssuedFromFile = other.m_bReadNotIssuedFromFile;
    m_bReadAssemblyFreeParts = other.m_bReadAssemblyFreeParts;
    m_bCheckIfFileIsUsed = other.m_bCheckIfFileIsUsed;
    m_bCreateRVD = other.m_bCreateRVD;
    m_bIsMirexV4 = other.m_bIsMirexV4;
    m_bUseRefLinkIdAsName = other.m_bUseRefLinkIdAsName;
    m_bUsePathOktAsMapEntitiesKey = other.m_bUsePathOktAsMapEntitiesKey;
    m_pEntityListAssembly = other.m_pEntityListAssembly;
    m_pNodeAssembly = other.m_pNodeAssembly;
    m_pDocRVD = other.m_pDocRVD;
    m_pNodeDocumentRVD = other.m_pNodeDocumentRVD;
    m_pNodeServer = other.m_pNodeServer;
    m_pMetaProperties = other.m_pMetaProperties;
    m_pShared = other.m_pShared;
    // Each copy holds its own references on the nodes, so each releases its own.
    for (const auto& entry : m_mapNodes) {
        if (entry.second != nullptr)
            entry.second->ref();
    }
    if (m_pNodeAssembly != nullptr)
        m_pNodeAssembly->ref();
}

void CTamEBOMParser::ReleaseResources() {
    for (const auto& entry : m_mapNodes) {
        if (entry.second != nullptr)
            entry.second->unref();
    }
    m_mapNodes.clear();
    if (m_pShared.use_count() == 1) {
        m_pShared->metaCollector.reset();
        DeleteFileW(m_sFileNameEBOM.c_str());
        if (m_pLoader != nullptr)
            m_pLoader->SetIsAssembly(false);
        sglModelLoader::m_sbIsAssembly = false;
    }
    m_pMetaProperties = nullptr;
    m_pEntityListAssembly = nullptr;
    if (m_pNodeAssembly != nullptr)
        m_pNodeAssembly->unref();
    m_pNodeAssembly = nullptr;
    m_pNodeServer.reset();
    m_pNodeDocumentRVD.reset();
    m_pDocRVD.reset();
    m_pNodeEBOM.reset();
    m_pDocEBOM.reset();
    m_pShared.reset();
    m_pszSourceFile = nullptr;
}

void CTamEBOMParser::SetReadIssuedFromFile(bool value) {
    m_bReadIssuedFromFile = value;
}
bool CTamEBOMParser::GetReadIssuedFromFile() const {
    return m_bReadIssuedFromFile;
}
void CTamEBOMParser::SetReadNotIssuedFromFile(bool value) {
    m_bReadNotIssuedFromFile = value;
}
bool CTamEBOMParser::GetReadNotIssuedFromFile() {
    return m_bReadNotIssuedFromFile;
}
void CTamEBOMParser::SetReadAssemblyFreeParts(bool value) {
    m_bReadAssemblyFreeParts = value;
}
bool CTamEBOMParser::GetReadAssemblyFreeParts() const {
    return m_bReadAssemblyFreeParts;
}
void CTamEBOMParser::SetCheckIfFileIsUsed(bool value) {
    m_bCheckIfFileIsUsed = value;
}
bool CTamEBOMParser::GetCheckIfFileIsUsed() const {
    return m_bCheckIfFileIsUsed;
}
void CTamEBOMParser::SetCreateRVD(bool value) {
    m_bCreateRVD = value;
}
bool CTamEBOMParser::GetCreateRVD() const {
    return m_bCreateRVD;
}
void CTamEBOMParser::SetIsMirexV4(bool value) {
    m_bIsMirexV4 = value;
}
bool CTamEBOMParser::GetIsMirexV4() const {
    return m_bIsMirexV4;
}
void CTamEBOMParser::SetUseRefLinkIdAsName(bool value) {
    m_bUseRefLinkIdAsName = value;
}
bool CTamEBOMParser::GetUseRefLinkIdAsName() const {
    return m_bUseRefLinkIdAsName;
}
void CTamEBOMParser::SetUsePathOktAsMapEntitiesKey(bool value) {
    m_bUsePathOktAsMapEntitiesKey = value;
}
bool CTamEBOMParser::GetUsePathOktAsMapEntitiesKey() const {
    return m_bUsePathOktAsMapEntitiesKey;
}

void CTamEBOMParser::SetCurrentPath(std::wstring path) {
    m_sCurrentPath = std::move(path);
}
std::wstring CTamEBOMParser::GetCurrentPath() const {
    return m_sCurrentPath;
}
void CTamEBOMParser::SetLoader(CTamCADLoader* loader) {
    m_pLoader = loader;
}
std::wstring CTamEBOMParser::GetFileNameEBOM() const {
    return m_sFileNameEBOM;
}
void CTamEBOMParser::SetEntityListAssembly(ENTITY_LIST* entities) {
    m_pEntityListAssembly = entities;
}
void CTamEBOMParser::SetNodeAssembly(sglGroup* node) {
    m_pNodeAssembly = node;
}
