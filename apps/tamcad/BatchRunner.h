// Runs a batch: each document is imported by a child tamcad process of its own (so that a crash
// or a hang costs one document, not the batch), several at once, each under a time limit. The
// child writes its outputs under hidden partial names beside the final ones; only a child that
// succeeded has them renamed into place and its conversion record written, so the output folder
// never holds half a file and a stopped batch resumes where it was.
#pragma once

#include "BatchPlan.h"
#include "BatchReport.h"
#include "ExitCodes.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace tam {

struct BatchSettings {
    std::filesystem::path outputFolder;
    std::vector<std::string> formats;  // output extensions without the dot ("glb", "png", ...)
    std::vector<std::string> options;  // given to every import; recorded with the outputs
    std::vector<std::string> unrecordedOptions;  // given to every import only
    unsigned int jobs = 1;                       // imports running at once
    double timeoutSeconds = 0.0;                 // per document; 0 for none
    bool quiet = false;                          // no progress line
    std::string program = "/proc/self/exe";      // the importing program: tamcad itself
};

// How a batch ended.
struct BatchOutcome {
    std::size_t failed = 0;  // documents failed, crashed or timed out
    // The most severe exit code of the imports run (see worseExit; crashes, timeouts and codes
    // tamcad does not give count as nothing loaded).
    ExitCode worstExitCode = kExitDone;
    bool interrupted = false;  // stopped by SIGINT, SIGTERM or SIGHUP; running imports killed
};

// Converts the documents in their order, skipping those already up to date, and appends each
// finished document to the report. Blocks until all are done or a stop signal arrives.
BatchOutcome convertDocuments(const std::vector<BatchDocument>& documents,
                              const BatchSettings& settings, BatchReport& report);

}  // namespace tam
