#include "IgesStructureCheck.h"

#include "NestingWalk.h"

#include <IGESData_IGESEntity.hxx>
#include <TColStd_HArray1OfListOfInteger.hxx>

#include <map>
#include <vector>

namespace tam {
namespace {

// Every entity's sharers: the references turned round, which keeps their loops and depths.
std::map<int, std::vector<int>> SharingGraph(const Interface_Graph& graph) {
    std::map<int, std::vector<int>> sharers;
    const Handle(TColStd_HArray1OfListOfInteger)& table = graph.SharingTable();
    if (table.IsNull())
        return sharers;
    for (Standard_Integer i = table->Lower(); i <= table->Upper(); ++i) {
        for (const Standard_Integer sharer : table->Value(i))
            sharers[i].push_back(sharer);
    }
    return sharers;
}

std::string EntityName(const Interface_Graph& graph, int number) {
    const auto entity = Handle(IGESData_IGESEntity)::DownCast(graph.Entity(number));
    const std::string type = entity.IsNull() ? "?" : std::to_string(entity->TypeNumber());
    return "entity D" + std::to_string(2 * number - 1) + " of type " + type;
}

}  // namespace

std::string CheckIgesStructure(const Interface_Graph& graph) {
    const NestingFault fault = FindNestingFault(SharingGraph(graph), kMaxIgesNesting);
    if (fault.kind == NestingFault::None)
        return std::string();
    const std::string entity = EntityName(graph, fault.node);
    if (fault.kind == NestingFault::Loop)
        return "the entity structure loops: " + entity + " is used inside itself";
    return "the entity structure nests deeper than " + std::to_string(kMaxIgesNesting) +
           " levels (at " + entity + ")";
}

}  // namespace tam
