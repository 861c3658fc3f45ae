#include "addon/export/cups_printer.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "platform/system/atomic_file.h"
#include "platform/system/process.h"
#include "platform/text/utf.h"

namespace addon {
namespace {

std::wstring trimmedLine(const std::string& text) {
    std::string line = text.substr(0, text.find('\n'));
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
        line.pop_back();
    }
    return platform::text::fromUtf8(line);
}

}  // namespace

bool sendToDefaultPrinter(const std::wstring& pdfPath, const std::wstring& jobTitle,
                          std::wstring& reason) {
    std::error_code error;
    std::string errors =
        (std::filesystem::temp_directory_path(error) / "tamrix-lp-XXXXXX").string();
    const int descriptor = error ? -1 : mkstemp(errors.data());
    if (descriptor < 0) {
        reason = L"no temporary file for the printing system's answer";
        return false;
    }
    close(descriptor);
    // The shell only sends lp's messages to the file; the arguments reach lp as they are.
    const std::vector<std::string> argv = {
        "sh",
        "-c",
        "errors=\"$1\"; shift; exec lp \"$@\" >/dev/null 2>\"$errors\"",
        "sh",
        errors,
        "-t",
        platform::text::toUtf8(jobTitle),
        "--",
        platform::text::toUtf8(pdfPath)};
    const platform::system::ProcessResult run = platform::system::runProcess(argv, kPrintTimeLimit);
    std::string said;
    platform::system::readWholeFile(errors, said);
    std::filesystem::remove(errors, error);
    if (!run.started) {
        reason = L"the printing system cannot be started: " + platform::text::fromUtf8(run.error);
        return false;
    }
    if (run.timedOut) {
        reason = L"the printing system did not answer within " +
                 std::to_wstring(kPrintTimeLimit.count()) + L" seconds";
        return false;
    }
    if (run.exitCode == 127) {
        reason = L"the printing system's lp program (cups-client) is not installed";
        return false;
    }
    if (run.exitCode != 0) {
        reason = said.empty() ? L"lp ended with status " + std::to_wstring(run.exitCode)
                              : trimmedLine(said);
        return false;
    }
    return true;
}

}  // namespace addon
