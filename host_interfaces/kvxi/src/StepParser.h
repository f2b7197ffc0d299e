// Parsing a STEP file into a work session: the part of a STEP read that needs only the STEP
// toolkits. It has a module of its own (libTam_kvxi_step), which the data-exchange module builds
// on, so that a translation can parse the file while a worker thread loads the data-exchange
// module: that load, with XCAF and the graphics libraries XCAF pulls in, costs about as much as
// parsing a mid-sized file (KVXIConverter.cpp).
#pragma once

#include <kvxi/KVXIResult.h>

#include <XSControl_WorkSession.hxx>

#include <string>

namespace tam {

// What the module provides.
struct StepParser {
    // Parses `path` into a new work session: Success, or ReadFailed when the file cannot be
    // parsed. `codePage` names the code page of 8-bit text in the file ("" for UTF-8). Never
    // throws.
    KVXIResult (*parse)(const std::string& path, const std::string& codePage,
                        Handle(XSControl_WorkSession) & session);
};

// The parser's module, loaded on the first call (it stays loaded); null when it could not be
// loaded, with the reason in `error`.
const StepParser* LoadStepParser(std::string& error);

}  // namespace tam

// The module's exported entry point.
extern "C" const tam::StepParser* tam_kvxi_step_parser();
