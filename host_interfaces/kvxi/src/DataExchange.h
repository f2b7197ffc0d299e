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

}  // namespace tam

// The module's one exported entry point.
extern "C" const tam::DataExchange* tam_kvxi_data_exchange();
