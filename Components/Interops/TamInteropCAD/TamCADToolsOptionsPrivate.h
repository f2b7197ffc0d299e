// Translator option sets of the library's conversions (internal to the library).
#pragma once

#include <kvxi/KVXIOptions.h>
#include <kvxi/KVXIResult.h>

#include <optional>
#include <string>

namespace tam_cad_options {

// Fills the set for a CAD document converted into kernel entities, for the source type tag
// (compared exactly). Returns the results of all additions folded into one.
KVXIResult AddEntityListOptions(KVXIOptions& options, const std::wstring& type);

// Fills the set for a CAD assembly converted into EBOM XML; mirexV4 selects the MIREXV4 options
// whatever the tag. Returns the results of all additions folded into one.
KVXIResult AddEbomOptions(KVXIOptions& options, const std::wstring& type, bool mirexV4);

// Fills the set for kernel entities written to a file.
KVXIResult AddWriteEntitiesOptions(KVXIOptions& options);

// The set for a file converted into another file: the visualization options when asked for,
// otherwise none at all (the converter then runs with its defaults).
std::optional<KVXIOptions> FileToFileOptions(bool visualization);

}  // namespace tam_cad_options
