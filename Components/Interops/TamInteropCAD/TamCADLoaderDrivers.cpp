// CTamCADLoader: the model load drivers (CAD routing through the host registry, kernel text and
// binary files) and the translations into other formats.
#include <orik/orik.h>
#include <tamsg/sglGroup.h>
#include <tamsgdb/CTamDBRoot.h>
#include <tamsgdb/CTamLog.h>
#include <tamsgdb/sglModelLoader.h>

#include "TamCADLoader.h"
#include "TamCADTools.h"
#include "io_tools.h"

namespace {

const wchar_t* const kLogSource = L"TamCADLoader";
const wchar_t* const kKernelFileType = L"Orik";

// Loads started by the translations neither start nor stop the kernel (bits 0x80 and 0x100
// clear); the low bits are for the plug-in that picks the source format.
constexpr unsigned int kTranslateLoadFlags = 3;

// Sends "<step> <file name>" with fraction 0 when the host listens for progress.
void reportStepStart(const wchar_t* step, const wchar_t* path) {
    if (sglModelLoader::s_callbackProgress == nullptr)
        return;
    const std::wstring text = step + CTamIOTools::GetFileName(path);
    sglModelLoader::s_callbackProgress(0.0f, text.c_str());
}

bool holdsEntities(const ENTITY_LIST* list) {
    return list != nullptr && list->count() > 0;
}

// Deletes the entities through the kernel, then the list object the translator handed out.
void releaseEntities(ENTITY_LIST* list, OrikOptions* options) {
    if (list == nullptr)
        return;
    api_del_entity_list(*list, options);
    delete list;
}

CTamDBRoot* newRoot(sglGroup* group) {
    CTamDBRoot* root = new CTamDBRoot();
    root->SetSglRoot(group);
    return root;
}

// Reads a kernel file and builds its scene graph inside a log block of the given name; null when
// the file cannot be read. The entities are deleted afterwards.
sglGroup* loadKernelFile(CTamCADLoader& loader, const wchar_t* block, const wchar_t* path,
                         OrikOptions* options) {
    gTamLog.BeginBlock(block, kLogSource, __LINE__, L"Block");
    gTamLog.WriteInfos(path, true, false);
    reportStepStart(L"Loading ", path);
    ENTITY_LIST* entities = CTamCADTools::InitializeConnectEntityList(path, kKernelFileType);
    sglGroup* group = entities != nullptr ? loader.ParseEntities(*entities, path) : nullptr;
    releaseEntities(entities, options);
    gTamLog.EndBlock(block, kLogSource, __LINE__);
    return group;
}

// Which registry entry a CAD path goes to: ProE parts and assemblies by the host's rule, other
// ".prt" files (compared lower-cased) to "prt_ug", everything else by the path's own extension
// (an empty key).
std::wstring routedExtension(const wchar_t* path) {
    if (CTamIOTools::IsProePart(path))
        return L"prt";
    if (CTamIOTools::IsProeAssembly(path))
        return L"asm";
    if (CTamIOTools::GetFileExtension(path) == L"prt")
        return L"prt_ug";
    return std::wstring();
}

}  // namespace

CTamDBRoot* CTamCADLoader::LoadModelCAD(const wchar_t* path, unsigned int flags) {
    if (path == nullptr)
        return nullptr;
    const std::wstring extension = routedExtension(path);
    void* root = extension.empty() ? sglModelLoader::loadModel(path, flags)
                                   : sglModelLoader::loadModelFromExtension(path, extension, flags);
    return static_cast<CTamDBRoot*>(root);
}

ENTITY_LIST* CTamCADLoader::LoadEntitiesCAD(const wchar_t* path, unsigned int flags) {
    if (path == nullptr)
        return nullptr;
    const std::wstring extension = routedExtension(path);
    void* list = extension.empty()
                     ? sglModelLoader::loadEntities(path, flags)
                     : sglModelLoader::loadEntitiesFromExtension(path, extension, flags);
    return static_cast<ENTITY_LIST*>(list);
}

CTamDBRoot* CTamCADLoader::loadOKT(const wchar_t* path) {
    api_bb_begin();
    sglGroup* group = loadKernelFile(*this, L"loadOKT", path, m_pOptions);
    // Failures inside the bracket have reached the host through the checks already.
    api_bb_end();
    return newRoot(group);
}

CTamDBRoot* CTamCADLoader::loadOKB(const wchar_t* path) {
    return newRoot(loadKernelFile(*this, L"loadOKB", path, m_pOptions));
}

ENTITY_LIST* CTamCADLoader::loadEntitiesOKB(const wchar_t* path) const {
    return CTamCADTools::InitializeConnectEntityList(path, kKernelFileType);
}

bool CTamCADLoader::writeOKB(const std::wstring& path, const ENTITY_LIST* entities) const {
    reportStepStart(L"Writing ", path.c_str());
    // The translator only reads the list; its interface takes it without const.
    const KVXIResult result =
        CTamCADTools::WriteFile(path.c_str(), const_cast<ENTITY_LIST*>(entities));
    return !result.IsFailure();
}

bool CTamCADLoader::Translate(const wchar_t* sourcePath, const wchar_t* targetPath) {
    if (sourcePath == nullptr || targetPath == nullptr)
        return false;
    CTamCADTools::InitializeImport();
    ENTITY_LIST* entities = LoadEntitiesCAD(sourcePath, kTranslateLoadFlags);
    bool written = false;
    if (holdsEntities(entities))
        written = sglModelLoader::writeModel(targetPath, entities);
    releaseEntities(entities, nullptr);
    CTamCADTools::TerminateImport();
    return written;
}

CTamDBRoot* CTamCADLoader::TranslateInListFile(const std::wstring& sourcePath,
                                               std::list<std::wstring>* targetPaths) {
    CTamCADTools::InitializeImport();
    ENTITY_LIST* entities = LoadEntitiesCAD(sourcePath.c_str(), kTranslateLoadFlags);
    if (holdsEntities(entities) && targetPaths != nullptr) {
        // A failing target does not stop the others.
        for (const std::wstring& target : *targetPaths)
            sglModelLoader::writeModel(target, entities);
    }
    CTamCADLoader loader;
    sglGroup* group = entities != nullptr ? loader.ParseEntities(*entities, sourcePath) : nullptr;
    releaseEntities(entities, nullptr);
    CTamCADTools::TerminateImport();
    return newRoot(group);
}
