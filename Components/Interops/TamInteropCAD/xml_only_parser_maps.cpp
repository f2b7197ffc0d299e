// CTamXmlOnlyParser: the lookup maps from References and Documents.
#include "xml_only_parser.h"

#include "AssemblyXmlPrivate.h"

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

    m_mapReferenceShape = tam_assembly::ReferenceShapes(m_lstReferences);
    m_mapDocumentPath =
        tam_assembly::DocumentPaths(m_lstDocuments, assemblyPath, m_pMetaProperties);
}
