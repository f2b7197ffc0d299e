#include <kvxi/KVXIConverter.h>

#include <kvxi/KVXIOrikDocument.h>
#include <kvxi/KVXISystem.h>

#include "AtomicOutput.h"
#include "DataExchange.h"
#include "EbomWriter.h"
#include "EntityBuilder.h"
#include "EntityReader.h"
#include "Formats.h"
#include "Guard.h"
#include "KernelFileIO.h"
#include "Progress.h"
#include "ReaderMessages.h"
#include "ResultReasons.h"
#include "StepParser.h"
#include "TemporaryEntities.h"
#include "TranslateOptions.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <system_error>
#include <thread>

namespace {

using tam::CadModel;
using tam::Format;
using tam::TemporaryEntities;

bool IsKernelFile(Format format) {
    return format == Format::Orik || format == Format::OrikText || format == Format::OrikBinary;
}

// The data-exchange module of the running session that reads or writes `format`; null, with the
// failure in `failure`, when it cannot be loaded.
const tam::DataExchange* Exchange(Format format, KVXIResult& failure) {
    std::string error;
    const tam::DataExchange* exchange = tam::SessionDataExchange(tam::ModuleFor(format), error);
    if (exchange == nullptr)
        failure = KVXIResult(KVXIResult::InternalError, error);
    return exchange;
}

// Files up to this size are parsed while a worker thread loads the general data-exchange module,
// which takes about as long as parsing a file of this size. Larger files load it first on this
// thread: once a process has started a thread, every allocation goes through the allocator's
// locks, and the parse and transfer of a large file cost about 6 % more CPU time for no gain in
// wall time.
constexpr std::uintmax_t kParseBesideLoadUpTo = 256 * 1024;

// Loads the general data-exchange module, on a worker thread from construction to Wait (or
// destruction) when asked to and a thread can be started, else on this thread at construction. A
// failed load is reported by the module's first use.
class ExchangeModuleLoading {
public:
    explicit ExchangeModuleLoading(bool inBackground) {
        if (!inBackground) {
            Load();
            return;
        }
        try {
            m_worker = std::thread(&ExchangeModuleLoading::Load);
        } catch (const std::system_error&) {
            Load();
        }
    }
    ~ExchangeModuleLoading() { Wait(); }
    ExchangeModuleLoading(const ExchangeModuleLoading&) = delete;
    ExchangeModuleLoading& operator=(const ExchangeModuleLoading&) = delete;

    void Wait() {
        if (m_worker.joinable())
            m_worker.join();
    }

private:
    static void Load() {
        std::string error;
        tam::LoadDataExchange(tam::ExchangeModule::General, error);
    }

    std::thread m_worker;
};

// Whether the file at `path` is small enough to parse beside the module's loading.
bool ParseBesideLoad(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return !error && size <= kParseBesideLoadUpTo;
}

class Conversion {
public:
    Conversion(const KVXIOptions& options, KVXIConverter::ProgressCallback hook)
        : m_options(tam::TranslateOptions::From(options)),
          m_progress(hook, m_options.timeLimitSeconds) {}

    KVXIResult Run(const KVXIDocument& source, KVXIDocument& target) {
        if (source.IsOrikDocument()) {
            const auto& entities = static_cast<const KVXIOrikDocument&>(source);
            return FromEntities(entities.GetEntityPointers(), target);
        }
        return FromFile(source, target);
    }

private:
    KVXIResult FromFile(const KVXIDocument& source, KVXIDocument& target) {
        std::error_code ec;
        if (source.GetPath().empty() || !std::filesystem::is_regular_file(source.GetPath(), ec)) {
            return KVXIResult(KVXIResult::FileNotFound);
        }
        const Format format = tam::DetectSourceFormat(source.GetType(), source.GetPath());
        if (IsKernelFile(format))
            return FromKernelFile(source.GetPath(), target);
        if (format != Format::Step && format != Format::Iges && format != Format::Brep) {
            return KVXIResult(KVXIResult::UnsupportedSourceType);
        }
        if (!target.IsOrikDocument() && TargetFormat(target) == Format::Ebom)
            return FileToEbom(format, source.GetPath(), target);
        if (!target.IsOrikDocument() && !CheckTarget(target)) {
            return KVXIResult(KVXIResult::UnsupportedTargetType);
        }
        CadModel model;
        KVXIResult result = format == Format::Step ? ReadStep(source.GetPath(), model)
                                                   : ReadFile(format, source.GetPath(), model);
        if (result.IsFailure())
            return result;
        ScaleToUnit(model, target.GetUnit());
        result &= ModelInto(model, target);
        return result;
    }

    KVXIResult ReadFile(Format format, const std::string& path, CadModel& model) {
        KVXIResult result;
        const tam::DataExchange* exchange = Exchange(format, result);
        if (exchange == nullptr)
            return result;
        return exchange->readCadFile(format, path, m_options, m_progress, model);
    }

    // STEP: the parser's small module parses the file, for a small file while a worker thread
    // loads the data-exchange module, which is configured once both are done (StepParser.h).
    KVXIResult ReadStep(const std::string& path, CadModel& model) {
        std::string error;
        const tam::StepParser* parser = tam::LoadStepParser(error);
        if (parser == nullptr)
            return KVXIResult(KVXIResult::InternalError, error);
        ExchangeModuleLoading loading(ParseBesideLoad(path));
        Handle(XSControl_WorkSession) session;
        const KVXIResult parsed = parser->parse(path, m_options.codePage, session);
        loading.Wait();
        if (parsed.IsFailure())
            return parsed;
        KVXIResult result;
        const tam::DataExchange* exchange = Exchange(Format::Step, result);
        if (exchange == nullptr)
            return result;
        return exchange->readParsedStep(session, path, m_options, m_progress, model);
    }

    KVXIResult FileToEbom(Format format, const std::string& path, const KVXIDocument& target) {
        KVXIResult result;
        const tam::DataExchange* exchange = Exchange(format, result);
        if (exchange == nullptr)
            return result;
        tam::AssemblyModel model;
        result = exchange->readCadAssembly(format, path, m_options, m_progress, model);
        if (result.IsFailure())
            return result;
        ScaleToUnit(model, target.GetUnit());
        std::filesystem::path folder = std::filesystem::path(target.GetPath()).parent_path();
        if (folder.empty())
            folder = ".";
        result &= tam::WriteAtomically(target.GetPath(), [&](const std::string& scratchPath) {
            return tam::WriteEbom(model, m_options, {scratchPath, folder.string(), path});
        });
        return result;
    }

    KVXIResult FromKernelFile(const std::string& path, KVXIDocument& target) {
        TemporaryEntities loaded;
        KVXIResult result = tam::LoadKernelFile(path, loaded.entities);
        if (result.IsFailure())
            return result;
        if (target.IsOrikDocument()) {
            static_cast<KVXIOrikDocument&>(target).AdoptEntities(std::move(loaded.entities));
            loaded.entities.clear();
            return result;
        }
        result &= FromEntities(loaded.entities, target);
        return result;
    }

    KVXIResult FromEntities(const std::vector<ENTITY*>& entities, KVXIDocument& target) {
        if (target.IsOrikDocument())
            return KVXIResult(KVXIResult::UnsupportedTargetType);
        const Format format = TargetFormat(target);
        if (IsKernelFile(format)) {
            return tam::WriteAtomically(target.GetPath(), [&](const std::string& path) {
                return tam::SaveKernelFile(entities, path, format == Format::OrikBinary);
            });
        }
        if (!CheckTarget(target))
            return KVXIResult(KVXIResult::UnsupportedTargetType);
        CadModel model;
        KVXIResult result = tam::ReadEntities(entities, model);
        if (result.IsFailure())
            return result;
        result &= WriteFile(model, target);
        return result;
    }

    KVXIResult ModelInto(const CadModel& model, KVXIDocument& target) {
        if (target.IsOrikDocument()) {
            std::vector<ENTITY*> entities;
            KVXIResult result = tam::BuildEntities(model, m_options, entities);
            static_cast<KVXIOrikDocument&>(target).AdoptEntities(std::move(entities));
            return result;
        }
        const Format format = TargetFormat(target);
        if (!IsKernelFile(format))
            return WriteFile(model, target);
        TemporaryEntities made;
        KVXIResult result = tam::BuildEntities(model, m_options, made.entities);
        if (result.IsFailure())
            return result;
        result &= tam::WriteAtomically(target.GetPath(), [&](const std::string& path) {
            return tam::SaveKernelFile(made.entities, path, format == Format::OrikBinary);
        });
        return result;
    }

    KVXIResult WriteFile(const CadModel& model, const KVXIDocument& target) {
        const Format format = TargetFormat(target);
        KVXIResult failure;
        const tam::DataExchange* exchange = Exchange(format, failure);
        if (exchange == nullptr)
            return failure;
        return tam::WriteAtomically(target.GetPath(), [&](const std::string& path) {
            return exchange->writeModel(format, model, path, m_progress);
        });
    }

    Format TargetFormat(const KVXIDocument& target) const {
        const Format format = tam::DetectTargetFormat(target.GetType(), target.GetPath());
        if (m_options.representation != tam::Representation::Visualization)
            return format;
        return format == Format::Gltf ? Format::Gltf : Format::Stl;
    }

    bool CheckTarget(const KVXIDocument& target) const {
        switch (TargetFormat(target)) {
            case Format::Step:
            case Format::Iges:
            case Format::Brep:
            case Format::Stl:
            case Format::Gltf:
            case Format::Orik:
            case Format::OrikText:
            case Format::OrikBinary:
                return true;
            default:
                return false;
        }
    }

    // Geometry is read in millimetres; other target units scale every placement.
    static void ScaleToUnit(CadModel& model, int unit) {
        const double millimetresPerUnit = UnitInMillimetres(unit);
        if (millimetresPerUnit == 1.0)
            return;
        gp_Trsf scale;
        scale.SetScale(gp_Pnt(0.0, 0.0, 0.0), 1.0 / millimetresPerUnit);
        for (tam::PlacedBody& body : model.bodies)
            body.placement = scale * body.placement;
        for (tam::FreeShape& free : model.freeShapes) {
            free.shape = free.shape.Moved(TopLoc_Location(scale));
        }
    }

    static void ScaleToUnit(tam::AssemblyModel& model, int unit) {
        const double millimetresPerUnit = UnitInMillimetres(unit);
        if (millimetresPerUnit == 1.0)
            return;
        for (tam::AssemblyPart& part : model.parts)
            ScaleToUnit(part.content, unit);
        ScaleTranslations(model.roots, 1.0 / millimetresPerUnit);
    }

    static void ScaleTranslations(std::vector<tam::AssemblyNode>& nodes, double factor) {
        for (tam::AssemblyNode& node : nodes) {
            node.placement.SetTranslationPart(node.placement.TranslationPart() * factor);
            ScaleTranslations(node.children, factor);
        }
    }

    static double UnitInMillimetres(int unit) {
        switch (unit) {
            case KVXIDocument::Inch:
                return 25.4;
            case KVXIDocument::Foot:
                return 304.8;
            case KVXIDocument::Centimetre:
                return 10.0;
            case KVXIDocument::Metre:
                return 1000.0;
            default:
                return 1.0;
        }
    }

    tam::TranslateOptions m_options;
    tam::ConversionProgress m_progress;
};

}  // namespace

KVXIResult KVXIConverter::SetOptions(const KVXIOptions& options) {
    m_options = options;
    const auto& entries = options.GetEntries();
    const bool allKnown = std::all_of(entries.begin(), entries.end(), [](const auto& entry) {
        return tam::TranslateOptions::IsKnownName(entry.first.GetName());
    });
    return KVXIResult(allKnown ? KVXIResult::Success : KVXIResult::SuccessOptionsIgnored);
}

KVXIResult KVXIConverter::Convert(const KVXIDocument& source, KVXIDocument& target) {
    if (!KVXISystem::IsInitialized())
        return KVXIResult(KVXIResult::NotInitialized);
    tam::ClearReaderFailures();
    const tam::ConsoleCapture console;
    const KVXIResult result = tam::RunGuarded(KVXIResult(KVXIResult::InternalError), [&]() {
        Conversion conversion(m_options, m_progress);
        return conversion.Run(source, target);
    });
    return tam::WithReason(result, source.IsOrikDocument() ? std::string() : source.GetPath(),
                           target.IsOrikDocument() ? std::string() : target.GetPath());
}
