#include "StepStructureCheck.h"

#include "NestingWalk.h"

#include <StepBasic_Product.hxx>
#include <StepBasic_ProductDefinition.hxx>
#include <StepBasic_ProductDefinitionFormation.hxx>
#include <StepRepr_NextAssemblyUsageOccurrence.hxx>
#include <TCollection_HAsciiString.hxx>

#include <map>
#include <vector>

namespace tam {
namespace {

std::string ProductName(const Handle(Standard_Transient) & entity) {
    const auto definition = Handle(StepBasic_ProductDefinition)::DownCast(entity);
    if (definition.IsNull() || definition->Formation().IsNull() ||
        definition->Formation()->OfProduct().IsNull())
        return "?";
    const Handle(StepBasic_Product)& product = definition->Formation()->OfProduct();
    const Handle(TCollection_HAsciiString)& name =
        !product->Name().IsNull() && product->Name()->Length() > 0 ? product->Name()
                                                                   : product->Id();
    return name.IsNull() ? std::string("?") : std::string(name->ToCString());
}

// The usage graph by entity numbers: each definition's components.
std::map<int, std::vector<int>> UsageGraph(const Handle(StepData_StepModel) & model) {
    std::map<int, std::vector<int>> children;
    for (Standard_Integer i = 1; i <= model->NbEntities(); ++i) {
        const auto usage = Handle(StepRepr_NextAssemblyUsageOccurrence)::DownCast(model->Value(i));
        if (usage.IsNull())
            continue;
        const Standard_Integer parent = model->Number(usage->RelatingProductDefinition());
        const Standard_Integer child = model->Number(usage->RelatedProductDefinition());
        if (parent > 0 && child > 0)
            children[parent].push_back(child);
    }
    return children;
}

}  // namespace

std::string CheckProductStructure(const Handle(StepData_StepModel) & model) {
    if (model.IsNull())
        return std::string();
    const NestingFault fault = FindNestingFault(UsageGraph(model), kMaxProductNesting);
    if (fault.kind == NestingFault::None)
        return std::string();
    const std::string product = "product '" + ProductName(model->Value(fault.node)) + "'";
    if (fault.kind == NestingFault::Loop)
        return "the product structure loops: " + product + " is used inside itself";
    return "the product structure nests deeper than " + std::to_string(kMaxProductNesting) +
           " levels (at " + product + ")";
}

}  // namespace tam
