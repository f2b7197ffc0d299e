// The scene writers' module (SceneWriters.h): glTF over tinygltf, pictures over stb.
#include "SceneWriters.h"

namespace {

bool writeGltfWithOptions(const sglNode* root, const std::string& path,
                          const tam::GltfOptions& options, tam::GltfCounts& counts,
                          std::string& error) {
    return tam::writeGltf(root, path, options, counts, error);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) const tam::SceneWriterFunctions*
tamcad_scene_writers() {
    static const tam::SceneWriterFunctions functions = {writeGltfWithOptions, tam::writePicture};
    return &functions;
}
