// Reading an assembly's product XML (and its geometry side files) back into a scene graph.
#pragma once

#include <map>
#include <memory>
#include <string>

class CTamXmlParserDocu;
class CTamXmlParserNode;
class sglGroup;
class sglNode;

// Rebuilds the assembly tree of a product XML as the assembly import wrote it: the
// "CTamAssyRoot" element of the "CTamServerModifiable" server becomes an sglGroup, every
// "CTamAssyGroup" an sglTransform<float> placed by its "Actor.Location" frame (identity without
// one) and named by "Actor.Name"; "Geometry" entries (inline or in ".rvdGeom" side files) become
// the geodes under their node, "Meta." entries and "Actor.Color" the node's metadata pairs.
// Damaged input gives null and a reason, never an exception. Nesting deeper than
// kMaxNestingDepth is refused. An instance that refers to another product XML ("IsInstanceOf")
// keeps its name and placement but no content: references are counted, not followed.
class CTamProductXmlReader {
public:
    // Deepest nesting of assembly nodes accepted (the root is depth 0).
    static constexpr unsigned int kMaxNestingDepth = 1000;

    CTamProductXmlReader();
    ~CTamProductXmlReader();
    CTamProductXmlReader(const CTamProductXmlReader&) = delete;
    CTamProductXmlReader& operator=(const CTamProductXmlReader&) = delete;

    // Reads the product XML file at path; side files are looked up in its folder. A new root
    // group (count 0, owned by the caller), or null with a reason in GetLastError().
    sglGroup* Read(const std::wstring& path);

    // As Read, for a document already in memory; side files are looked up in folder.
    sglGroup* ReadDocument(const CTamXmlParserDocu& document, const std::wstring& folder);

    // Reason of the last failed read; empty after a success.
    const std::wstring& GetLastError() const { return m_error; }

    // Instances of the last read that refer to another product XML, left without content.
    unsigned int GetUnfollowedReferences() const { return m_unfollowedReferences; }

private:
    using NodePtr = std::shared_ptr<CTamXmlParserNode>;
    struct SideFile;

    sglGroup* ReadRoot(const CTamXmlParserNode& rootElement);
    bool ReadChildren(const CTamXmlParserNode& element, sglGroup& parent, unsigned int depth);
    sglNode* ReadInstance(const CTamXmlParserNode& element, unsigned int depth);
    bool ReadProperties(const CTamXmlParserNode& element, sglGroup& node, bool placed);
    bool ReadGeometryEntry(const NodePtr& entry, sglGroup& parent);
    // Extension point for documents referenced with "IsInstanceOf": counted only for now.
    void ReadReferencedDocument(const CTamXmlParserNode& element, sglGroup& instance);
    // The side-file entry named by a "File" entry's Ident, or null with a reason.
    NodePtr FindSideEntry(const std::wstring& file, const std::wstring& ident);
    bool Fail(const std::wstring& reason);

    std::wstring m_folder;
    std::wstring m_error;
    unsigned int m_unfollowedReferences = 0;
    std::map<std::wstring, std::unique_ptr<SideFile>> m_sideFiles;
};
