// The EBOM parser's product XML: one assembly node's element, geometry entries and the
// document-wide metadata definitions.
#include "ebom_parser.h"

#include "TamCADTools.h"
#include "ebom_parserPrivate.h"

#include <tamfoundations/CTamIO.h>
#include <tamfoundations/CTamSGToXML.h>
#include <tamsg/sglGroup.h>
#include <tamsg/sglTransform.h>
#include <tamsgdb/sglModelLoader.h>
#include <tamtools/CTamColor.h>
#include <tamtools/CTamPropColor.h>
#include <tamtools/CTamPropString.h>
#include <tamtools/CTamXmlParserNode.h>

namespace {

// Identifiers from names when the host asks for them, random ones otherwise.
CString NodeIdentifier(const std::wstring& name, std::map<CString, unsigned int>& mapIdent) {
    if (sglModelLoader::m_suiIdentType != 0)
        return CTamIO::CreateGuid(CString(name), mapIdent, GUID_TYPE_NODE, -1);
    return CTamIO::CreateGuid(TAM_GUID_BRACES);
}

}  // namespace

void CTamEBOMParser::AddGroupToXML(std::shared_ptr<CTamXmlParserNode> pNode,
                                   const sglTransform<float>* pTransform, const std::wstring& sName,
                                   std::map<CString, unsigned int>& mapIdent,
                                   const std::wstring& sColor) const {
    const auto neutral = pNode->AddNode(L"Neutral");
    if (m_pMetaProperties != nullptr && sglModelLoader::m_sbImportMetas)
        m_pMetaProperties->WriteMetaProperties(sName, neutral);
    if (pTransform != nullptr && !pTransform->isIdentity()) {
        const auto location = neutral->AddNode(L"Actor.Location");
        CTamSGToXML::AddFrame(location, pTransform->getMatrix(), L"Frame");
    }
    if (!sName.empty()) {
        CTamPropString nameProperty(L"Actor.Name");
        nameProperty.SetValue(sName);
        nameProperty.Save(neutral);
    }
    int red = 0, green = 0, blue = 0;
    if (!sColor.empty() && CTamCADTools::LoadColor(CString(sColor), red, green, blue)) {
        CTamPropColor colorProperty(L"Actor.Color");
        colorProperty.SetValue(CTamColor(static_cast<unsigned char>(red),
                                         static_cast<unsigned char>(green),
                                         static_cast<unsigned char>(blue), 255));
        colorProperty.Save(neutral);
    }
    pNode->AddAttribute(L"Ident", NodeIdentifier(sName, mapIdent).str());
}

void CTamEBOMParser::AddGeometryEntry(const std::shared_ptr<CTamXmlParserNode>& element,
                                      sglNode* node) const {
    const CString output = sglModelLoader::GetOutputRVDFilePath();
    CString extension = CTamIO::GetFileExtension(output, false);
    extension.MakeLower();
    // A native output document takes the geometry inline; any other output a side file.
    CString geometryFile;
    if (!output.IsEmpty() && extension != CTamIO::GetRVDExtension())
        geometryFile = CTamIO::GetFileBase(output, false) + L".rvdGeom";
    std::map<CString, unsigned int> identifiers;
    CTamSGToXML::AddGeometryToXMLDoc(element, node, nullptr, geometryFile, false, true,
                                     identifiers);
}

void CTamEBOMParser::AddCommonMetaProperties() {
    if (m_pNodeDocumentRVD == nullptr || m_pNodeDocumentRVD->isEmpty())
        return;
    const auto server = m_pNodeDocumentRVD->AddNode(L"Server");
    server->AddAttribute(L"Type", L"PropertyDefinitions");
    const auto metaProperties = server->AddNode(L"MetaProperties");
    for (const auto& part : m_mapNodes) {
        if (const auto* group = dynamic_cast<const sglGroup*>(part.second))
            CTamIO::AddMetaPropertiesToXml(group, metaProperties);
    }
    if (m_pMetaProperties != nullptr)
        m_pMetaProperties->WriteMetaDefinitions(metaProperties);
}
