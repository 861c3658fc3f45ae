#include "addon/bar/pane_process.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "addon/shell/localization.h"
#include "common/language/language_table.h"
#include "platform/system/module_path.h"
#include "platform/system/process.h"
#include "platform/text/utf.h"
#include "platform/ui/window_system.h"

namespace addon {

namespace {

namespace ui = platform::ui;
using platform::system::Process;

constexpr std::chrono::milliseconds kWaitSlice{20};

// Programs started and still to be collected.
std::vector<std::unique_ptr<Process>>& startedPrograms() {
    static std::vector<std::unique_ptr<Process>> programs;
    return programs;
}

void keep(std::unique_ptr<Process> process) {
    auto& programs = startedPrograms();
    std::erase_if(programs,
                  [](const std::unique_ptr<Process>& each) { return !each->isRunning(); });
    programs.push_back(std::move(process));
}

// The program started ahead whose pane nobody has waited for yet.
std::unique_ptr<Process>& aheadProgram() {
    static std::unique_ptr<Process> program;
    return program;
}

// The program started ahead when it still runs; else nothing, and it is kept for collection.
std::unique_ptr<Process> takeRunningAheadProgram() {
    std::unique_ptr<Process> process = std::move(aheadProgram());
    if (process && !process->isRunning()) {
        keep(std::move(process));
    }
    return process;
}

std::string programOf(const PaneStartOptions& options) {
    return options.program.empty() ? defaultPaneProgram() : options.program;
}

bool isProgramFile(const std::string& program) {
    std::error_code error;
    return !program.empty() && std::filesystem::is_regular_file(program, error);
}

std::unique_ptr<Process> startProgram(const std::string& program) {
    auto process = std::make_unique<Process>();
    platform::system::ProcessOptions start;
    start.workingFolder = std::filesystem::path(program).parent_path().string();
    // The pane program outlives the browser's own output streams: holding them open would
    // keep a pipe from the browser's standard output open after the browser ended.
    start.discardOutput = true;
    return process->start({program}, start) ? std::move(process) : nullptr;
}

constexpr int kEndedEarly = -3;

// Waits for the started program's pane as startPaneProcess says; the program is kept.
int waitForPane(std::unique_ptr<Process> process, const PaneStartOptions& options,
                const std::function<bool()>& paneFound) {
    ui::WindowSystem& system = ui::windows();
    const auto clock = system.clock();
    const auto began = clock->now();
    int result = 1;
    while (!paneFound()) {
        if (!process->isRunning()) {
            result = kEndedEarly;
            break;
        }
        if (clock->now() - began >= options.limit) {
            process->kill();
            result = -2;
            break;
        }
        system.pumpUntil([] { return false; }, kWaitSlice);
    }
    keep(std::move(process));
    return result;
}

void reportMissing(ui::HWND owner, const std::string& program) {
    std::wstring text = common::languageTable().translate(L"Message", kMissingPaneProgramText);
    const std::wstring path = platform::text::fromUtf8(program);
    for (std::size_t at = text.find(L"#file#"); at != std::wstring::npos;
         at = text.find(L"#file#", at + path.size())) {
        text.replace(at, 6, path);
    }
    showMessage(owner, L"", text, ui::MB_OK | ui::MB_ICONERROR);
}

}  // namespace

std::string defaultPaneProgram() {
    const std::string module =
        platform::system::modulePathOf(reinterpret_cast<const void*>(&defaultPaneProgram));
    return module.empty() ? std::string{}
                          : std::filesystem::path(module).parent_path().string() + "/lorvane";
}

int startPaneProcess(ui::HWND owner, const PaneStartOptions& options,
                     const std::function<bool()>& paneFound) {
    if (std::unique_ptr<Process> ahead = takeRunningAheadProgram()) {
        const int result = waitForPane(std::move(ahead), options, paneFound);
        // One that ended first (nobody adopted it in time) gives way to a fresh start.
        if (result != kEndedEarly) {
            return result;
        }
    }
    const std::string program = programOf(options);
    if (!isProgramFile(program)) {
        reportMissing(owner, program);
        return 0;
    }
    std::unique_ptr<Process> process = startProgram(program);
    return process ? waitForPane(std::move(process), options, paneFound) : -1;
}

void startPaneProcessAhead(const PaneStartOptions& options,
                           const std::function<bool()>& paneFound) {
    std::unique_ptr<Process> running = takeRunningAheadProgram();
    if (running) {
        aheadProgram() = std::move(running);
        return;
    }
    const std::string program = programOf(options);
    if (!paneFound() && isProgramFile(program)) {
        aheadProgram() = startProgram(program);
    }
}

}  // namespace addon
