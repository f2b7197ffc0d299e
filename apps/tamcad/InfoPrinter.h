// `tamcad info`: the scene graph as an indented tree.
#pragma once

#include <ostream>

class sglNode;

namespace tam {

// Prints one line per node below root, indented two blanks per level: its kind and name, and
// for geodes the entity kind, layer, visibility, area, volume and triangle, line and point
// counts of the finest level; a transform shows its translation, a group its metadata pairs.
// Prints "(empty scene)" for a null root.
void printSceneTree(std::ostream& out, const sglNode* root);

}  // namespace tam
