#include "Plugins.h"

#include "CachedCadLoad.h"

#include <TamInteropCAD/TamCADTools.h>
#include <TamInteropCAD/exports.h>
#include <tamsgdb/CTamDBRoot.h>
#include <tamsgdb/sglModelLoader.h>

namespace tam {
namespace {

struct CadFormat {
    const wchar_t* extension;
    const wchar_t* typeTag;
};

const CadFormat kCadFormats[] = {{L"step", L"STEP"}, {L"stp", L"STEP"},  {L"p21", L"STEP"},
                                 {L"igs", L"IGES"},  {L"iges", L"IGES"}, {L"brep", L"BREP"},
                                 {L"rle", L"BREP"}};

const wchar_t* const kTranslatorTargets[] = {L"step", L"stp", L"igs", L"iges", L"brep", L"stl"};

void registerKernelFiles() {
    sglModelLoader::registerModelLoader(L"okt", [](const std::wstring& path, unsigned int flags) {
        return static_cast<void*>(loadModelOKT(path, flags));
    });
    sglModelLoader::registerModelLoader(L"okb", [](const std::wstring& path, unsigned int flags) {
        return static_cast<void*>(loadModelOKB(path, flags));
    });
    sglModelLoader::registerEntitiesLoader(L"okt", [](const std::wstring& path, unsigned int) {
        return static_cast<void*>(loadEntitiesOKT(path));
    });
    sglModelLoader::registerEntitiesLoader(L"okb", [](const std::wstring& path, unsigned int) {
        return static_cast<void*>(loadEntitiesOKB(path));
    });
    sglModelLoader::registerModelWriter(L"okt", [](const std::wstring& path, void* entities) {
        return writeModelOKT(path, static_cast<ENTITY_LIST*>(entities));
    });
    sglModelLoader::registerModelWriter(L"okb", [](const std::wstring& path, void* entities) {
        return writeModelOKB(path, static_cast<ENTITY_LIST*>(entities));
    });
}

void registerCadFormats() {
    for (const CadFormat& format : kCadFormats) {
        const wchar_t* tag = format.typeTag;
        sglModelLoader::registerModelLoader(
            format.extension, [tag](const std::wstring& path, unsigned int flags) {
                return static_cast<void*>(loadCadModel(path, flags, tag));
            });
        sglModelLoader::registerEntitiesLoader(
            format.extension, [tag](const std::wstring& path, unsigned int flags) {
                return static_cast<void*>(loadCadEntities(path, flags, tag));
            });
    }
    for (const wchar_t* extension : kTranslatorTargets)
        sglModelLoader::registerModelWriter(extension, writeCadFile);
}

}  // namespace

void registerPlugins() {
    registerKernelFiles();
    registerCadFormats();
}

const wchar_t* cadTypeTag(const std::wstring& path) {
    const std::wstring key = sglModelLoader::extensionKey(path);
    for (const CadFormat& format : kCadFormats) {
        if (key == format.extension)
            return format.typeTag;
    }
    return nullptr;
}

CTamDBRoot* loadCadModel(const std::wstring& path, unsigned int flags, const wchar_t* typeTag) {
    return loadCadModelCached(path, flags, typeTag, importCache());
}

ENTITY_LIST* loadCadEntities(const std::wstring& path, unsigned int flags, const wchar_t* typeTag) {
    StartKernelIfAsked(flags);
    return CTamCADTools::InitializeConnectEntityList(path.c_str(), typeTag);
}

bool writeCadFile(const std::wstring& path, void* entities) {
    if (entities == nullptr)
        return false;
    return !CTamCADTools::WriteFile(path.c_str(), static_cast<ENTITY_LIST*>(entities)).IsFailure();
}

}  // namespace tam
