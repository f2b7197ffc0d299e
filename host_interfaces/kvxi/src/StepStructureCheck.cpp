#include "StepStructureCheck.h"

#include <StepBasic_Product.hxx>
#include <StepBasic_ProductDefinition.hxx>
#include <StepBasic_ProductDefinitionFormation.hxx>
#include <StepRepr_NextAssemblyUsageOccurrence.hxx>
#include <TCollection_HAsciiString.hxx>

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace tam {
namespace {

using Definition = const StepBasic_ProductDefinition*;

std::string ProductName(Definition definition) {
    if (definition == nullptr || definition->Formation().IsNull() ||
        definition->Formation()->OfProduct().IsNull())
        return "?";
    const Handle(StepBasic_Product)& product = definition->Formation()->OfProduct();
    const Handle(TCollection_HAsciiString)& name =
        !product->Name().IsNull() && product->Name()->Length() > 0 ? product->Name()
                                                                   : product->Id();
    return name.IsNull() ? std::string("?") : std::string(name->ToCString());
}

// The usage graph: each definition's components.
std::map<Definition, std::vector<Definition>> UsageGraph(const Handle(StepData_StepModel) & model) {
    std::map<Definition, std::vector<Definition>> children;
    for (Standard_Integer i = 1; i <= model->NbEntities(); ++i) {
        const auto usage = Handle(StepRepr_NextAssemblyUsageOccurrence)::DownCast(model->Value(i));
        if (usage.IsNull())
            continue;
        Definition parent = usage->RelatingProductDefinition().get();
        Definition child = usage->RelatedProductDefinition().get();
        if (parent != nullptr && child != nullptr)
            children[parent].push_back(child);
    }
    return children;
}

// Depth-first walk without recursion; finds a loop or a path longer than the limit. The depth
// of every finished definition is kept, so a shared sub-assembly is walked once.
class StructureWalk {
public:
    explicit StructureWalk(const std::map<Definition, std::vector<Definition>>& children)
        : m_children(children) {}

    std::string From(Definition root) {
        if (m_height.count(root) != 0)
            return std::string();
        std::vector<std::pair<Definition, size_t>> stack = {{root, 0}};
        m_onPath[root] = true;
        while (!stack.empty()) {
            auto& [node, next] = stack.back();
            const std::vector<Definition>* below = ChildrenOf(node);
            if (below == nullptr || next == below->size()) {
                Finish(node, below);
                m_onPath.erase(node);
                stack.pop_back();
                continue;
            }
            Definition child = (*below)[next++];
            if (m_onPath.count(child) != 0)
                return "the product structure loops: product '" + ProductName(child) +
                       "' is used inside itself";
            const auto known = m_height.find(child);
            const int depth =
                static_cast<int>(stack.size()) + (known != m_height.end() ? known->second : 0);
            if (depth >= kMaxProductNesting)
                return "the product structure nests deeper than " +
                       std::to_string(kMaxProductNesting) + " levels (at product '" +
                       ProductName(child) + "')";
            if (known != m_height.end())
                continue;
            m_onPath[child] = true;
            stack.emplace_back(child, 0);
        }
        return std::string();
    }

private:
    const std::vector<Definition>* ChildrenOf(Definition node) const {
        const auto found = m_children.find(node);
        return found == m_children.end() ? nullptr : &found->second;
    }

    void Finish(Definition node, const std::vector<Definition>* below) {
        int height = 0;
        if (below != nullptr) {
            for (Definition child : *below)
                height = std::max(height, m_height[child] + 1);
        }
        m_height[node] = height;
    }

    const std::map<Definition, std::vector<Definition>>& m_children;
    std::map<Definition, int> m_height;
    std::map<Definition, bool> m_onPath;
};

}  // namespace

std::string CheckProductStructure(const Handle(StepData_StepModel) & model) {
    if (model.IsNull())
        return std::string();
    const std::map<Definition, std::vector<Definition>> children = UsageGraph(model);
    StructureWalk walk(children);
    for (const auto& entry : children) {
        std::string problem = walk.From(entry.first);
        if (!problem.empty())
            return problem;
    }
    return std::string();
}

}  // namespace tam
