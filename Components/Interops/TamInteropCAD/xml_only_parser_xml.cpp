// CTamXmlOnlyParser: the product XML node writers and the names of product XML files.
#include "xml_only_parser.h"

#include "TamCADTools.h"
#include "meta_collector.h"

#include <tamfoundations/CTamIO.h>
#include <tamfoundations/CTamSGToXML.h>
#include <tamkernel/CTamPreferences.h>
#include <tamsg/sglTransform.h>
#include <tamsgdb/sglModelLoader.h>
#include <tamtools/CTamColor.h>
#include <tamtools/CTamPropColor.h>
#include <tamtools/CTamPropString.h>
#include <tamtools/CTamURI.h>
#include <tamtools/CTamXmlParserNode.h>

namespace {

// Cuts a trailing numeric revision (".3") or a trailing '.' off a document path: walking back
// over digits, a '.' that is not the first character ends the text there. Anything else, or a
// text of digits only, stays as it is.
std::wstring StripRevisionNumber(const std::wstring& path) {
    std::size_t i = path.size();
    while (i > 0 && path[i - 1] >= L'0' && path[i - 1] <= L'9')
        --i;
    if (i > 1 && path[i - 1] == L'.')
        return path.substr(0, i - 1);
    return path;
}

// The product XML file that stands for a document: its base path, "_", its extension with
// every '.' made '_', and ".rvdXml" ("C:\w\top.asm" gives "C:\w\top_asm.rvdXml"). Product XML
// files of one import refer to each other by these names.
std::wstring ProductXmlFileName(const std::wstring& documentPath) {
    std::wstring path = documentPath;
    if (GetTamPreferences()->GetIOProERemoveRevisionNumber())
        path = StripRevisionNumber(path);
    CString extension = CTamIO::GetFileExtension(CString(path), true);
    extension.Replace(L'.', L'_');
    return CTamIO::GetFileBasePath(CString(path), true).str() + L"_" + extension.str() + L".rvdXml";
}

// The node's identifier: formed from its name when the host asks for it, else random.
CString NodeIdentifier(const std::wstring& name, std::map<CString, unsigned int>& mapIdent,
                       GUIDtypeNode type) {
    if (sglModelLoader::m_suiIdentType != 0)
        return CTamIO::CreateGuid(CString(name), mapIdent, type, -1);
    return CTamIO::CreateGuid(TAM_GUID_BRACES);
}

// "Actor.Location" (unless the placement is the identity) and "Actor.Name" (unless empty).
void AddLocationAndName(const std::shared_ptr<CTamXmlParserNode>& neutral,
                        const sglTransform<float>* transform, const std::wstring& name) {
    if (transform != nullptr && !transform->isIdentity())
        CTamSGToXML::AddFrame(neutral->AddNode(L"Actor.Location"), transform->getMatrix(),
                              CString(L"Frame"));
    if (!name.empty())
        CTamPropString(L"Actor.Name", name).Save(neutral);
}

}  // namespace

std::wstring CTamXmlOnlyParser::GetProductXmlPath() const {
    const std::wstring name =
        ProductXmlFileName(m_pszSourceFile != nullptr ? m_pszSourceFile : L"");
    if (sglModelLoader::m_sbSaveInSameFolder)
        return name;
    return sglModelLoader::GetSaveFolder() + L"\\" + CTamIO::GetFile(CString(name)).str();
}

std::wstring CTamXmlOnlyParser::GetInstanceOfText(const std::wstring& documentPath) const {
    const std::wstring name = ProductXmlFileName(documentPath);
    if (!sglModelLoader::m_sbSaveInSameFolder)
        return CTamIO::GetFile(CString(name)).str();
    const CTamURI source(m_pszSourceFile != nullptr ? m_pszSourceFile : L"");
    const std::wstring relative = CTamURI::GetRelativePath(name, source.GetFolder(false));
    return relative.empty() ? name : relative;
}

void CTamXmlOnlyParser::AddGroupToXML(std::shared_ptr<CTamXmlParserNode> pNode,
                                      const sglTransform<float>* pTransform,
                                      const std::wstring& sName,
                                      std::map<CString, unsigned int>& mapIdent) const {
    pNode->AddAttribute(L"Ident", NodeIdentifier(sName, mapIdent, GUID_TYPE_NODE).str());
    const auto neutral = pNode->AddNode(L"Neutral");
    if (m_pMetaProperties != nullptr && sglModelLoader::m_sbImportMetas)
        m_pMetaProperties->WriteMetaProperties(sName, neutral);
    AddLocationAndName(neutral, pTransform, sName);
}

void CTamXmlOnlyParser::AddReferencedGroupToXML(std::shared_ptr<CTamXmlParserNode> pNode,
                                                const sglTransform<float>* pTransform,
                                                const std::wstring& sName,
                                                const std::wstring& sFilePath,
                                                std::map<CString, unsigned int>& mapIdent,
                                                const std::wstring& sColor) const {
    pNode->AddAttribute(L"Ident", NodeIdentifier(sName, mapIdent, GUID_TYPE_REFERENCED_NODE).str());
    pNode->AddAttribute(L"IsInstanceOf", GetInstanceOfText(sFilePath));
    const CString documentPath(sFilePath);
    if (CTamIO::IsProe(documentPath))
        pNode->AddAttribute(L"NodeType", CTamIO::IsProeAssembly(documentPath) ? L"2" : L"1");
    const auto neutral = pNode->AddNode(L"Neutral");
    AddLocationAndName(neutral, pTransform, sName);
    int red = 0;
    int green = 0;
    int blue = 0;
    if (!sColor.empty() && CTamCADTools::LoadColor(CString(sColor), red, green, blue)) {
        const CTamColor color(static_cast<unsigned char>(red), static_cast<unsigned char>(green),
                              static_cast<unsigned char>(blue), 255);
        CTamPropColor(L"Actor.Color", color).Save(neutral);
    }
}

void CTamXmlOnlyParser::AddCommonMetaProperties() {
    if (!m_pNodeDocumentRVD)
        return;
    const auto server = m_pNodeDocumentRVD->AddNode(L"Server");
    server->AddAttribute(L"Type", L"PropertyDefinitions");
    const auto metaProperties = server->AddNode(L"MetaProperties");
    if (m_pMetaProperties != nullptr)
        m_pMetaProperties->WriteMetaDefinitions(metaProperties);
}
