#include "addon/export/cups_printer.h"

#include <vector>

#include "platform/system/atomic_file.h"
#include "platform/system/process.h"
#include "platform/system/temporary_files.h"
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
    platform::system::TemporaryFile answer("lp-errors.txt");
    if (!answer.close(false)) {
        reason = L"no temporary file for the printing system's answer";
        return false;
    }
    const std::string& errors = answer.path();
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
