// Reads the product structure of a large STEP assembly from the text of its records, and each
// distinct part once: Open CASCADE's assembly transfer searches a part's sharings once per
// instance and so grows with the square of the instances of one part, and its parser spends
// most of a large file's time on records that only place instances.
#pragma once

#include "AssemblyModel.h"
#include "Progress.h"
#include "TranslateOptions.h"

#include <kvxi/KVXIResult.h>

#include <string>

namespace tam {

// Number of NEXT_ASSEMBLY_USAGE_OCCURRENCE records from which a file counts as large.
constexpr int kStepRecordWalkThreshold = 500;

// True when the file's text holds at least kStepRecordWalkThreshold assembly usages.
bool IsLargeStepAssembly(const std::string& path);

// Fills `model` from the STEP file's product records: usages placed through
// CONTEXT_DEPENDENT_SHAPE_REPRESENTATION and ITEM_DEFINED_TRANSFORMATION (translations in
// millimetres from the parent representation's length unit); each leaf product's records
// (its shape definition with all it refers to, its representation relationships and styled
// items) read through XCAF as a file of their own, for its shape, colors, layer and properties.
// Instance names as Open CASCADE reads them (description, else name, else id; the product's
// when generated); instance visibility is not read. Results as for the XCAF read.
KVXIResult ReadLargeStepAssembly(const std::string& path, const TranslateOptions& options,
                                 ConversionProgress& progress, AssemblyModel& model);

}  // namespace tam
