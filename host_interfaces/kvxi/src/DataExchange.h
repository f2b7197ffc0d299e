// The translator's data-exchange module: the readers and writers over Open CASCADE's STEP, IGES,
// XCAF, STL and glTF toolkits live in a library of their own (libTam_kvxi_exchange), loaded when
// the translator is initialized, so that a program linking the translator loads those toolkits
// (and the graphics libraries they pull in) only when it translates.
#pragma once

#include "AssemblyModel.h"
#include "CadModel.h"
#include "Formats.h"
#include "Progress.h"
#include "TranslateOptions.h"

#include <kvxi/KVXIResult.h>

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
};

// The module's functions, loaded on the first call (the module stays loaded); null when it could
// not be loaded, with the reason in `error`.
const DataExchange* LoadDataExchange(std::string& error);

// Whether the module's file is there to be loaded; the reason in `error` when not.
bool DataExchangeInstalled(std::string& error);

// The module configured for the running translator session (KVXISystem::Initialize to Shutdown):
// loaded and configured on the first call of a session; null with the reason in `error` when it
// cannot be loaded or configured.
const DataExchange* SessionDataExchange(std::string& error);

}  // namespace tam

// The module's one exported entry point.
extern "C" const tam::DataExchange* tam_kvxi_data_exchange();
