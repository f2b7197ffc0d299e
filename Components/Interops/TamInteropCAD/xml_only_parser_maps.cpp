// CTamXmlOnlyParser: the lookup maps from References and Documents.
#include "xml_only_parser.h"

#include "AssemblyXmlPrivate.h"
#include "meta_collector.h"

#include <tamsgdb/sglModelLoader.h>
#include <tamtools/CTamXmlParserNode.h>

void CTamXmlOnlyParser::BuildMaps() {
    std::wstring assemblyPath;
    const auto structure = tam_assembly::FindStructure(m_pNodeXml, &assemblyPath);
    if (!structure)
        return;
    const auto root = structure->GetNodeByTag(L"Root");
    if (root->isEmpty())
        return;
    m_lstReferences = structure->GetNodesByTag(L"Reference");
    if (m_lstReferences.empty())
        return;
    m_lstDocuments = m_pNodeXml->GetNodesByTag(L"Document");
    if (m_lstDocuments.empty())
        return;
    m_lstInstances = root->getChildNodes();
    if (m_lstInstances.empty())
        return;

    for (const auto& reference : m_lstReferences) {
        const auto shape = reference->GetNodeByTag(L"Rep")->GetNodeByTag(L"Shape");
        if (!shape->isEmpty())
            m_mapReferenceShape[reference->GetAttributeValue(L"Identifier")] =
                shape->GetAttributeValue(L"Id");
    }

    for (const auto& document : m_lstDocuments) {
        if (sglModelLoader::m_sbImportMetas && m_pMetaProperties != nullptr) {
            const auto attribute = document->GetNodeByTag(L"UserDefinedAttributes")
                                       ->GetNodeByTag(L"UserDefinedAttribute");
            if (!attribute->isEmpty())
                m_pMetaProperties->AddUserDefinedAttribute(attribute);
        }
        if (document->GetAttributeValue(L"Type") == L"okt")
            continue;
        std::wstring path = document->GetAttributeValue(L"FilePath");
        if (path.empty())
            path = document->GetAttributeValue(L"Identifier");
        if (!path.empty() && path != assemblyPath)
            m_mapDocumentPath[document->GetAttributeValue(L"Name")] = path;
    }
}
