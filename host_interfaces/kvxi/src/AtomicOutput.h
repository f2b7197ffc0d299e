// Writes a target file whole or not at all: the writer works in a scratch folder beside the
// target, and its files are moved into place only when it succeeded.
#pragma once

#include <kvxi/KVXIResult.h>

#include <functional>
#include <string>

namespace tam {

// Calls `write` with a scratch path of the target's file name; on success moves every file
// the writer made (a glTF target also has a .bin beside it) next to the target. On failure or
// an escape, removes the scratch folder and leaves nothing behind. WriteFailed when the
// target's folder does not exist or is not writable.
KVXIResult WriteAtomically(const std::string& target,
                           const std::function<KVXIResult(const std::string&)>& write);

}  // namespace tam
