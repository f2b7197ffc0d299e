// `tamcad batch SOURCES -o OUTDIR --to FORMAT[,FORMAT...]`: converts every CAD document under a
// folder, or named in a list file, into OUTDIR, keeping each document's relative path; one child
// import per document, several at once, resumable, and split into stable shards for schedulers.
#pragma once

#include "CacheOptions.h"
#include "CommandLine.h"
#include "HostSettings.h"
#include "Picture.h"

#include <string>
#include <vector>

namespace tam {

struct BatchRequest {
    std::string sources;  // folder or list file
    std::string outputFolder;
    std::vector<std::string> formats;  // output extensions without the dot
    unsigned int jobs = 1;
    std::string shard;   // "I/N", empty for the whole list
    std::string report;  // empty: OUTDIR/report.jsonl
    double timeoutSeconds = 600.0;
    bool quiet = false;
    std::string worker;  // the importing program; empty for tamcad itself (tests use a stand-in)
    ImportSettings settings;
    PictureOptions picture;
    CacheSettings cache;  // handed to every import; one cache folder serves all of them
};

// Adds the batch subcommand. Its exit code: done when every document was converted or already
// was; otherwise the most severe exit code of the documents' imports (see worseExit; a crash or
// a timeout counts as nothing loaded); usage when SOURCES cannot be read or OUTDIR or the report
// cannot be written; interrupted when stopped by a signal.
Subcommand addBatchCommand(CLI::App& app);

// Runs the batch that request describes.
ExitCode runBatch(const BatchRequest& request);

}  // namespace tam
