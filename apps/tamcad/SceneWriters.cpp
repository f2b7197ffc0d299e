#include "SceneWriters.h"

#include <dlfcn.h>

namespace tam {
namespace {

constexpr char kModule[] = "libTam_tamcad_writers.so";

// The module beside the object holding this code (the host library), else wherever the loader
// finds it (a program that links the host statically, such as its tests).
void* openModule(std::string& error) {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&writeGltfFile), &info) != 0 && info.dli_fname != nullptr) {
        const std::string self = info.dli_fname;
        const std::string::size_type slash = self.find_last_of('/');
        if (slash != std::string::npos) {
            if (void* beside = dlopen((self.substr(0, slash + 1) + kModule).c_str(), RTLD_NOW))
                return beside;
        }
    }
    if (void* found = dlopen(kModule, RTLD_NOW))
        return found;
    const char* reason = dlerror();
    error = reason != nullptr ? reason : kModule;
    return nullptr;
}

// Opened once, on the first call; stays open.
const SceneWriterFunctions* writers(std::string& error) {
    static std::string openError;
    static const SceneWriterFunctions* const functions = []() -> const SceneWriterFunctions* {
        void* module = openModule(openError);
        if (module == nullptr)
            return nullptr;
        using Entry = const SceneWriterFunctions* (*)();
        const auto entry = reinterpret_cast<Entry>(dlsym(module, "tamcad_scene_writers"));
        if (entry == nullptr) {
            openError = std::string(kModule) + " has no scene writers";
            return nullptr;
        }
        return entry();
    }();
    error = openError;
    return functions;
}

}  // namespace

bool writeGltfFile(const sglNode* root, const std::string& path, const GltfOptions& options,
                   GltfCounts& counts, std::string& error) {
    const SceneWriterFunctions* functions = writers(error);
    return functions != nullptr && functions->writeGltf(root, path, options, counts, error);
}

bool writePictureFile(const sglNode* root, const std::string& path, const PictureOptions& options,
                      std::string& error) {
    const SceneWriterFunctions* functions = writers(error);
    return functions != nullptr && functions->writePicture(root, path, options, error);
}

}  // namespace tam
