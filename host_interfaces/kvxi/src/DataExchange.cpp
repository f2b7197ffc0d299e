#include "DataExchange.h"

#include <dlfcn.h>
#include <unistd.h>

namespace {

constexpr const char* kModuleFile = "libTam_kvxi_exchange.so";

struct LoadedModule {
    const tam::DataExchange* functions = nullptr;
    std::string error;
};

// The module is installed beside this library: its path comes from this library's own.
std::string ModulePath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&tam::LoadDataExchange), &info) == 0 ||
        info.dli_fname == nullptr)
        return kModuleFile;
    const std::string library = info.dli_fname;
    const std::string::size_type slash = library.find_last_of('/');
    return slash == std::string::npos ? kModuleFile : library.substr(0, slash + 1) + kModuleFile;
}

LoadedModule Load() {
    LoadedModule loaded;
    void* handle = dlopen(ModulePath().c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        loaded.error = reason != nullptr ? reason : kModuleFile;
        return loaded;
    }
    using Entry = const tam::DataExchange* (*)();
    const auto entry = reinterpret_cast<Entry>(dlsym(handle, "tam_kvxi_data_exchange"));
    if (entry == nullptr) {
        loaded.error = std::string(kModuleFile) + " has no data-exchange entry point";
        return loaded;
    }
    loaded.functions = entry();
    return loaded;
}

}  // namespace

namespace tam {

const DataExchange* LoadDataExchange(std::string& error) {
    static const LoadedModule loaded = Load();
    error = loaded.error;
    return loaded.functions;
}

bool DataExchangeInstalled(std::string& error) {
    const std::string path = ModulePath();
    if (::access(path.c_str(), R_OK) == 0)
        return true;
    error = path + ": cannot be read";
    return false;
}

}  // namespace tam
