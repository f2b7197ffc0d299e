// CTamXmlOnlyParser: the lookup maps from References and Documents.
#include "xml_only_parser.h"

#include "AssemblyXmlPrivate.h"

#include <tamsgdb/sglModelLoader.h>
#include <tamtools/CTamXmlParserNode.h>

void CTamXmlOnlyParser::BuildMaps() {
    std::wstring assemblyPath;
    if (!tam_assembly::ReadStructure(m_pNodeXml, assemblyPath, m_lstReferences, m_lstInstances))
        return;
    // Without any Document there are no parts: nothing to walk.
    m_lstDocuments = m_pNodeXml->GetNodesByTag(L"Document");
    if (m_lstDocuments.empty()) {
        m_lstInstances.clear();
        return;
    }
    m_mapReferenceShape = tam_assembly::ReferenceShapes(m_lstReferences);
    m_mapDocumentPath =
        tam_assembly::DocumentPaths(m_lstDocuments, assemblyPath, m_pMetaProperties);
}
