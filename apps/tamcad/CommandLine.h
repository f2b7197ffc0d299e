// The conventions every tamcad subcommand follows: outputs are given with -o (repeatable), -q
// silences progress, and the subcommand's runner returns an ExitCode. A subcommand lives in its
// own source file and offers one function `Subcommand addXxxCommand(CLI::App&)` that main calls.
#pragma once

#include "ExitCodes.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <string>
#include <vector>

namespace tam {

// A subcommand added to the command line and the work it does when it was chosen; the runner
// holds the subcommand's parsed values.
struct Subcommand {
    CLI::App* command = nullptr;
    std::function<ExitCode()> run;
};

// Adds "-o,--output" (repeatable) bound to outputs, described by what.
CLI::Option* addOutputOption(CLI::App& command, std::vector<std::string>& outputs,
                             const std::string& what);

// Adds "-q,--quiet": no progress display.
CLI::Option* addQuietFlag(CLI::App& command, bool& quiet);

}  // namespace tam
