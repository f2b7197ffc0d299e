#include "CachedCadLoad.h"

#include "ContentHash.h"

#include <TamInteropCAD/TamCADLoader.h>
#include <TamInteropCAD/TamCADTools.h>
#include <TamInteropCAD/exports.h>
#include <orik/OrikFiles.h>
#include <platform/CodePage.h>
#include <tamsg/sglGroup.h>
#include <tamsgdb/CTamDBRoot.h>
#include <tamsgdb/sglModelLoader.h>

#include <link.h>
#include <sys/stat.h>

#include <clocale>
#include <cstdio>
#include <sstream>

namespace tam {
namespace {

// Bumped when what an entry holds changes meaning.
constexpr char kKeyHeader[] = "TamInteropCAD import cache 1";

std::unique_ptr<ImportCache>& activeCache() {
    static std::unique_ptr<ImportCache> cache;
    return cache;
}

// Counts the messages sent to the host while it lives, passing them on: a load that reported
// something is not stored, so that its messages come again on the next import.
class MessageCounter {
public:
    MessageCounter() : previous_(sglModelLoader::s_callbackLoadingError) {
        forward_ = previous_;
        count_ = 0;
        sglModelLoader::s_callbackLoadingError = &counting;
    }
    ~MessageCounter() { sglModelLoader::s_callbackLoadingError = previous_; }
    MessageCounter(const MessageCounter&) = delete;
    MessageCounter& operator=(const MessageCounter&) = delete;

    unsigned count() const { return count_; }

private:
    static void counting(const wchar_t* text, unsigned int code) {
        ++count_;
        if (forward_ != nullptr)
            forward_(text, code);
    }

    using Callback = void (*)(const wchar_t*, unsigned int);
    Callback previous_;
    static inline Callback forward_ = nullptr;
    static inline unsigned count_ = 0;
};

// Exact text of a float (hexadecimal), so that any change of a setting changes the key.
std::string exact(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%a", value);
    return text;
}

std::string settingsText() {
    using L = sglModelLoader;
    std::ostringstream text;
    text << "translation healing=" << L::m_sbHealing << " points=" << L::m_sbImportPoints
         << " curves=" << L::m_sbImportCurves << " free-faces=" << L::m_sbImportFreeFaces
         << " hidden=" << L::m_sbImportNoShow << " no-pick=" << L::m_sbImportNoPick
         << " root-only=" << L::m_sbMV4TranslateOnlyRootEntities << "\n";
    text << "faceting lod=" << L::m_suiNbLOD << " refinement=" << exact(L::m_fRefinement)
         << " type=" << L::m_suiRefinementType << " function=" << L::m_suiRelativeRefinementFunction
         << " chordal=" << L::m_sbSetChordalError << ":" << exact(L::m_fChordalErrorValue)
         << " normal=" << L::m_sbSetNormalDeviation << ":" << exact(L::m_fNormalDeviationValue)
         << " edge=" << L::m_sbSetEdgeLength << ":" << exact(L::m_fEdgeLengthValue)
         << " pinned=" << L::m_sbFennelUseORIKmodeler << "\n";
    const sglBoxBound scene = L::GetBBox();
    text << "scene";
    for (float value : {scene.getMin()[0], scene.getMin()[1], scene.getMin()[2], scene.getMax()[0],
                        scene.getMax()[1], scene.getMax()[2]})
        text << " " << exact(value);
    text << "\n";
    return text.str();
}

int addLibrary(dl_phdr_info* info, size_t, void* data) {
    auto& listing = *static_cast<std::string*>(data);
    struct stat status {};
    if (info->dlpi_name != nullptr && info->dlpi_name[0] != '\0' &&
        ::stat(info->dlpi_name, &status) == 0) {
        listing += std::string(info->dlpi_name) + " " + std::to_string(status.st_size) + " " +
                   std::to_string(status.st_mtim.tv_sec) + "." +
                   std::to_string(status.st_mtim.tv_nsec) + "\n";
    }
    return 0;
}

ENTITY_LIST* restoreEntry(const ImportCache& cache, const std::string& key) {
    const std::optional<std::string> payload = cache.load(key);
    if (!payload)
        return nullptr;
    auto* entities = new ENTITY_LIST;
    if (!api_restore_entity_list_from_bytes(payload->data(), payload->size(), *entities).ok()) {
        delete entities;  // a failed restore adds nothing: a miss, and the entry is rebuilt
        return nullptr;
    }
    return entities;
}

void storeEntry(const ImportCache& cache, const std::string& key, const ENTITY_LIST& entities) {
    std::string bytes;
    if (api_save_entity_list_with_facets(entities, bytes).ok())
        cache.store(key, bytes);
}

}  // namespace

void setImportCache(std::unique_ptr<ImportCache> cache) {
    activeCache() = std::move(cache);
}

const ImportCache* importCache() {
    return activeCache().get();
}

const std::string& loadedLibrariesIdentity() {
    static const std::string identity = [] {
        std::string listing;
        dl_iterate_phdr(&addLibrary, &listing);
        return contentHash(listing);
    }();
    return identity;
}

std::optional<std::string> cadCacheKey(const std::wstring& path, const wchar_t* typeTag,
                                       const std::string& libraryIdentity) {
    std::string narrowPath;
    if (!WideToUtf8(path, narrowPath))
        return std::nullopt;
    const std::optional<std::string> content = fileContentHash(narrowPath);
    if (!content)
        return std::nullopt;
    const char* locale = std::setlocale(LC_CTYPE, nullptr);
    std::ostringstream key;
    key << kKeyHeader << "\nlibraries " << libraryIdentity << "\ntype " << ToNarrow(typeTag)
        << "\nlocale " << (locale ? locale : "") << "\ncontent " << *content << "\n"
        << settingsText();
    return key.str();
}

CTamDBRoot* loadCadModelCached(const std::wstring& path, unsigned int flags, const wchar_t* typeTag,
                               const ImportCache& cache) {
    if (flags & TAM_FLAG_START_KERNEL)
        CTamCADTools::InitializeImport();
    const std::optional<std::string> key = cadCacheKey(path, typeTag, loadedLibrariesIdentity());
    ENTITY_LIST* entities = key ? restoreEntry(cache, *key) : nullptr;
    const bool hit = entities != nullptr;
    sglGroup* group = nullptr;
    {
        MessageCounter messages;
        if (!hit)
            entities = CTamCADTools::InitializeConnectEntityList(path.c_str(), typeTag);
        CTamCADLoader loader;
        group = entities != nullptr ? loader.ParseEntities(*entities, path) : nullptr;
        if (!hit && key && group != nullptr && messages.count() == 0 &&
            !sglModelLoader::m_sbCancelImport)
            storeEntry(cache, *key, *entities);
    }
    if (entities != nullptr) {
        CTamCADTools::DeleteENTITY_LIST(entities);
        delete entities;
    }
    if (flags & TAM_FLAG_STOP_KERNEL)
        CTamCADTools::TerminateImport();
    auto* root = new CTamDBRoot();
    root->SetSglRoot(group);
    return root;
}

}  // namespace tam
