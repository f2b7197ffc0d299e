#include "AssemblyModel.h"

#include <algorithm>

namespace tam {

std::size_t CountLeaves(const std::vector<AssemblyNode>& nodes) {
    std::size_t leaves = 0;
    for (const AssemblyNode& node : nodes)
        leaves += node.part >= 0 ? 1 : CountLeaves(node.children);
    return leaves;
}

void PruneEmptyAssemblies(std::vector<AssemblyNode>& nodes) {
    for (AssemblyNode& node : nodes)
        PruneEmptyAssemblies(node.children);
    nodes.erase(std::remove_if(nodes.begin(), nodes.end(),
                               [](const AssemblyNode& node) {
                                   return node.part < 0 && node.children.empty();
                               }),
                nodes.end());
}

void UnwrapSingleRoot(AssemblyModel& model) {
    if (model.roots.size() != 1 || model.roots.front().part >= 0)
        return;
    AssemblyNode top = std::move(model.roots.front());
    model.name = top.name;
    for (AssemblyNode& child : top.children)
        child.placement = top.placement * child.placement;
    model.roots = std::move(top.children);
}

}  // namespace tam
