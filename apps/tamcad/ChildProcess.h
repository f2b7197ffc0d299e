// A program run in a child process that leads a process group of its own, with its standard
// output and error caught in anonymous temporary files. Killing it kills the whole group (the
// importer's own helper processes too), and the child is killed when this process dies.
#pragma once

#include <sys/types.h>

#include <cstdio>
#include <string>
#include <vector>

namespace tam {

class ChildProcess {
public:
    ChildProcess() = default;
    // Kills and reaps a child that is still running.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts `program` with `arguments` (argv[1...]), standard input from /dev/null and an empty
    // signal mask. False with `error` when it could not be started; an exec failure shows later
    // as exit code 127.
    bool start(const std::string& program, const std::vector<std::string>& arguments,
               std::string& error);

    // Collects the child's end without waiting; true once it has ended.
    bool poll();

    // Sends SIGKILL to the child's process group and waits for the child.
    void kill();

    bool running() const { return m_pid > 0 && !m_ended; }
    // The wait status (see waitpid) once ended.
    int waitStatus() const { return m_status; }
    // What the child wrote on stdout / stderr (read once it has ended).
    std::string output() const;
    std::string errors() const;

private:
    pid_t m_pid = -1;
    bool m_ended = false;
    int m_status = 0;
    std::FILE* m_output = nullptr;
    std::FILE* m_errors = nullptr;
};

}  // namespace tam
