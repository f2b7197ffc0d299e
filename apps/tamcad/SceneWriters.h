// The glTF and picture writers, from a module of their own (libTam_tamcad_writers.so, beside the
// host's libraries) opened by the first output that needs one: an import that writes neither never
// maps the glTF and image libraries they use.
#pragma once

#include "GltfExport.h"
#include "Picture.h"

#include <string>

class sglNode;

namespace tam {

// The module's functions, as its entry point hands them out.
struct SceneWriterFunctions {
    bool (*writeGltf)(const sglNode* root, const std::string& path, const GltfOptions& options,
                      GltfCounts& counts, std::string& error);
    bool (*writePicture)(const sglNode* root, const std::string& path,
                         const PictureOptions& options, std::string& error);
};

// writeGltf and writePicture through the module; false with the loader's reason in `error` when
// the module cannot be opened.
bool writeGltfFile(const sglNode* root, const std::string& path, const GltfOptions& options,
                   GltfCounts& counts, std::string& error);
bool writePictureFile(const sglNode* root, const std::string& path, const PictureOptions& options,
                      std::string& error);

}  // namespace tam

// The module's entry point.
extern "C" const tam::SceneWriterFunctions* tamcad_scene_writers();
