// Plain exported functions: thin wrappers that may start the kernel, run one load or write through
// a loader of their own, may stop the kernel, and hand the result back.
#include "exports.h"

#include "TamCADLoader.h"
#include "TamCADTools.h"

namespace {

// The start request is bit 7 of the low byte: set exactly when that byte is negative as a
// signed 8-bit value, so high bits alone (0x200) never start the kernel.
bool asksForStart(unsigned int flags) {
    return static_cast<signed char>(flags & 0xFFu) < 0;
}

bool asksForStop(unsigned int flags) {
    return (flags & TAM_FLAG_STOP_KERNEL) != 0;
}

}  // namespace

namespace tam {

CTamDBRoot* LoadWithKernelFlags(unsigned int flags,
                                const std::function<CTamDBRoot*(CTamCADLoader&)>& load) {
    StartKernelIfAsked(flags);
    CTamCADLoader loader;
    CTamDBRoot* root = load(loader);
    if (asksForStop(flags))
        CTamCADTools::TerminateImport();
    return root;
}

void StartKernelIfAsked(unsigned int flags) {
    if (asksForStart(flags))
        CTamCADTools::InitializeImport();
}

void ReleaseEntityList(ENTITY_LIST* list) {
    if (list == nullptr)
        return;
    CTamCADTools::DeleteENTITY_LIST(list);
    delete list;
}

}  // namespace tam

bool Translate(const wchar_t* sourcePath, const wchar_t* targetPath) {
    return CTamCADLoader::Translate(sourcePath, targetPath);
}

CTamDBRoot* TranslateInListFile(const std::wstring& sourcePath,
                                std::list<std::wstring>* targetPaths) {
    return CTamCADLoader::TranslateInListFile(sourcePath, targetPaths);
}

CTamDBRoot* LoadModelCAD(const wchar_t* path, unsigned int flags) {
    return CTamCADLoader::LoadModelCAD(path, flags);
}

CTamDBRoot* loadModelOKT(const std::wstring& path, unsigned int flags) {
    return tam::LoadWithKernelFlags(
        flags, [&path](CTamCADLoader& loader) { return loader.loadOKT(path.c_str()); });
}

CTamDBRoot* loadModelOKB(const std::wstring& path, unsigned int flags) {
    return tam::LoadWithKernelFlags(
        flags, [&path](CTamCADLoader& loader) { return loader.loadOKB(path.c_str()); });
}

ENTITY_LIST* loadEntitiesOKB(const std::wstring& path) {
    const CTamCADLoader loader;
    return loader.loadEntitiesOKB(path.c_str());
}

bool writeModelOKB(const std::wstring& path, ENTITY_LIST* entities) {
    if (entities == nullptr)
        return false;
    const CTamCADLoader loader;
    return loader.writeOKB(path, entities);
}

// The text-format names are the same functions as the binary-format ones: the translator tells
// the two formats apart by content when reading and by the target path when writing. Each alias
// names the mangled symbol of its twin, so both names share one address.
ENTITY_LIST* loadEntitiesOKT(const std::wstring& path) __attribute__((
    alias("_Z15loadEntitiesOKBRKNSt7__cxx1112basic_stringIwSt11char_traitsIwESaIwEEE")));
bool writeModelOKT(const std::wstring& path, ENTITY_LIST* entities) __attribute__((alias(
    "_Z13writeModelOKBRKNSt7__cxx1112basic_stringIwSt11char_traitsIwESaIwEEEP11ENTITY_LIST")));
