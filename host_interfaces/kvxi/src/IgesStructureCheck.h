// A check of a parsed IGES file's references before OCCT's transfer walks them: the transfer
// follows subfigure instances into their definitions, groups and composite curves into their
// members and so on by recursion, with no guard against an entity used inside itself.
#pragma once

#include <Interface_Graph.hxx>

#include <string>

namespace tam {

// How deep references may nest (entity, a member of it, a member of that ... ).
constexpr int kMaxIgesNesting = 200;

// Empty when the references between the entities form no loop and no chain deeper than
// kMaxIgesNesting; otherwise the cause, naming the entity by its directory entry: "the entity
// structure loops: entity D5 of type 308 is used inside itself" or "the entity structure nests
// deeper than 200 levels (at entity D7 of type 408)".
std::string CheckIgesStructure(const Interface_Graph& graph);

}  // namespace tam
