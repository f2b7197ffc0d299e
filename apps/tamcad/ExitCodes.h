// tamcad's exit codes, one per kind of outcome. Every subcommand returns one of these; when
// several apply, the most severe wins (see worseExit).
#pragma once

namespace tam {

enum ExitCode : int {
    kExitDone = 0,           // everything asked for was loaded and written
    kExitNothingLoaded = 1,  // the source gave nothing (missing, damaged, empty, refused)
    kExitUsage = 2,          // bad command line
    kExitNotWritten = 3,     // loaded, but an output could not be written
    kExitPartial = 4,        // loaded and written, but the library reported losses (faces given
                             // up, entities skipped, records repaired)
    kExitInterrupted = 130   // cancelled by Ctrl-C or SIGTERM
};

// The more severe of two exit codes: interrupted, usage, nothing loaded, not written, partial,
// done.
ExitCode worseExit(ExitCode a, ExitCode b);

// The text `tamcad --help` prints about the exit codes.
const char* exitCodeHelp();

}  // namespace tam
