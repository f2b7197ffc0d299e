// Base of the scene-graph nodes: groups, transforms, levels of detail and geodes.
#pragma once

#include <tamsg/sglBoxBound.h>
#include <tamsg/sglMat4.h>
#include <tamsg/sglObject.h>

#include <vector>

class sglGroup;

// A node of the scene graph. Nodes are reference-counted; a group owns the children added to it.
// A node knows the groups that hold it (its parents), so its placement can be accumulated.
class sglNode : public sglObject {
public:
    // Bits of the clone mode: CLONE_DEEP clones children recursively (otherwise a cloned group
    // shares them); CLONE_ATTRIBUTES copies names, user data and metadata. Drawables are always
    // shared by the clone; clone(3) copies the whole structure.
    enum CloneMode : unsigned int { CLONE_DEEP = 1, CLONE_ATTRIBUTES = 2 };

    ~sglNode() override;

    // A new node (count 0, owned by the caller) of the same kind; see CloneMode.
    virtual sglNode* clone(unsigned int mode) const = 0;

    // The bounds of this subtree from its drawables' positions, with the transforms below this
    // node applied (not those above it). Empty when the subtree holds no position.
    sglBoxBound getBound() const;
    // Grows box by this subtree's positions mapped by toWorld (p' = p x toWorld).
    virtual void expandBound(sglBoxBound& box, const sglMat4<float>& toWorld) const = 0;

    // Groups holding this node, in the order it was added to them (one entry per addChild).
    unsigned int getNumParents() const { return static_cast<unsigned int>(m_parents.size()); }
    // The parent at index, or null when out of range.
    sglGroup* getParent(unsigned int index) const;

protected:
    sglNode() = default;
    const char* className() const override { return "sglNode"; }
    // Copies what CLONE_ATTRIBUTES asks for (name, a clone of the user data) into target.
    void copyAttributesTo(sglNode& target, unsigned int mode) const;

private:
    friend class sglGroup;
    std::vector<sglGroup*> m_parents;
};
