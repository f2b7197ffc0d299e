// The kernel-file calls: error frames, file access, and the choice of format.
#include "ApiFrame.h"
#include "DocumentConversion.h"
#include "Faceter.h"
#include "FileFormat.h"

#include <orik/OrikFiles.h>
#include <platform/CodePage.h>

#include <unistd.h>
#include <cstdio>
#include <fstream>
#include <iterator>

using orik::require;
using orik::runApi;

namespace {

std::string bytesOf(const ENTITY_LIST& entities, bool binary) {
    const orik::files::KernelDocument document = orik::files::documentOf(entities);
    return binary ? orik::files::writeBinary(document) : orik::files::writeText(document);
}

void restoreFrom(const char* data, size_t size, ENTITY_LIST& entities) {
    using namespace orik::files;
    if (looksLikeBinary(data, size)) {
        makeEntities(readBinary(data, size), entities);
    } else if (looksLikeText(data, size)) {
        makeEntities(readText(data, size), entities);
    } else {
        throw orik_exception(ORIK_FILE_DAMAGED);
    }
}

// Writes beside the target and renames, so that the target is whole or untouched.
void writeFile(const std::string& path, const std::string& bytes) {
    const std::string aside = path + ".tmp" + std::to_string(::getpid());
    bool written = false;
    {
        std::ofstream file(aside, std::ios::binary | std::ios::trunc);
        if (!file)
            throw orik_exception(ORIK_FILE_WRITE_FAILED);
        file.write(bytes.data(), std::streamsize(bytes.size()));
        file.close();
        written = bool(file);
    }
    if (!written || std::rename(aside.c_str(), path.c_str()) != 0) {
        std::remove(aside.c_str());
        throw orik_exception(ORIK_FILE_WRITE_FAILED);
    }
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw orik_exception(ORIK_FILE_OPEN_FAILED);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad())
        throw orik_exception(ORIK_FILE_OPEN_FAILED);
    return bytes;
}

}  // namespace

outcome api_save_entity_list(const wchar_t* path, const ENTITY_LIST& entities, logical binary,
                             OrikOptions*) {
    return runApi("api_save_entity_list", [path, &entities, binary] {
        require(path != nullptr && *path != L'\0', ORIK_BAD_ARGUMENT);
        writeFile(tam::WideToUtf8Replacing(path), bytesOf(entities, binary != FALSE));
        return outcome();
    });
}

outcome api_restore_entity_list(const wchar_t* path, ENTITY_LIST& entities, OrikOptions*) {
    return runApi("api_restore_entity_list", [path, &entities] {
        require(path != nullptr && *path != L'\0', ORIK_BAD_ARGUMENT);
        const std::string bytes = readFile(tam::WideToUtf8Replacing(path));
        restoreFrom(bytes.data(), bytes.size(), entities);
        return outcome();
    });
}

outcome api_save_entity_list_to_bytes(const ENTITY_LIST& entities, logical binary,
                                      std::string& bytes, OrikOptions*) {
    return runApi("api_save_entity_list_to_bytes", [&entities, binary, &bytes] {
        bytes = bytesOf(entities, binary != FALSE);
        return outcome();
    });
}

outcome api_save_entity_list_with_facets(const ENTITY_LIST& entities, std::iostream& stream,
                                         OrikOptions*) {
    return runApi("api_save_entity_list_with_facets", [&entities, &stream] {
        // Stored as meshing made them, so that faceting them again builds the same strips.
        const orik::files::KernelDocument document = orik::files::documentOf(entities, true);
        orik::Faceter::instance().withUnflippedTriangles(
            document.shapes, [&stream, &document] { orik::files::writeBinary(document, stream); });
        return outcome();
    });
}

outcome api_restore_entity_list_from_bytes(const char* data, size_t size, ENTITY_LIST& entities,
                                           OrikOptions*) {
    return runApi("api_restore_entity_list_from_bytes", [data, size, &entities] {
        require(data != nullptr || size == 0, ORIK_BAD_ARGUMENT);
        restoreFrom(data ? data : "", size, entities);
        return outcome();
    });
}
