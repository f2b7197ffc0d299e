// What tamcad shows while it works: host messages on stderr, progress as a bar on a terminal or
// as plain lines otherwise, and Ctrl-C turned into the host's cancel request.
#pragma once

#include <csignal>

namespace tam {

// Installs the registry's message and progress callbacks for its lifetime; they are cleared again
// on destruction. Messages go to stderr prefixed "tamcad: ". Progress draws a bar when stderr is a
// terminal, otherwise one line per step text and per tenth of the work; quiet shows no progress.
// The translator's reader messages go to the host log (gTamLog) meanwhile.
class ConsoleReporter {
public:
    explicit ConsoleReporter(bool quiet);
    ~ConsoleReporter();
    ConsoleReporter(const ConsoleReporter&) = delete;
    ConsoleReporter& operator=(const ConsoleReporter&) = delete;

    // Number of messages received so far.
    static unsigned int messageCount();
    // Ends an open progress bar line.
    static void finishProgress();
};

// While it lives, the first Ctrl-C (SIGINT) or SIGTERM sets sglModelLoader::m_sbCancelImport so
// that the import stops at its next step; a second one ends the program at once with
// kExitInterrupted. The translator asks the flag at its progress steps (KVXISystem's cancel
// check) and the entity walk between entities; a step that does not come back within a second of
// the request (the STEP parser cannot be stopped) ends the program with kExitInterrupted. The
// previous handlers are restored on destruction.
class CancelOnInterrupt {
public:
    CancelOnInterrupt();
    ~CancelOnInterrupt();
    CancelOnInterrupt(const CancelOnInterrupt&) = delete;
    CancelOnInterrupt& operator=(const CancelOnInterrupt&) = delete;

private:
    struct sigaction m_previousInterrupt;
    struct sigaction m_previousTerminate;
    struct sigaction m_previousAlarm;
};

}  // namespace tam
