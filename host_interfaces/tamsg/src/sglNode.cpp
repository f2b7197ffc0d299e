// Parent links, bounds and attribute copies common to all nodes.
#include <tamsg/sglGroup.h>
#include <tamsg/sglNode.h>
#include <tamsg/sglUserData.h>

sglNode::~sglNode() {
    // Only groups that hold this node without owning it can still list it; let them forget it.
    const std::vector<sglGroup*> parents = m_parents;
    for (sglGroup* parent : parents)
        parent->forgetChild(this);
}

sglBoxBound sglNode::getBound() const {
    sglBoxBound box;
    expandBound(box, sglMat4<float>());
    return box;
}

sglGroup* sglNode::getParent(unsigned int index) const {
    return index < m_parents.size() ? m_parents[index] : nullptr;
}

void sglNode::copyAttributesTo(sglNode& target, unsigned int mode) const {
    if ((mode & CLONE_ATTRIBUTES) == 0)
        return;
    target.setName(getName());
    target.setUserData(getUserData() ? getUserData()->clone() : nullptr);
}
