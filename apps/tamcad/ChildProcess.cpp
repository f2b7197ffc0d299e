#include "ChildProcess.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace tam {
namespace {

std::string readAll(std::FILE* file) {
    std::string text;
    if (file == nullptr)
        return text;
    std::rewind(file);
    char buffer[4096];
    size_t read = 0;
    while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, read);
    return text;
}

// Runs in the forked child, so only async-signal-safe calls until exec.
[[noreturn]] void execChild(const char* program, char* const* argv, pid_t parent, int output,
                            int errors) {
    setpgid(0, 0);
    // The batch may be killed outright; its children must not run on unseen.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent)
        _exit(127);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    const int input = open("/dev/null", O_RDONLY);
    if (input < 0 || dup2(input, STDIN_FILENO) < 0 || dup2(output, STDOUT_FILENO) < 0 ||
        dup2(errors, STDERR_FILENO) < 0)
        _exit(127);
    execv(program, argv);
    _exit(127);
}

}  // namespace

ChildProcess::~ChildProcess() {
    if (running())
        kill();
    if (m_output != nullptr)
        std::fclose(m_output);
    if (m_errors != nullptr)
        std::fclose(m_errors);
}

bool ChildProcess::start(const std::string& program, const std::vector<std::string>& arguments,
                         std::string& error) {
    m_output = std::tmpfile();
    m_errors = std::tmpfile();
    if (m_output == nullptr || m_errors == nullptr) {
        error = std::string("cannot create a temporary file: ") + std::strerror(errno);
        return false;
    }
    // argv is built before the fork: the child may not allocate.
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::fflush(nullptr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid < 0) {
        error = std::string("cannot start a child process: ") + std::strerror(errno);
        return false;
    }
    if (pid == 0)
        execChild(program.c_str(), argv.data(), parent, fileno(m_output), fileno(m_errors));
    // Also set here, so that the group exists before a kill can be sent to it.
    setpgid(pid, pid);
    m_pid = pid;
    return true;
}

bool ChildProcess::poll() {
    if (!running())
        return m_ended;
    const pid_t reaped = waitpid(m_pid, &m_status, WNOHANG);
    if (reaped == m_pid || (reaped < 0 && errno == ECHILD))
        m_ended = true;
    return m_ended;
}

void ChildProcess::kill() {
    if (!running())
        return;
    ::kill(-m_pid, SIGKILL);
    while (waitpid(m_pid, &m_status, 0) < 0 && errno == EINTR) {
    }
    m_ended = true;
}

std::string ChildProcess::output() const {
    return readAll(m_output);
}

std::string ChildProcess::errors() const {
    return readAll(m_errors);
}

}  // namespace tam
