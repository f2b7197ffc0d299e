// Helpers shared by the sources of CTamEBOMParser (internal to the library).
#pragma once

#include "ebom_parser.h"
#include "meta_collector.h"

#include <tamsg/sglNode.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// What copies of one parser share. The last copy to go releases it (the parser's destructor
// tells the last copy by the use count of its shared pointer).
struct CTamEBOMParser::SharedResources {
    SharedResources() = default;
    SharedResources(const SharedResources&) = delete;
    SharedResources& operator=(const SharedResources&) = delete;
    // Deletes the entity-list objects (their entities are deleted by BuildMesh or, at the
    // latest, when the kernel stops).
    ~SharedResources();

    std::unique_ptr<wchar_t[]> sourceFile;
    std::unique_ptr<CTamMetaCollector> metaCollector;
    std::vector<ENTITY_LIST*> entityLists;
    // The nesting limit was reported already: one message per import.
    bool nestingReported = false;
};

// One sibling list of the assembly tree walk: where its instances go, and the context handed
// down from the levels above.
struct CTamEBOMParser::AssemblyLevel {
    // Element the instances' "CTamAssyGroup" elements go under; null without product XML.
    std::shared_ptr<CTamXmlParserNode> xmlParent;
    sglGroup* parent = nullptr;
    unsigned int level = 0;
    // Name of the enclosing level-1 instance (set by each level-1 instance for its subtree).
    std::wstring levelOneName;
    // RefLink id of the enclosing sub-assembly; empty for the children of Root.
    std::wstring parentRefLinkId;
    // Identifier map of this sibling list.
    std::map<CString, unsigned int> identifiers;
};

namespace tam_ebom {

// Flags value of the registry loads made during an assembly import: the kernel is neither
// started nor stopped.
constexpr unsigned int kRegistryFlags = 3;

// Holds one counted reference on a scene node while it is built, so that a node that ends up
// nowhere (or an exception) releases it.
class NodeRef {
public:
    explicit NodeRef(sglNode* node = nullptr) : m_node(node) {
        if (m_node != nullptr)
            m_node->ref();
    }
    ~NodeRef() {
        if (m_node != nullptr)
            m_node->unref();
    }
    NodeRef(NodeRef&& other) noexcept : m_node(std::exchange(other.m_node, nullptr)) {}
    NodeRef(const NodeRef&) = delete;
    NodeRef& operator=(const NodeRef&) = delete;
    NodeRef& operator=(NodeRef&&) = delete;

    sglNode* get() const { return m_node; }
    // Hands the node over to a new owner: the reference goes without deleting the node.
    sglNode* release() {
        sglNode* node = std::exchange(m_node, nullptr);
        if (node != nullptr)
            node->unrefNoDelete();
        return node;
    }
    explicit operator bool() const { return m_node != nullptr; }

private:
    sglNode* m_node;
};

// Lower-cases A-Z.
std::wstring Lower(std::wstring text);
// True for "mrxpart" and "mrxproduct" in any letter case.
bool IsMirexDocumentType(const std::wstring& type);

}  // namespace tam_ebom
