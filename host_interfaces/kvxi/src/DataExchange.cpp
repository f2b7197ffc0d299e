#include "DataExchange.h"

#include <dlfcn.h>
#include <unistd.h>

namespace {

struct ModuleFile {
    const char* file;
    const char* entry;
};

ModuleFile FileOf(tam::ExchangeModule module) {
    if (module == tam::ExchangeModule::Iges)
        return {"libTam_kvxi_iges.so", "tam_kvxi_iges_exchange"};
    if (module == tam::ExchangeModule::Mesh)
        return {"libTam_kvxi_mesh.so", "tam_kvxi_mesh_exchange"};
    return {"libTam_kvxi_exchange.so", "tam_kvxi_data_exchange"};
}

struct LoadedModule {
    const tam::DataExchange* functions = nullptr;
    std::string error;
};

// The modules are installed beside this library: their paths come from this library's own.
std::string ModulePath(const char* file) {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&tam::LoadDataExchange), &info) == 0 ||
        info.dli_fname == nullptr)
        return file;
    const std::string library = info.dli_fname;
    const std::string::size_type slash = library.find_last_of('/');
    return slash == std::string::npos ? file : library.substr(0, slash + 1) + file;
}

LoadedModule Load(tam::ExchangeModule module) {
    const ModuleFile file = FileOf(module);
    LoadedModule loaded;
    void* handle = dlopen(ModulePath(file.file).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        loaded.error = reason != nullptr ? reason : file.file;
        return loaded;
    }
    using Entry = const tam::DataExchange* (*)();
    const auto entry = reinterpret_cast<Entry>(dlsym(handle, file.entry));
    if (entry == nullptr) {
        loaded.error = std::string(file.file) + " has no data-exchange entry point";
        return loaded;
    }
    loaded.functions = entry();
    return loaded;
}

}  // namespace

namespace tam {
namespace {

// Each module is loaded on its own first call only.
const LoadedModule& Loaded(ExchangeModule module) {
    if (module == ExchangeModule::Iges) {
        static const LoadedModule iges = Load(ExchangeModule::Iges);
        return iges;
    }
    if (module == ExchangeModule::Mesh) {
        static const LoadedModule mesh = Load(ExchangeModule::Mesh);
        return mesh;
    }
    static const LoadedModule general = Load(ExchangeModule::General);
    return general;
}

}  // namespace

ExchangeModule ModuleFor(Format format) {
    if (format == Format::Iges)
        return ExchangeModule::Iges;
    if (format == Format::Stl || format == Format::Gltf)
        return ExchangeModule::Mesh;
    return ExchangeModule::General;
}

const DataExchange* LoadDataExchange(ExchangeModule module, std::string& error) {
    const LoadedModule& loaded = Loaded(module);
    error = loaded.error;
    return loaded.functions;
}

bool DataExchangeInstalled(std::string& error) {
    for (ExchangeModule module : kExchangeModules) {
        const std::string path = ModulePath(FileOf(module).file);
        if (::access(path.c_str(), R_OK) != 0) {
            error = path + ": cannot be read";
            return false;
        }
    }
    return true;
}

}  // namespace tam
