// Figures of an imported assembly: placed parts, distinct part meshes and their triangles.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>

class sglNode;

namespace tam {

// Counts over an assembly tree. A placed part is, below the top node, the first node on a path
// that is not a transform (as the glTF writer's part meshes); parts whose finest drawables are
// the same objects (clones of one meshed part) count as one distinct mesh.
struct AssemblyStats {
    size_t instances = 0;        // placed parts
    size_t distinctMeshes = 0;   // distinct part geometries, each meshed once
    size_t trianglesPlaced = 0;  // finest-level triangles over every placement
    size_t trianglesMeshed = 0;  // finest-level triangles of the distinct meshes
};

// Counts the assembly below root; all zero for a null root.
AssemblyStats collectAssemblyStats(const sglNode* root);

// Prints the assembly summary: instances, distinct parts (as the assembly XML lists them),
// parts meshed, triangles and seconds; road tells how it was imported ("assembly" or "flat").
void printAssemblySummary(std::ostream& out, const std::string& file, const std::string& road,
                          const AssemblyStats& stats, size_t listedParts, double seconds);

}  // namespace tam
