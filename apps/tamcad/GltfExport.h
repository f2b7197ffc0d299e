// Writes a host scene graph as glTF 2.0 (binary .glb or JSON .gltf with an embedded buffer).
#pragma once

#include <cstddef>
#include <string>

class sglNode;

namespace tam {

// What one export wrote.
struct GltfCounts {
    size_t nodes = 0;       // one per scene-graph node visited (finest level only)
    size_t meshes = 0;      // one per visible geode with at least one drawable
    size_t primitives = 0;  // one per drawable of a geode's finest level
    size_t accessors = 0;   // positions, normals, colors and indices of every primitive
    size_t materials = 0;   // one per distinct color
};

// How the scene's geometry is grouped into glTF meshes.
struct GltfOptions {
    // Off: one mesh per visible geode. On (assemblies): below the top node, the first node on
    // each path that is not a transform is a placed part; its visible geodes' finest drawables
    // (placed inside the part) become one mesh, and parts built over the same drawables (clones
    // of one meshed part) share that mesh, so a part placed many times is stored once.
    bool meshPerPart = false;
};

// Writes the scene below root to path: binary glTF when path ends in ".glb", otherwise JSON with
// the buffer embedded. Every node keeps its name and placement (lengths in metres: the top node
// scales the scene's millimetres by 0.001); a geode's finest level becomes one mesh of triangle,
// line and point primitives, colored by material. Hidden geodes stay as nodes without a mesh.
// The file is written whole or not at all (an earlier file stays as it was). False with a reason
// in error when root is null or the file cannot be written.
bool writeGltf(const sglNode* root, const std::string& path, GltfCounts& counts,
               std::string& error);
bool writeGltf(const sglNode* root, const std::string& path, const GltfOptions& options,
               GltfCounts& counts, std::string& error);

}  // namespace tam
