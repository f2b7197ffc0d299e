// A check of a parsed STEP file's product structure before OCCT's assembly transfer walks it:
// that transfer recurses once per level and has no guard against a product used inside itself.
#pragma once

#include <StepData_StepModel.hxx>

#include <string>

namespace tam {

// How deep assemblies may nest (products inside products).
constexpr int kMaxProductNesting = 500;

// Empty when the assembly usages (NEXT_ASSEMBLY_USAGE_OCCURRENCE) form a tree or a shared
// hierarchy no deeper than kMaxProductNesting; otherwise the cause, naming the product: "the
// product structure loops: product 'X' is used inside itself" or "the product structure nests
// deeper than 500 levels (at product 'X')".
std::string CheckProductStructure(const Handle(StepData_StepModel) & model);

}  // namespace tam
