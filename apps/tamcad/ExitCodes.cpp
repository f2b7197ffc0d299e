#include "ExitCodes.h"

namespace tam {
namespace {

int severity(ExitCode code) {
    switch (code) {
        case kExitInterrupted:
            return 5;
        case kExitUsage:
            return 4;
        case kExitNothingLoaded:
            return 3;
        case kExitNotWritten:
            return 2;
        case kExitPartial:
            return 1;
        case kExitDone:
            return 0;
    }
    return 0;
}

}  // namespace

ExitCode worseExit(ExitCode a, ExitCode b) {
    return severity(b) > severity(a) ? b : a;
}

const char* exitCodeHelp() {
    return "Exit codes:\n"
           "  0    done\n"
           "  1    nothing loaded (missing, damaged or empty source)\n"
           "  2    bad command line\n"
           "  3    an output could not be written\n"
           "  4    partial result (faces given up, entities skipped, records repaired)\n"
           "  130  interrupted (Ctrl-C or SIGTERM)\n";
}

}  // namespace tam
