// The reasons of translator results: one line naming the file and the cause, built from what the
// result, the file itself and the readers' messages tell.
#pragma once

#include <kvxi/KVXIResult.h>

#include <string>

namespace tam {

// The result with its reason completed: a failure or warning gets "<file name>: <cause>", where
// the cause is the result's own reason when it has one, else what the file (missing, a folder,
// not readable, empty, not of its format), the readers' first failure message ("syntax error at
// line N: ...") or the result's number tells. Read failures name the source, write failures the
// target. Successes are returned as they are.
KVXIResult WithReason(const KVXIResult& result, const std::string& sourcePath,
                      const std::string& targetPath);

}  // namespace tam
