// `tamcad batch SOURCES -o OUTDIR --to FORMAT[,FORMAT...]`: converts every CAD document under a
// folder, or named in a list file, into OUTDIR, keeping each document's relative path; one child
// import per document, several at once, resumable, and split into stable shards for schedulers.
#pragma once

#include "HostSettings.h"
#include "Picture.h"

#include <CLI/CLI.hpp>

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
};

// Adds the batch subcommand bound to request.
CLI::App* addBatchCommand(CLI::App& app, BatchRequest& request);

// Runs the batch. Exit code 0 when every document was converted or already was; otherwise the
// most severe exit code of the documents' imports (a crash or a timeout counts as 1); 2 for a
// folder or list that cannot be read; 130 when stopped by a signal.
int runBatch(const BatchRequest& request);

}  // namespace tam
