// Host model root: the scene graph of a loaded model and, for assemblies, its product XML.
#pragma once

#include <memory>

class sglNode;
class CTamXmlParserDocu;

// A loaded model. The root holds one reference on its scene node and releases it when replaced
// or destroyed; the XML document is shared. Not copyable.
class CTamDBRoot {
public:
    CTamDBRoot() = default;
    virtual ~CTamDBRoot();
    CTamDBRoot(const CTamDBRoot&) = delete;
    CTamDBRoot& operator=(const CTamDBRoot&) = delete;

    // Makes node the scene root (null allowed) taking a reference; the previous root is released.
    void SetSglRoot(sglNode* node);
    // The scene root, or null; still held by the model root.
    sglNode* GetSglRoot() const { return m_root; }

    // Attaches the product XML document (an empty pointer detaches it).
    void SetXMLDoc(std::shared_ptr<CTamXmlParserDocu> doc);
    const std::shared_ptr<CTamXmlParserDocu>& GetXMLDoc() const { return m_xmlDoc; }

private:
    sglNode* m_root = nullptr;
    std::shared_ptr<CTamXmlParserDocu> m_xmlDoc;
};
