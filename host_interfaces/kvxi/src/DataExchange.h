// The translator's data-exchange modules: the readers and writers over Open CASCADE's STEP, IGES,
// XCAF, STL and glTF toolkits live in libraries of their own (libTam_kvxi_exchange,
// libTam_kvxi_iges for IGES and libTam_kvxi_mesh for the STL and glTF writers), loaded when
// a conversion first needs them, so that a program linking the translator loads those toolkits
// (and the graphics libraries they pull in) only when it translates.
#pragma once

#include "AssemblyModel.h"
#include "CadModel.h"
#include "Formats.h"
#include "Progress.h"
#include "TranslateOptions.h"

#include <kvxi/KVXIResult.h>

#include <XSControl_WorkSession.hxx>

#include <string>

namespace tam {

// What the module provides, as plain function pointers (see ModelReader.h, AssemblyReader.h,
// ModelWriter.h for their meaning).
struct DataExchange {
    void (*configure)();  // sets the data-exchange statics the translator relies on
    void (*restore)();    // puts back the values configure found
    KVXIResult (*readCadFile)(Format, const std::string&, const TranslateOptions&,
                              ConversionProgress&, CadModel&);
    KVXIResult (*readCadAssembly)(Format, const std::string&, const TranslateOptions&,
                                  ConversionProgress&, AssemblyModel&);
    KVXIResult (*writeModel)(Format, const CadModel&, const std::string&, ConversionProgress&);
    // STEP files parsed beforehand (StepParser.h): the general module's only.
    KVXIResult (*readParsedStep)(const Handle(XSControl_WorkSession) &, const std::string&,
                                 const TranslateOptions&, ConversionProgress&, CadModel&);
};

// The modules: STEP and B-rep with XCAF and everything the formats share; IGES, which builds on
// the first and brings the IGES toolkits and the booleans they pull in; and the STL and glTF
// writers, which build on the first and bring OCCT's mesh-format toolkits.
enum class ExchangeModule { General, Iges, Mesh };
constexpr ExchangeModule kExchangeModules[] = {ExchangeModule::General, ExchangeModule::Iges,
                                               ExchangeModule::Mesh};

// The module that reads or writes `format`.
ExchangeModule ModuleFor(Format format);

// The module's functions, loaded on the first call (the module stays loaded); null when it could
// not be loaded, with the reason in `error`.
const DataExchange* LoadDataExchange(ExchangeModule module, std::string& error);

// Whether the modules' files are there to be loaded; the reason in `error` when not.
bool DataExchangeInstalled(std::string& error);

// The module configured for the running translator session (KVXISystem::Initialize to Shutdown):
// loaded and configured, after the modules it builds on, on its first call of a session; null
// with the reason in `error` when it cannot be loaded or configured.
const DataExchange* SessionDataExchange(ExchangeModule module, std::string& error);

}  // namespace tam

// The modules' exported entry points.
extern "C" const tam::DataExchange* tam_kvxi_data_exchange();
extern "C" const tam::DataExchange* tam_kvxi_iges_exchange();
extern "C" const tam::DataExchange* tam_kvxi_mesh_exchange();
