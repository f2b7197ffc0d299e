// Running a shell command from a test: its exit code and what it printed.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace tamtest {

struct RunResult {
    int exitCode = -1;
    std::string out;  // stdout, with stderr unless the command sends it elsewhere
};

// Runs a shell command, stderr merged into stdout unless `mergeStderr` is false.
inline RunResult runShell(const std::string& shellCommand, bool mergeStderr = true) {
    RunResult result;
    const std::string command = shellCommand + (mergeStderr ? " 2>&1" : "");
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return result;
    char buffer[4096];
    for (size_t read = 0; (read = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.out.append(buffer, read);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// The path in single quotes for the shell.
inline std::string quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

}  // namespace tamtest
