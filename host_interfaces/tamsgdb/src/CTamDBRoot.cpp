// Scene root ownership of the model root.
#include <tamsg/sglNode.h>
#include <tamsgdb/CTamDBRoot.h>

CTamDBRoot::~CTamDBRoot() {
    SetSglRoot(nullptr);
}

void CTamDBRoot::SetSglRoot(sglNode* node) {
    if (node == m_root)
        return;
    // The new root is referenced before the old one is released, in case one holds the other.
    if (node)
        node->ref();
    sglNode* previous = m_root;
    m_root = node;
    if (previous)
        previous->unref();
}

void CTamDBRoot::SetXMLDoc(std::shared_ptr<CTamXmlParserDocu> doc) {
    m_xmlDoc = std::move(doc);
}
