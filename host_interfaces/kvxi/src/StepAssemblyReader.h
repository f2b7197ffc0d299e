// Reads the product structure of a large STEP assembly from its records, transferring each
// distinct part's shape once: Open CASCADE's assembly transfer searches a part's sharings once
// per instance and so grows with the square of the instances of one part.
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

// Fills `model` from the STEP file's product records (usages placed through
// CONTEXT_DEPENDENT_SHAPE_REPRESENTATION and ITEM_DEFINED_TRANSFORMATION), each leaf product's
// shape transferred once. Names: the usage's, else the product's; colors: a styled item of the
// part's shape representation; no face colors, layers or visibility. Results as for the XCAF
// read.
KVXIResult ReadLargeStepAssembly(const std::string& path, const TranslateOptions& options,
                                 ConversionProgress& progress, AssemblyModel& model);

}  // namespace tam
