#include "CommandLine.h"

namespace tam {

CLI::Option* addOutputOption(CLI::App& command, std::vector<std::string>& outputs,
                             const std::string& what) {
    return command.add_option("-o,--output", outputs, what)->allow_extra_args(false);
}

CLI::Option* addQuietFlag(CLI::App& command, bool& quiet) {
    return command.add_flag("-q,--quiet", quiet, "No progress display");
}

}  // namespace tam
