#include "CachedCadLoad.h"

#include "ContentHash.h"
#include "LittleEndian.h"

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
#include <filesystem>
#include <ostream>
#include <set>
#include <sstream>
#include <vector>

namespace tam {
namespace {

// Bumped when what an entry holds changes meaning.
constexpr char kKeyHeader[] = "TamInteropCAD import cache 2";

std::unique_ptr<ImportCache>& activeCache() {
    static std::unique_ptr<ImportCache> cache;
    return cache;
}

struct Message {
    std::wstring text;
    unsigned int code = 0;
};

// Records the messages sent to the host while it lives, passing them on. Messages of the
// translation are stored with the entry and sent again on a hit; a walk that sent any is not
// stored, since a hit's walk sends its own.
class MessageRecorder {
public:
    MessageRecorder() : previous_(sglModelLoader::s_callbackLoadingError) {
        forward_ = previous_;
        recorded_.clear();
        sglModelLoader::s_callbackLoadingError = &record;
    }
    ~MessageRecorder() { sglModelLoader::s_callbackLoadingError = previous_; }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    const std::vector<Message>& messages() const { return recorded_; }

private:
    static void record(const wchar_t* text, unsigned int code) {
        recorded_.push_back({text != nullptr ? text : L"", code});
        if (forward_ != nullptr)
            forward_(text, code);
    }

    using Callback = void (*)(const wchar_t*, unsigned int);
    Callback previous_;
    static inline Callback forward_ = nullptr;
    static inline std::vector<Message> recorded_;
};

// Entry payload: u64 message count, per message u64 code and u64 size + UTF-8 text; then the
// kernel file bytes.
void writeMessages(std::ostream& out, const std::vector<Message>& messages) {
    writeU64(out, messages.size());
    for (const Message& message : messages) {
        std::string text;
        WideToUtf8(message.text, text);
        writeU64(out, message.code);
        writeU64(out, text.size());
        out.write(text.data(), std::streamsize(text.size()));
    }
}

// The messages of a payload; at is left at the kernel file bytes. False when malformed.
bool readMessages(const std::string& payload, std::size_t& at, std::vector<Message>& messages) {
    std::uint64_t count = 0;
    if (!readU64(payload, at, count) || count > payload.size())
        return false;
    for (std::uint64_t i = 0; i < count; ++i) {
        std::uint64_t code = 0, size = 0;
        if (!readU64(payload, at, code) || !readU64(payload, at, size) ||
            size > payload.size() - at)
            return false;
        Message message;
        message.code = static_cast<unsigned int>(code);
        Utf8ToWide(payload.substr(at, std::size_t(size)), message.text);
        at += std::size_t(size);
        messages.push_back(std::move(message));
    }
    return true;
}

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

void addFile(const std::string& path, std::string& listing) {
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0) {
        listing += path + " " + std::to_string(status.st_size) + " " +
                   std::to_string(status.st_mtim.tv_sec) + "." +
                   std::to_string(status.st_mtim.tv_nsec) + "\n";
    }
}

bool isOurLibrary(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    return name.rfind("libTam", 0) == 0 && name.find(".so") != std::string::npos;
}

struct LibraryListing {
    std::string text;
    std::set<std::filesystem::path> ourFolders;
};

int addLibrary(dl_phdr_info* info, size_t, void* data) {
    auto& listing = *static_cast<LibraryListing*>(data);
    if (info->dlpi_name == nullptr || info->dlpi_name[0] == '\0')
        return 0;
    addFile(info->dlpi_name, listing.text);
    const std::filesystem::path path(info->dlpi_name);
    if (isOurLibrary(path))
        listing.ourFolders.insert(path.parent_path());
    return 0;
}

// Our libraries that a run loads only when it needs them (the translator's data-exchange module)
// lie beside the loaded ones; they count too.
void addLibrariesBeside(const std::filesystem::path& folder, std::string& listing) {
    std::error_code error;
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (isOurLibrary(entry.path()))
            names.insert(entry.path().string());
    }
    for (const std::string& name : names)
        addFile(name, listing);
}

ENTITY_LIST* restoreEntry(const ImportCache& cache, const std::string& key,
                          std::vector<Message>& messages) {
    const std::optional<std::string> payload = cache.load(key);
    std::size_t at = 0;
    if (!payload || !readMessages(*payload, at, messages))
        return nullptr;
    auto* entities = new ENTITY_LIST;
    if (!api_restore_entity_list_from_bytes(payload->data() + at, payload->size() - at, *entities)
             .ok()) {
        delete entities;  // a failed restore adds nothing: a miss, and the entry is rebuilt
        messages.clear();
        return nullptr;
    }
    return entities;
}

void storeEntry(const ImportCache& cache, const std::string& key,
                const std::vector<Message>& messages, const ENTITY_LIST& entities) {
    cache.store(key, [&messages, &entities](std::iostream& out) {
        writeMessages(out, messages);
        return api_save_entity_list_with_facets(entities, out).ok();
    });
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
        LibraryListing listing;
        dl_iterate_phdr(&addLibrary, &listing);
        for (const std::filesystem::path& folder : listing.ourFolders)
            addLibrariesBeside(folder, listing.text);
        return contentHash(listing.text);
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
                               const ImportCache* cache) {
    return LoadWithKernelFlags(flags, [&](CTamCADLoader& loader) {
        std::optional<std::string> key;
        if (cache != nullptr)
            key = cadCacheKey(path, typeTag, loadedLibrariesIdentity());
        std::vector<Message> translation;
        ENTITY_LIST* entities = key ? restoreEntry(*cache, *key, translation) : nullptr;
        const bool hit = entities != nullptr;
        if (hit) {
            for (const Message& message : translation)
                sglModelLoader::reportError(message.text, message.code);
        } else {
            MessageRecorder recorder;
            entities = CTamCADTools::InitializeConnectEntityList(path.c_str(), typeTag);
            translation = recorder.messages();
        }
        sglGroup* group = nullptr;
        {
            MessageRecorder walk;
            group = entities != nullptr ? loader.ParseEntities(*entities, path) : nullptr;
            if (!hit && key && group != nullptr && walk.messages().empty() &&
                !sglModelLoader::m_sbCancelImport)
                storeEntry(*cache, *key, translation, *entities);
        }
        ReleaseEntityList(entities);
        auto* root = new CTamDBRoot();
        root->SetSglRoot(group);
        return root;
    });
}

}  // namespace tam
