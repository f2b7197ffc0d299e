// Child lists with ownership, parent links and metadata of groups.
#include <tamsg/sglGroup.h>

#include <algorithm>

sglGroup::~sglGroup() {
    removeAllChildren();
}

bool sglGroup::addChild(sglNode* node, bool owned) {
    if (node == nullptr || isSelfOrAncestor(node))
        return false;
    if (owned)
        node->ref();
    m_children.push_back({node, owned});
    node->m_parents.push_back(this);
    return true;
}

bool sglGroup::removeChild(sglNode* node) {
    for (size_t i = 0; i < m_children.size(); ++i) {
        if (m_children[i].node == node) {
            detach(i);
            return true;
        }
    }
    return false;
}

bool sglGroup::removeChildAt(unsigned int index) {
    if (index >= m_children.size())
        return false;
    detach(index);
    return true;
}

bool sglGroup::replaceChild(sglNode* child, sglNode* replacement) {
    if (replacement == nullptr || isSelfOrAncestor(replacement))
        return false;
    for (Child& slot : m_children) {
        if (slot.node == child) {
            const Child previous = slot;
            if (previous.owned)
                replacement->ref();
            replacement->m_parents.push_back(this);
            slot.node = replacement;
            release(previous);
            return true;
        }
    }
    return false;
}

void sglGroup::removeAllChildren() {
    while (!m_children.empty())
        detach(m_children.size() - 1);
}

sglNode* sglGroup::getChild(unsigned int index) const {
    return index < m_children.size() ? m_children[index].node : nullptr;
}

void sglGroup::addMetaProperty(const std::wstring& name, const std::wstring& value) {
    m_metaProperties.emplace(name, value);
}

sglNode* sglGroup::clone(unsigned int mode) const {
    auto* group = new sglGroup;
    cloneInto(*group, mode);
    return group;
}

void sglGroup::expandBound(sglBoxBound& box, const sglMat4<float>& toWorld) const {
    for (const Child& child : m_children)
        child.node->expandBound(box, toWorld);
}

void sglGroup::cloneInto(sglGroup& target, unsigned int mode) const {
    copyAttributesTo(target, mode);
    if (mode & CLONE_ATTRIBUTES)
        target.m_metaProperties = m_metaProperties;
    for (const Child& child : m_children) {
        if (mode & CLONE_DEEP) {
            target.addChild(child.node->clone(mode), true);
        } else {
            target.addChild(child.node, true);
        }
    }
}

void sglGroup::detach(size_t index) {
    const Child child = m_children[index];
    m_children.erase(m_children.begin() + static_cast<std::ptrdiff_t>(index));
    release(child);
}

void sglGroup::release(const Child& child) {
    auto& parents = child.node->m_parents;
    auto it = std::find(parents.begin(), parents.end(), this);
    if (it != parents.end())
        parents.erase(it);
    // Released last: the child may be deleted here, and with it its own subtree.
    if (child.owned)
        child.node->unref();
}

void sglGroup::forgetChild(const sglNode* node) {
    m_children.erase(std::remove_if(m_children.begin(), m_children.end(),
                                    [node](const Child& c) { return c.node == node; }),
                     m_children.end());
}

bool sglGroup::isSelfOrAncestor(const sglNode* node) const {
    if (node == this)
        return true;
    for (const sglGroup* parent : m_parents) {
        if (parent->isSelfOrAncestor(node))
            return true;
    }
    return false;
}
