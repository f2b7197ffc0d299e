#include "DataExchange.h"

#include "StepParser.h"

#include <dlfcn.h>
#include <unistd.h>

#include <vector>

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

template <class Table>
struct LoadedModule {
    const Table* functions = nullptr;
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

template <class Table>
LoadedModule<Table> Load(const ModuleFile& file) {
    LoadedModule<Table> loaded;
    void* handle = dlopen(ModulePath(file.file).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        loaded.error = reason != nullptr ? reason : file.file;
        return loaded;
    }
    using Entry = const Table* (*)();
    const auto entry = reinterpret_cast<Entry>(dlsym(handle, file.entry));
    if (entry == nullptr) {
        loaded.error = std::string(file.file) + " has no entry point " + file.entry;
        return loaded;
    }
    loaded.functions = entry();
    return loaded;
}

constexpr ModuleFile kStepParserFile = {"libTam_kvxi_step.so", "tam_kvxi_step_parser"};

}  // namespace

namespace tam {
namespace {

// Each module is loaded on its own first call only.
const LoadedModule<DataExchange>& Loaded(ExchangeModule module) {
    if (module == ExchangeModule::Iges) {
        static const auto iges = Load<DataExchange>(FileOf(ExchangeModule::Iges));
        return iges;
    }
    if (module == ExchangeModule::Mesh) {
        static const auto mesh = Load<DataExchange>(FileOf(ExchangeModule::Mesh));
        return mesh;
    }
    static const auto general = Load<DataExchange>(FileOf(ExchangeModule::General));
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
    const LoadedModule<DataExchange>& loaded = Loaded(module);
    error = loaded.error;
    return loaded.functions;
}

const StepParser* LoadStepParser(std::string& error) {
    static const auto loaded = Load<StepParser>(kStepParserFile);
    error = loaded.error;
    return loaded.functions;
}

bool DataExchangeInstalled(std::string& error) {
    std::vector<const char*> files = {kStepParserFile.file};
    for (ExchangeModule module : kExchangeModules)
        files.push_back(FileOf(module).file);
    for (const char* file : files) {
        const std::string path = ModulePath(file);
        if (::access(path.c_str(), R_OK) != 0) {
            error = path + ": cannot be read";
            return false;
        }
    }
    return true;
}

}  // namespace tam
