#include "NestingWalk.h"

#include <algorithm>
#include <set>
#include <utility>

namespace tam {
namespace {

class Walk {
public:
    Walk(const std::map<int, std::vector<int>>& children, int maxDepth)
        : m_children(children), m_maxDepth(maxDepth) {}

    NestingFault From(int root) {
        if (m_height.count(root) != 0)
            return NestingFault();
        std::vector<std::pair<int, size_t>> stack = {{root, 0}};
        m_onPath.insert(root);
        while (!stack.empty()) {
            auto& [node, next] = stack.back();
            const std::vector<int>* below = ChildrenOf(node);
            if (below == nullptr || next == below->size()) {
                Finish(node, below);
                m_onPath.erase(node);
                stack.pop_back();
                continue;
            }
            const int child = (*below)[next++];
            if (m_onPath.count(child) != 0)
                return {NestingFault::Loop, child};
            const auto known = m_height.find(child);
            const int depth =
                static_cast<int>(stack.size()) + (known != m_height.end() ? known->second : 0);
            if (depth >= m_maxDepth)
                return {NestingFault::TooDeep, child};
            if (known != m_height.end())
                continue;
            m_onPath.insert(child);
            stack.emplace_back(child, 0);
        }
        return NestingFault();
    }

private:
    const std::vector<int>* ChildrenOf(int node) const {
        const auto found = m_children.find(node);
        return found == m_children.end() ? nullptr : &found->second;
    }

    void Finish(int node, const std::vector<int>* below) {
        int height = 0;
        if (below != nullptr) {
            for (const int child : *below)
                height = std::max(height, m_height[child] + 1);
        }
        m_height[node] = height;
    }

    const std::map<int, std::vector<int>>& m_children;
    const int m_maxDepth;
    std::map<int, int> m_height;
    std::set<int> m_onPath;
};

}  // namespace

NestingFault FindNestingFault(const std::map<int, std::vector<int>>& children, int maxDepth) {
    Walk walk(children, maxDepth);
    for (const auto& entry : children) {
        const NestingFault fault = walk.From(entry.first);
        if (fault.kind != NestingFault::None)
            return fault;
    }
    return NestingFault();
}

}  // namespace tam
