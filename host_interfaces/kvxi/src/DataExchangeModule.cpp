// The data-exchange module's entry point: the table of its readers, writers and settings (STEP
// and B-rep; IGES, and the STL and glTF writers, have modules of their own).
#include "AssemblyReader.h"
#include "DataExchange.h"
#include "ExchangeSettings.h"
#include "ModelReader.h"
#include "ModelWriter.h"

extern "C" const tam::DataExchange* tam_kvxi_data_exchange() {
    static const tam::DataExchange functions = {
        tam::ConfigureDataExchange, tam::RestoreDataExchange, tam::ReadCadFile,
        tam::ReadCadAssembly,       tam::WriteModel,          tam::ReadParsedStep};
    return &functions;
}
