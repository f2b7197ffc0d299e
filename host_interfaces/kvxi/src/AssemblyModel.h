// The translator's view of an assembly whose structure is kept: each distinct part once, in its
// own coordinates, and a tree of instances placing the parts. Private to the translator.
#pragma once

#include "CadModel.h"

#include <gp_Trsf.hxx>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tam {

// A distinct part: what its kernel file holds (bodies and free shapes in part coordinates)
// and its user-defined properties.
struct AssemblyPart {
    std::string name;  // the product's name (UTF-8)
    CadModel content;
    std::vector<NamedValue> properties;
};

// One placed instance: a leaf places a part, a sub-assembly holds further instances.
struct AssemblyNode {
    std::string name;  // instance name, or the product's when the instance has none (UTF-8)
    std::optional<RgbColor> color;
    gp_Trsf placement;  // in the coordinates of the enclosing instance
    int part = -1;      // index into AssemblyModel::parts for a leaf, -1 for a sub-assembly
    int product = -1;   // index into AssemblyModel::products for a sub-assembly
    std::vector<AssemblyNode> children;
};

struct AssemblyModel {
    std::string name;  // the assembly's own name
    std::vector<AssemblyPart> parts;
    std::vector<std::string> products;  // names of the sub-assembly products
    std::vector<AssemblyNode> roots;
    bool readerWarnings = false;

    bool IsEmpty() const { return roots.empty(); }
};

// Number of leaf instances under the nodes.
std::size_t CountLeaves(const std::vector<AssemblyNode>& nodes);
// Drops sub-assemblies left without instances: they would read as leaves placing nothing.
void PruneEmptyAssemblies(std::vector<AssemblyNode>& nodes);
// A model holding one top-level assembly becomes that assembly: its components become the
// top-level instances and its name the model's name.
void UnwrapSingleRoot(AssemblyModel& model);

}  // namespace tam
