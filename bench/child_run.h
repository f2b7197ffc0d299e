// Child-process runs shared by the benchmarks: each measured piece of work runs in a process of
// its own, so that its time and peak memory are its alone.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tambench {

struct Run {
    double seconds = 0.0;  // wall
    double cpu = 0.0;      // user + system: steadier than wall time on a busy machine
    double peakMiB = 0.0;
    bool ok = false;
};

// Runs `work` in a child process; its exit status 0 means success.
Run Measure(const std::function<int()>& work);

// In a child: runs the program command[0] with the arguments, its output and messages discarded.
// Returns only when it could not be started.
int RunQuietly(const std::vector<std::string>& command);

}  // namespace tambench
