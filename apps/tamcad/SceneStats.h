// Figures of an imported scene graph and the summary that tamcad prints after an import.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>

class sglNode;

namespace tam {

// Counts over one scene graph. Nodes and geodes count every level of detail; triangles, strips
// and indices count the finest level only.
struct SceneStats {
    size_t nodes = 0;
    size_t geodes = 0;
    size_t triangles = 0;
    size_t strips = 0;
    size_t indices = 0;
    size_t lineStrips = 0;
    size_t points = 0;
    unsigned int levels = 0;  // levels of detail; 0 for an empty scene

    // Strip indices per triangle (1 would be a single endless strip, 3 separate triangles);
    // 0 without triangles.
    double indicesPerTriangle() const;
};

// Counts the scene below root; all zero for a null root.
SceneStats collectStats(const sglNode* root);

// Prints the import summary of file: the counts above and the seconds the import took.
void printSummary(std::ostream& out, const std::string& file, const SceneStats& stats,
                  double seconds);

}  // namespace tam
