// `tamcad info` on a product XML file (.rvdxml): the assembly tree it describes.
#pragma once

#include <string>

namespace tam {

// Reads the product XML file and its geometry side files back into a scene graph and prints
// its tree as `tamcad info` prints a model's. Returns the exit code: done, or nothing loaded
// (the reason goes to stderr).
int printProductXmlTree(const std::string& file);

}  // namespace tam
