// Starting other programs: posix_spawn with an argument array (no shell, so no quoting or
// injection), the program looked up in PATH when it has no "/", the parent's environment.
//
// Contract: one object per thread at a time. start() reports failure (missing program,
// bad working folder) by its result and error(). wait() never blocks longer than asked.
// A Process destroyed while its program still runs leaves the program running (it is
// not killed); the program's exit status is then collected by nobody until this process
// ends. Call kill() or wait() to end it first when that matters.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace platform::system {

struct ProcessOptions {
    std::string workingFolder;   // "" keeps the current folder
    bool discardOutput = false;  // standard output and error go to /dev/null
};

class Process {
  public:
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    bool start(const std::vector<std::string>& argv, const ProcessOptions& options = {});

    // The exit code once the program has ended (128 + signal number when a signal ended
    // it), or nullopt when it still runs after `timeout`.
    std::optional<int> wait(std::chrono::milliseconds timeout);
    bool isRunning();
    // Ends the program at once (SIGKILL) and collects it.
    void kill();

    pid_t id() const { return pid_; }
    const std::string& error() const { return error_; }

  private:
    bool collect(bool block);

    pid_t pid_ = -1;
    std::optional<int> exitCode_;
    std::string error_;
};

struct ProcessResult {
    bool started = false;
    bool timedOut = false;  // the program was killed when the time ran out
    int exitCode = -1;
    std::string error;
};

// Runs a program to its end, killing it when it takes longer than `timeout`.
ProcessResult runProcess(const std::vector<std::string>& argv, std::chrono::milliseconds timeout,
                         const ProcessOptions& options = {});

}  // namespace platform::system
