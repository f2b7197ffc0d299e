// Writes an assembly as an EBOM: the XML bill of materials (UTF-16, the XML declaration alone on
// the first line) and one kernel text file per part beside it. docs/ebom.md gives the layout.
#pragma once

#include "AssemblyModel.h"
#include "TranslateOptions.h"

#include <kvxi/KVXIResult.h>

#include <string>

namespace tam {

struct EbomTarget {
    std::string xmlPath;      // where the XML is written now (a scratch folder)
    std::string finalFolder;  // the folder its files end up in: part paths in the XML name it
    std::string sourcePath;   // the assembly document, named by the assembly's entry
};

// Writes the part files and the XML into the folder of `target.xmlPath`. NoEntities for an
// empty assembly, WriteFailed when a file could not be written, KernelError when a part's
// entities could not be made; files written before a failure are left for the caller to drop.
KVXIResult WriteEbom(const AssemblyModel& model, const TranslateOptions& options,
                     const EbomTarget& target);

}  // namespace tam
