#include "host/browser/tests/x_display.h"

#include <errno.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace browser_tests {

std::uint32_t Screenshot::pixel(int x, int y) const {
    const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
    return (std::uint32_t{rgb[at]} << 16) | (std::uint32_t{rgb[at + 1]} << 8) | rgb[at + 2];
}

namespace {

std::string lockFile(int number) {
    return "/tmp/.X" + std::to_string(number) + "-lock";
}

std::string socketFile(int number) {
    return "/tmp/.X11-unix/X" + std::to_string(number);
}

// Whether the display number is free: no lock, or a lock left by a server that has gone
// (its pid names no process), whose lock and socket are then removed.
bool claimable(int number) {
    std::ifstream lock(lockFile(number));
    if (!lock) {
        return !std::filesystem::exists(socketFile(number));
    }
    pid_t owner = 0;
    if (!(lock >> owner) || owner <= 0 || ::kill(owner, 0) == 0 || errno != ESRCH) {
        return false;
    }
    std::error_code ignored;
    std::filesystem::remove(lockFile(number), ignored);
    std::filesystem::remove(socketFile(number), ignored);
    return !std::filesystem::exists(lockFile(number)) &&
           !std::filesystem::exists(socketFile(number));
}

}  // namespace

XDisplay::XDisplay() {
    // A display number no other server holds.
    for (int number = 90 + getpid() % 400; number < 1000; ++number) {
        if (claimable(number)) {
            display_ = ":" + std::to_string(number);
            break;
        }
    }
    if (display_.empty() ||
        !server_.start({"Xvfb", display_, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"},
                       {.workingFolder = "", .discardOutput = true})) {
        return;
    }
    const std::string socket = "/tmp/.X11-unix/X" + display_.substr(1);
    for (int tries = 0; tries < 200 && !std::filesystem::exists(socket); ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    setenv("DISPLAY", display_.c_str(), 1);
    setenv("GDK_BACKEND", "x11", 1);
    // No accessibility bus or desktop settings service to wait for.
    setenv("NO_AT_BRIDGE", "1", 1);
    setenv("GTK_A11Y", "none", 1);
    setenv("GSETTINGS_BACKEND", "memory", 1);
    ready_ = std::filesystem::exists(socket) && server_.isRunning();
}

XDisplay::~XDisplay() {
    // Asked to end, the server removes its lock and socket; killed, it leaves both behind,
    // and enough of those fill every display number the tests look at.
    if (server_.isRunning()) {
        ::kill(server_.id(), SIGTERM);
        if (!server_.wait(std::chrono::seconds(10))) {
            server_.kill();
        }
    }
}

std::string XDisplay::run(const std::string& command, std::chrono::seconds limit) const {
    const std::string line = "timeout " + std::to_string(limit.count()) + " " + command;
    FILE* pipe = popen(line.c_str(), "r");
    if (!pipe) {
        return {};
    }
    std::string output;
    char buffer[4096];
    for (std::size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        output.append(buffer, got);
    }
    pclose(pipe);
    return output;
}

std::string XDisplay::waitForWindow(const std::string& title, std::chrono::seconds limit) const {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        std::istringstream found(run("xdotool search --onlyvisible --name '" + title + "'"));
        std::string window;
        if (found >> window) {
            return window;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return {};
}

Screenshot XDisplay::screenshot() const {
    // A binary PPM: "P6", width, height, maximum, one white-space byte, then the pixels.
    const std::string ppm = run("import -window root -depth 8 ppm:-");
    Screenshot shot;
    std::istringstream header(ppm);
    std::string magic;
    int maximum = 0;
    if (!(header >> magic >> shot.width >> shot.height >> maximum) || magic != "P6" ||
        maximum != 255) {
        return {};
    }
    const auto start = static_cast<std::size_t>(header.tellg()) + 1;
    const std::size_t bytes = static_cast<std::size_t>(shot.width) * shot.height * 3;
    if (ppm.size() < start + bytes) {
        return {};
    }
    shot.rgb.assign(ppm.begin() + static_cast<std::ptrdiff_t>(start),
                    ppm.begin() + static_cast<std::ptrdiff_t>(start + bytes));
    return shot;
}

void XDisplay::savePng(const std::string& file) const {
    run("import -window root '" + file + "'");
}

}  // namespace browser_tests
