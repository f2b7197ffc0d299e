// Product XML back into a scene graph: the assembly tree, placements, names and geometry.
#include <tamfoundations/CTamProductXmlReader.h>

#include "DrawableSharing.h"
#include "GeodeXml.h"
#include "GeometryFileStore.h"
#include "ProductXmlReferencedDocument.h"

#include <tamfoundations/CTamXMLToSG.h>
#include <tamsg/sglGroup.h>
#include <tamsg/sglTransform.h>
#include <tamtools/CTamXmlParserDocu.h>
#include <tamtools/CTamXmlParserNode.h>

#include <exception>
#include <string>

namespace {

const std::wstring kMetaPrefix = L"Meta.";

// The folder part of a path ('\' or '/' separated), empty without one.
std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// Releases a node built so far when a read fails half way.
struct NodeHolder {
    explicit NodeHolder(sglGroup* node) : node(node) { node->ref(); }
    ~NodeHolder() {
        if (node != nullptr)
            node->unref();
    }
    NodeHolder(const NodeHolder&) = delete;
    NodeHolder& operator=(const NodeHolder&) = delete;
    // Hands the node over with count 0.
    sglGroup* release() {
        sglGroup* out = node;
        node = nullptr;
        out->unrefNoDelete();
        return out;
    }
    sglGroup* node;
};

}  // namespace

// One loaded side file with its entries by Ident (files hold one entry per placed part, so a
// linear search per entry would make big assemblies quadratic).
struct CTamProductXmlReader::SideFile {
    std::shared_ptr<CTamXmlParserDocu> document;
    std::map<std::wstring, NodePtr> entries;
    std::wstring error;       // why the file could not be read; empty when loaded
    ReadDrawables drawables;  // shared by all entries of the file
};

CTamProductXmlReader::CTamProductXmlReader() = default;
CTamProductXmlReader::~CTamProductXmlReader() = default;

sglGroup* CTamProductXmlReader::Read(const std::wstring& path) {
    CTamXmlParserDocu document;
    if (!document.load(path)) {
        Fail(L"cannot read product XML '" + path + L"': " + document.getLastError());
        return nullptr;
    }
    return ReadTopDocument(document, FolderOf(path), path);
}

sglGroup* CTamProductXmlReader::ReadDocument(const CTamXmlParserDocu& document,
                                             const std::wstring& folder) {
    return ReadTopDocument(document, folder, std::wstring());
}

sglGroup* CTamProductXmlReader::ReadTopDocument(const CTamXmlParserDocu& document,
                                                const std::wstring& folder,
                                                const std::wstring& path) {
    m_folder = folder;
    m_error.clear();
    m_unfollowedReferences = 0;
    m_followedReferences = 0;
    m_warnings.clear();
    m_sideFiles.clear();
    m_referencedDocuments.clear();
    m_openDocuments.clear();
    sglGroup* root = nullptr;
    try {
        if (!path.empty())
            m_openDocuments.push_back(DocumentKey(path));
        const NodePtr rootElement = FindAssemblyRoot(document);
        if (rootElement)
            root = ReadRoot(*rootElement);
    } catch (const std::exception&) {
        Fail(L"out of memory while reading the product XML");
        root = nullptr;
    }
    m_sideFiles.clear();
    m_referencedDocuments.clear();
    m_openDocuments.clear();
    return root;
}

std::shared_ptr<CTamXmlParserNode> CTamProductXmlReader::FindAssemblyRoot(
    const CTamXmlParserDocu& document) {
    const NodePtr top = document.getDocumentElement();
    if (top->getName() != L"DocumentRVD") {
        Fail(L"not a product XML: the document element is not DocumentRVD");
        return nullptr;
    }
    for (const NodePtr& server : top->GetNodesByTag(L"Server")) {
        if (server->GetAttributeValue(L"Type") != L"CTamServerModifiable")
            continue;
        const NodePtr rootElement = server->GetNodeByTag(L"CTamAssyRoot");
        if (!rootElement->isEmpty())
            return rootElement;
    }
    Fail(L"the product XML holds no assembly root (CTamAssyRoot)");
    return nullptr;
}

sglGroup* CTamProductXmlReader::ReadRoot(const CTamXmlParserNode& rootElement, unsigned int depth) {
    NodeHolder root(new sglGroup);
    if (!ReadProperties(rootElement, *root.node, false) ||
        !ReadChildren(rootElement, *root.node, depth))
        return nullptr;
    return root.release();
}

// Geometry entries first, then the nested instances, each in document order.
bool CTamProductXmlReader::ReadChildren(const CTamXmlParserNode& element, sglGroup& parent,
                                        unsigned int depth) {
    for (const NodePtr& entry : element.GetNodesByTag(L"Geometry")) {
        if (!ReadGeometryEntry(entry, parent))
            return false;
    }
    for (const NodePtr& child : element.GetNodesByTag(L"CTamAssyGroup")) {
        sglNode* instance = ReadInstance(*child, depth + 1);
        if (instance == nullptr)
            return false;
        parent.addChild(instance, true);
    }
    return true;
}

sglNode* CTamProductXmlReader::ReadInstance(const CTamXmlParserNode& element, unsigned int depth) {
    if (depth > kMaxNestingDepth) {
        Fail(L"assembly nodes nested deeper than " + std::to_wstring(kMaxNestingDepth) +
             L" levels");
        return nullptr;
    }
    NodeHolder instance(new sglTransform<float>);
    if (!ReadProperties(element, *instance.node, true))
        return nullptr;
    if (element.HasAttribute(L"IsInstanceOf"))
        ReadReferencedDocument(element, *instance.node, depth);
    if (!ReadChildren(element, *instance.node, depth))
        return nullptr;
    return instance.release();
}

// The "Neutral" block: placement (instances only), name, color and metadata.
bool CTamProductXmlReader::ReadProperties(const CTamXmlParserNode& element, sglGroup& node,
                                          bool placed) {
    const NodePtr neutral = element.GetNodeByTag(L"Neutral");
    const NodePtr location = neutral->GetNodeByTag(L"Actor.Location");
    if (placed && !location->isEmpty()) {
        sglMat4<float> matrix;
        if (!CTamXMLToSG::ReadFrame(location->GetNodeByTag(L"Frame"), matrix))
            return Fail(L"assembly node '" +
                        neutral->GetNodeByTag(L"Actor.Name")->GetAttributeValue(L"Value") +
                        L"': its Actor.Location holds no readable frame");
        static_cast<sglTransform<float>&>(node).setMatrix(matrix);
    }
    for (const NodePtr& property : neutral->getChildNodes()) {
        const std::wstring name = property->getName();
        const std::wstring value = property->GetAttributeValue(L"Value");
        if (name == L"Actor.Name")
            node.setName(value);
        else if (name == L"Actor.Color")
            node.addMetaProperty(name, value);
        else if (name.compare(0, kMetaPrefix.size(), kMetaPrefix) == 0)
            node.addMetaProperty(name.substr(kMetaPrefix.size()), value);
    }
    return true;
}

bool CTamProductXmlReader::ReadGeometryEntry(const NodePtr& entry, sglGroup& parent) {
    NodePtr geodes = entry;
    ReadDrawables inlineDrawables;
    ReadDrawables* drawables = &inlineDrawables;
    const std::wstring file = entry->GetAttributeValue(L"File");
    if (!file.empty()) {
        geodes = FindSideEntry(file, entry->GetAttributeValue(L"Ident"), drawables);
        if (!geodes)
            return false;
    }
    std::wstring reason;
    sglGroup* group = ReadGeodes(*geodes, *drawables, reason);
    if (group == nullptr)
        return Fail(L"geometry of '" + parent.getName() + L"': " + reason);
    parent.addChild(group, true);
    return true;
}

std::shared_ptr<CTamXmlParserNode> CTamProductXmlReader::FindSideEntry(const std::wstring& file,
                                                                       const std::wstring& ident,
                                                                       ReadDrawables*& drawables) {
    // Referenced documents may lie in other folders, so side files are known by their path.
    const std::wstring path = JoinFolder(m_folder, file);
    std::unique_ptr<SideFile>& side = m_sideFiles[path];
    if (!side) {
        side = std::make_unique<SideFile>();
        side->document = std::make_shared<CTamXmlParserDocu>();
        if (side->document->load(path)) {
            for (const NodePtr& geometry :
                 side->document->getDocumentElement()->GetNodesByTag(L"Geometry"))
                side->entries.emplace(geometry->GetAttributeValue(L"Ident"), geometry);
        } else {
            side->error = side->document->getLastError();
        }
    }
    if (!side->error.empty()) {
        Fail(L"cannot read geometry file '" + file + L"': " + side->error);
        return nullptr;
    }
    drawables = &side->drawables;
    const auto found = side->entries.find(ident);
    if (found == side->entries.end()) {
        Fail(L"geometry file '" + file + L"' holds no entry " + ident);
        return nullptr;
    }
    return found->second;
}

bool CTamProductXmlReader::Fail(const std::wstring& reason) {
    m_error = reason;
    return false;
}
