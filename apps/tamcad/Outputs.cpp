#include "Outputs.h"

#include "SceneWriters.h"

#include <platform/AtomicFile.h>

#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <filesystem>

namespace tam {
namespace {

namespace fs = std::filesystem;

std::string lowerExtension(const std::string& path) {
    std::string extension = fs::path(path).extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

std::string folderOf(const std::string& path) {
    const fs::path folder = fs::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

}  // namespace

bool outputKind(const std::string& path, OutputKind& kind) {
    const std::string extension = lowerExtension(path);
    if (extension == ".glb" || extension == ".gltf") {
        kind = OutputKind::Gltf;
    } else if (extension == ".png") {
        kind = OutputKind::Picture;
    } else if (extension == ".okt" || extension == ".okb" || extension == ".step" ||
               extension == ".stp" || extension == ".igs" || extension == ".iges" ||
               extension == ".brep" || extension == ".stl") {
        kind = OutputKind::Translator;
    } else {
        return false;
    }
    return true;
}

std::string sourceProblem(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status))
        return SystemErrorText(ENOENT);
    if (fs::is_directory(status))
        return SystemErrorText(EISDIR);
    if (::access(path.c_str(), R_OK) != 0)
        return SystemErrorText(errno);
    return std::string();
}

std::string outputProblem(const std::string& path) {
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return SystemErrorText(EISDIR);
    const std::string folder = folderOf(path);
    if (!fs::is_directory(folder, ec))
        return SystemErrorText(ENOENT);
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return SystemErrorText(errno);
    return std::string();
}

bool writeSceneOutput(const sglNode* scene, const std::string& path, OutputKind kind,
                      const PictureOptions& picture, std::string& error) {
    if (kind == OutputKind::Gltf) {
        GltfCounts counts;
        return writeGltfFile(scene, path, GltfOptions{}, counts, error);
    }
    return writePictureFile(scene, path, picture, error);
}

}  // namespace tam
