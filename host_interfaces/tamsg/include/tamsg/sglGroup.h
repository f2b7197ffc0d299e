// Node holding an ordered list of child nodes and a set of metadata pairs.
#pragma once

#include <tamsg/sglNode.h>

#include <set>
#include <string>
#include <utility>

// A group owns the children added with addChild(node, true) (one reference each) and releases
// them when removed or when the group is destroyed. It also holds metadata: a set of
// (name, value) pairs ordered by name, then value.
class sglGroup : public sglNode {
public:
    using MetaProperties = std::set<std::pair<std::wstring, std::wstring>>;

    sglGroup() = default;
    ~sglGroup() override;

    // Appends node; with owned true the group takes a reference (it owns the node), with false
    // the caller keeps the node alive. False (nothing done) for null, this group or an ancestor.
    bool addChild(sglNode* node, bool owned = true);
    // Removes the first occurrence of node, releasing the group's reference; false if absent.
    bool removeChild(sglNode* node);
    // Removes the child at index; false when out of range.
    bool removeChildAt(unsigned int index);
    // Puts replacement in the place of the first occurrence of child, owned as child was, and
    // releases child. False (nothing done) when child is absent, or replacement is null, this
    // group or an ancestor.
    bool replaceChild(sglNode* child, sglNode* replacement);
    // Removes every child.
    void removeAllChildren();

    unsigned int getNumChildren() const { return static_cast<unsigned int>(m_children.size()); }
    // The child at index, or null when out of range.
    sglNode* getChild(unsigned int index) const;

    // Adds the pair; a pair already present changes nothing.
    void addMetaProperty(const std::wstring& name, const std::wstring& value);
    const MetaProperties& getMetaProperties() const { return m_metaProperties; }
    void clearMetaProperties() { m_metaProperties.clear(); }

    sglNode* clone(unsigned int mode) const override;
    void expandBound(sglBoxBound& box, const sglMat4<float>& toWorld) const override;

protected:
    const char* className() const override { return "sglGroup"; }
    // Fills target (a new group of the derived kind) with this group's clone content.
    void cloneInto(sglGroup& target, unsigned int mode) const;

private:
    friend class sglNode;
    struct Child {
        sglNode* node;
        bool owned;
    };
    void detach(size_t index);
    // Ends the link of a child that has left m_children (its parent entry and reference).
    void release(const Child& child);
    // Called by a dying child that was added without ownership.
    void forgetChild(const sglNode* node);
    bool isSelfOrAncestor(const sglNode* node) const;

    std::vector<Child> m_children;
    MetaProperties m_metaProperties;
};
