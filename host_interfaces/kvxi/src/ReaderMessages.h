// OCCT's own console output (the readers' and writers' messages through the default messenger)
// captured while the translator runs: kept for the reasons of results and handed to the host's
// message handler, never printed on standard output.
#pragma once

#include <kvxi/KVXISystem.h>

#include <sstream>
#include <string>
#include <vector>

namespace tam {

// Replaces the default messenger's printers by the capturing one (the replaced printers are
// kept) and restores them.
void CaptureReaderMessages();
void ReleaseReaderMessages();

// Installs the host's handler for every captured message (null drops them).
void SetReaderMessageHandler(KVXISystem::MessageHandler handler);

// While it lives, text written to std::cout (some OCCT readers print there directly) is kept
// and handed to the message handler line by line instead of being printed.
class ConsoleCapture {
public:
    ConsoleCapture();
    ~ConsoleCapture();
    ConsoleCapture(const ConsoleCapture&) = delete;
    ConsoleCapture& operator=(const ConsoleCapture&) = delete;

private:
    std::streambuf* m_previous;
    std::stringbuf m_text;
};

// Forgets the failures kept so far; called at the start of each conversion.
void ClearReaderFailures();

// The fail and alarm messages since the last clear, oldest first (at most a few dozen).
const std::vector<std::string>& ReaderFailures();

}  // namespace tam
