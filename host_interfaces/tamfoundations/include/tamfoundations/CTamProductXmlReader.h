// Reading an assembly's product XML (and its geometry side files) back into a scene graph.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

class CTamXmlParserDocu;
class CTamXmlParserNode;
class ReadDrawables;
class sglGroup;
class sglNode;

// Rebuilds the assembly tree of a product XML as the assembly import wrote it: the
// "CTamAssyRoot" element of the "CTamServerModifiable" server becomes an sglGroup, every
// "CTamAssyGroup" an sglTransform<float> placed by its "Actor.Location" frame (identity without
// one) and named by "Actor.Name"; "Geometry" entries (inline or in ".rvdGeom" side files) become
// the geodes under their node, "Meta." entries and "Actor.Color" the node's metadata pairs.
// Damaged input gives null and a reason, never an exception. Nesting deeper than
// kMaxNestingDepth is refused. An instance that refers to another product XML ("IsInstanceOf",
// a path relative to the referring file's folder unless absolute) gets that document's
// assembly as its content: the children of the referenced root. Each referenced file is read
// once and its tree shared by all its instances. A referenced file that is missing or damaged,
// or that refers back to a file being read (a cycle), leaves its instances empty with one
// warning; the rest still loads. Nesting through references counts towards kMaxNestingDepth.
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

    // Instances of the last read that refer to another product XML and were left without
    // content (their document missing, damaged or part of a reference cycle).
    unsigned int GetUnfollowedReferences() const { return m_unfollowedReferences; }
    // Instances of the last read whose referenced document was read into them.
    unsigned int GetFollowedReferences() const { return m_followedReferences; }
    // Problems of the last read that left branches empty: one text per referenced file that
    // could not be read, naming it and why, and one per reference cycle.
    const std::vector<std::wstring>& GetWarnings() const { return m_warnings; }

private:
    using NodePtr = std::shared_ptr<CTamXmlParserNode>;
    struct SideFile;
    struct ReferencedDocument;

    // ReadDocument, knowing the document's own file (empty when it has none).
    sglGroup* ReadTopDocument(const CTamXmlParserDocu& document, const std::wstring& folder,
                              const std::wstring& path);
    // The path by which a file is known while reading: normalized, separators as '/'.
    static std::wstring DocumentKey(const std::wstring& path);
    // The assembly root element of a product XML, or null with a reason.
    NodePtr FindAssemblyRoot(const CTamXmlParserDocu& document);
    sglGroup* ReadRoot(const CTamXmlParserNode& rootElement, unsigned int depth = 0);
    bool ReadChildren(const CTamXmlParserNode& element, sglGroup& parent, unsigned int depth);
    sglNode* ReadInstance(const CTamXmlParserNode& element, unsigned int depth);
    bool ReadProperties(const CTamXmlParserNode& element, sglGroup& node, bool placed);
    bool ReadGeometryEntry(const NodePtr& entry, sglGroup& parent);
    // Gives the instance the content of the document its "IsInstanceOf" names.
    void ReadReferencedDocument(const CTamXmlParserNode& element, sglGroup& instance,
                                unsigned int depth);
    // Reads a referenced file's assembly root (its instances at `depth` + 1), or null with a
    // reason; errors inside it do not end the read of the referring file.
    sglGroup* ReadReferencedRoot(const std::wstring& path, unsigned int depth,
                                 std::wstring& reason);
    // The side-file entry named by a "File" entry's Ident, or null with a reason; `drawables`
    // becomes the table of drawables shared within that file.
    NodePtr FindSideEntry(const std::wstring& file, const std::wstring& ident,
                          ReadDrawables*& drawables);
    bool Fail(const std::wstring& reason);

    std::wstring m_folder;
    std::wstring m_error;
    unsigned int m_unfollowedReferences = 0;
    unsigned int m_followedReferences = 0;
    std::vector<std::wstring> m_warnings;
    // Side files by path; referenced documents by normalized path, read once per Read.
    std::map<std::wstring, std::unique_ptr<SideFile>> m_sideFiles;
    std::map<std::wstring, std::unique_ptr<ReferencedDocument>> m_referencedDocuments;
    // Normalized paths of the files being read, outermost first (to tell a cycle).
    std::vector<std::wstring> m_openDocuments;
};
