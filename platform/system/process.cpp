#include "platform/system/process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstring>
#include <thread>

extern char** environ;

namespace platform::system {
namespace {

class SpawnActions {
  public:
    SpawnActions() { posix_spawn_file_actions_init(&actions_); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    posix_spawn_file_actions_t* get() { return &actions_; }

  private:
    posix_spawn_file_actions_t actions_;
};

int exitCodeOf(int status) {
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

}  // namespace

Process::~Process() {
    if (pid_ > 0 && !exitCode_) {
        collect(false);
    }
}

bool Process::start(const std::vector<std::string>& argv, const ProcessOptions& options) {
    error_.clear();
    if (pid_ > 0 && isRunning()) {
        error_ = "a program is already running";
        return false;
    }
    if (argv.empty() || argv.front().empty()) {
        error_ = "no program given";
        return false;
    }
    std::vector<char*> arguments;
    for (const auto& argument : argv) {
        arguments.push_back(const_cast<char*>(argument.c_str()));
    }
    arguments.push_back(nullptr);

    SpawnActions actions;
    if (!options.workingFolder.empty()) {
        posix_spawn_file_actions_addchdir_np(actions.get(), options.workingFolder.c_str());
    }
    if (options.discardOutput) {
        posix_spawn_file_actions_addopen(actions.get(), 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_adddup2(actions.get(), 1, 2);
    }
    pid_t pid = -1;
    const int failure =
        posix_spawnp(&pid, arguments[0], actions.get(), nullptr, arguments.data(), environ);
    if (failure != 0) {
        error_ = "cannot start " + argv.front() + ": " + std::strerror(failure);
        pid_ = -1;
        return false;
    }
    pid_ = pid;
    exitCode_.reset();
    return true;
}

bool Process::collect(bool block) {
    int status = 0;
    pid_t result;
    do {
        result = waitpid(pid_, &status, block ? 0 : WNOHANG);
    } while (result < 0 && errno == EINTR);
    if (result == pid_) {
        exitCode_ = exitCodeOf(status);
        return true;
    }
    if (result < 0) {
        exitCode_ = -1;
        return true;
    }
    return false;
}

std::optional<int> Process::wait(std::chrono::milliseconds timeout) {
    if (pid_ <= 0) {
        return std::nullopt;
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    auto pause = std::chrono::microseconds(500);
    while (!exitCode_ && !collect(false)) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
        pause = std::min(pause * 2, std::chrono::microseconds(50000));
    }
    return exitCode_;
}

bool Process::isRunning() {
    return pid_ > 0 && !exitCode_ && !collect(false);
}

void Process::kill() {
    if (isRunning()) {
        ::kill(pid_, SIGKILL);
        collect(true);
    }
}

ProcessResult runProcess(const std::vector<std::string>& argv, std::chrono::milliseconds timeout,
                         const ProcessOptions& options) {
    ProcessResult result;
    Process process;
    result.started = process.start(argv, options);
    if (!result.started) {
        result.error = process.error();
        return result;
    }
    if (auto code = process.wait(timeout)) {
        result.exitCode = *code;
    } else {
        process.kill();
        result.timedOut = true;
        result.error = argv.front() + " did not end within " + std::to_string(timeout.count()) +
                       " ms and was stopped";
    }
    return result;
}

}  // namespace platform::system
