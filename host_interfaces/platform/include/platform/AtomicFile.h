// Files written whole or not at all: the writer fills a temporary file beside the target, which
// replaces the target by a rename only when everything was written. A failure, an exception or
// a killed process leaves the earlier target as it was.
#pragma once

#include <functional>
#include <string>

namespace tam {

// Calls `write` with the path of a new, empty temporary file in the target's folder (a hidden
// name derived from the target's); when it returns true, renames the temporary over `target`
// (a native path). Otherwise, or when `write` throws (the exception goes on), the temporary is
// removed. On failure `error` receives the reason: the system's text for a file operation that
// failed ("Permission denied", "No such file or directory", "Is a directory"), or "the writer
// failed" when `write` returned false.
bool WriteFileAtomically(const std::string& target,
                         const std::function<bool(const std::string& temporary)>& write,
                         std::string& error);

// The system's text for an errno value.
std::string SystemErrorText(int errorNumber);

}  // namespace tam
