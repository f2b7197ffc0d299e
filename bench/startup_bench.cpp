// Times the start-up of `tamcad --help` against startup_reader_only (a program that links only the
// STEP reader), the two alternating, and prints the mean and median CPU time (user + system, from
// getrusage of the finished child) per run of each, side by side with the target: tamcad at most
// 5 ms of CPU above the baseline.
//
//   startup_bench [-n RUNS] [TAMCAD]
//
// Without TAMCAD it runs ../apps/tamcad/tamcad beside this program's build folder.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

namespace {

constexpr double kTargetMs = 5.0;

std::string ownFolder() {
    std::vector<char> path(4096);
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
    const std::string exe = length > 0 ? std::string(path.data(), length) : std::string(".");
    return exe.substr(0, exe.find_last_of('/'));
}

double cpuMs(const rusage& usage) {
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// CPU time of one run of the program, output discarded; negative when it could not run.
double timedRun(const std::vector<std::string>& command) {
    rusage before{};
    getrusage(RUSAGE_CHILDREN, &before);
    const pid_t child = fork();
    if (child == 0) {
        const int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, STDOUT_FILENO);
        dup2(devNull, STDERR_FILENO);
        std::vector<char*> args;
        for (const std::string& arg : command)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) == 127)
        return -1.0;
    rusage after{};
    getrusage(RUSAGE_CHILDREN, &after);
    return cpuMs(after) - cpuMs(before);
}

double mean(const std::vector<double>& values) {
    return std::accumulate(values.begin(), values.end(), 0.0) / values.size();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 50;
    int arg = 1;
    if (arg + 1 < argc && std::string(argv[arg]) == "-n") {
        runs = std::max(1, std::atoi(argv[arg + 1]));
        arg += 2;
    }
    const std::string folder = ownFolder();
    const std::string tamcad = arg < argc ? argv[arg] : folder + "/../apps/tamcad/tamcad";
    const std::vector<std::vector<std::string>> commands = {{folder + "/startup_reader_only"},
                                                            {tamcad, "--help"}};
    std::vector<std::vector<double>> times(commands.size());
    for (int run = 0; run < runs; ++run) {
        for (size_t i = 0; i < commands.size(); ++i) {
            const double ms = timedRun(commands[i]);
            if (ms < 0) {
                std::fprintf(stderr, "startup_bench: %s did not run\n", commands[i][0].c_str());
                return 1;
            }
            times[i].push_back(ms);
        }
    }
    std::printf("%-22s %10s %10s   (%d runs each, CPU = user + sys)\n", "program", "mean ms",
                "median ms", runs);
    std::printf("%-22s %10.2f %10.2f\n", "STEP reader only", mean(times[0]), median(times[0]));
    std::printf("%-22s %10.2f %10.2f\n", "tamcad --help", mean(times[1]), median(times[1]));
    const double extra = median(times[1]) - median(times[0]);
    std::printf(
        "tamcad above baseline: %.2f ms median, %.2f ms mean (target: at most %.1f ms) %s\n", extra,
        mean(times[1]) - mean(times[0]), kTargetMs, extra <= kTargetMs ? "met" : "not met");
    return 0;
}
