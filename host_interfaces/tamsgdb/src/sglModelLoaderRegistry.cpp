// Handlers by lower-case extension key: model loads, entity loads and writes.
#include <tamsgdb/sglModelLoader.h>

#include <map>
#include <mutex>

namespace {

struct Handlers {
    sglModelLoader::ModelLoadHandler model;
    sglModelLoader::EntitiesLoadHandler entities;
    sglModelLoader::WriteHandler writer;
};

struct Registry {
    std::mutex mutex;
    std::map<std::wstring, Handlers> byKey;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

// Keys compare in ASCII lower case, whatever the locale.
std::wstring LowerAscii(std::wstring text) {
    for (wchar_t& ch : text) {
        if (ch >= L'A' && ch <= L'Z')
            ch = static_cast<wchar_t>(ch - L'A' + L'a');
    }
    return text;
}

// A copy of one handler of the key (empty when none); copied so it runs without the lock held,
// since handlers may call the registry again.
template <class Handler>
Handler Find(const std::wstring& key, Handler Handlers::*member) {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    auto it = registry.byKey.find(LowerAscii(key));
    return it == registry.byKey.end() ? Handler() : it->second.*member;
}

template <class Handler>
void Register(const std::wstring& key, Handler handler, Handler Handlers::*member) {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    Handlers& handlers = registry.byKey[LowerAscii(key)];
    handlers.*member = std::move(handler);
    if (!handlers.model && !handlers.entities && !handlers.writer) {
        registry.byKey.erase(LowerAscii(key));
    }
}

void ReportMissing(const wchar_t* what, const std::wstring& key, const std::wstring& path) {
    sglModelLoader::reportError(L"No " + std::wstring(what) + L" registered for the file type \"" +
                                LowerAscii(key) + L"\": " + path);
}

void ReportFailure(const std::wstring& key, const std::wstring& path) {
    sglModelLoader::reportError(L"The plug-in for the file type \"" + LowerAscii(key) +
                                L"\" failed on " + path);
}

// Runs a load handler; an exception thrown by the plug-in becomes a null result and a message.
void* RunLoad(const std::function<void*(const std::wstring&, unsigned int)>& handler,
              const std::wstring& key, const std::wstring& path, unsigned int flags) {
    try {
        return handler(path, flags);
    } catch (...) {
        ReportFailure(key, path);
        return nullptr;
    }
}

}  // namespace

void sglModelLoader::registerModelLoader(const std::wstring& extension, ModelLoadHandler handler) {
    Register(extension, std::move(handler), &Handlers::model);
}

void sglModelLoader::registerEntitiesLoader(const std::wstring& extension,
                                            EntitiesLoadHandler handler) {
    Register(extension, std::move(handler), &Handlers::entities);
}

void sglModelLoader::registerModelWriter(const std::wstring& extension, WriteHandler handler) {
    Register(extension, std::move(handler), &Handlers::writer);
}

bool sglModelLoader::unregisterExtension(const std::wstring& extension) {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    return registry.byKey.erase(LowerAscii(extension)) > 0;
}

void sglModelLoader::unregisterAll() {
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    registry.byKey.clear();
}

bool sglModelLoader::hasModelLoader(const std::wstring& extension) {
    return static_cast<bool>(Find(extension, &Handlers::model));
}

bool sglModelLoader::hasEntitiesLoader(const std::wstring& extension) {
    return static_cast<bool>(Find(extension, &Handlers::entities));
}

bool sglModelLoader::hasModelWriter(const std::wstring& extension) {
    return static_cast<bool>(Find(extension, &Handlers::writer));
}

std::wstring sglModelLoader::extensionKey(const std::wstring& path) {
    const size_t dot = path.rfind(L'.');
    return LowerAscii(dot == std::wstring::npos ? path : path.substr(dot + 1));
}

void* sglModelLoader::loadModel(const std::wstring& path, unsigned int flags) {
    return loadModelFromExtension(path, extensionKey(path), flags);
}

void* sglModelLoader::loadEntities(const std::wstring& path, unsigned int flags) {
    return loadEntitiesFromExtension(path, extensionKey(path), flags);
}

void* sglModelLoader::loadModelFromExtension(const std::wstring& path,
                                             const std::wstring& extension, unsigned int flags) {
    const ModelLoadHandler handler = Find(extension, &Handlers::model);
    if (!handler) {
        ReportMissing(L"model loader", extension, path);
        return nullptr;
    }
    return RunLoad(handler, extension, path, flags);
}

void* sglModelLoader::loadEntitiesFromExtension(const std::wstring& path,
                                                const std::wstring& extension, unsigned int flags) {
    const EntitiesLoadHandler handler = Find(extension, &Handlers::entities);
    if (!handler) {
        ReportMissing(L"entity loader", extension, path);
        return nullptr;
    }
    return RunLoad(handler, extension, path, flags);
}

bool sglModelLoader::writeModel(const std::wstring& path, void* entities) {
    const std::wstring key = extensionKey(path);
    const WriteHandler handler = Find(key, &Handlers::writer);
    if (!handler) {
        ReportMissing(L"writer", key, path);
        return false;
    }
    try {
        return handler(path, entities);
    } catch (...) {
        ReportFailure(key, path);
        return false;
    }
}
