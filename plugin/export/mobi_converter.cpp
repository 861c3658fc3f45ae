#include "plugin/export/mobi_converter.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <sstream>

#include "common/util/registry_string.h"
#include "platform/registry/types.h"
#include "platform/system/atomic_file.h"
#include "platform/system/module_path.h"
#include "platform/system/process.h"
#include "platform/text/utf.h"
#include "plugin/export/export_failure.h"
#include "plugin/export/output_file.h"

namespace plugin {

namespace {

std::wstring exportSetting(const std::wstring& name, const std::wstring& defaultValue) {
    common::registry_string<std::wstring> value(L"Software\\Olvan\\Tamrix\\Export\\" + name,
                                                platform::registry::HKEY_CURRENT_USER, defaultValue,
                                                common::kRegistryNoWriteBack);
    return value.value;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// `path` with its extension (from the last "." of its file name) replaced.
std::string withExtension(const std::string& path, const std::string& extension) {
    const auto slash = path.rfind('/');
    const auto dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + extension;
    return path.substr(0, dot) + extension;
}

// calibre's converter on PATH, "" when it is not installed.
std::string calibreConverter() {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::string program = (folder.empty() ? "." : folder) + "/ebook-convert";
        if (::access(program.c_str(), X_OK) == 0)
            return program;
    }
    return {};
}

// Export\MobiConverter, "" when it is not set.
std::wstring configuredConverter() {
    return exportSetting(L"MobiConverter", L"");
}

}  // namespace

std::wstring mobiConverterPath() {
    std::wstring name = configuredConverter();
    if (name.empty()) {
        if (const std::string calibre = calibreConverter(); !calibre.empty())
            return platform::text::fromUtf8(calibre);
        name = L"kindlegen.exe";
    }
    // A whole path names the program itself; a name lies beside the plug-in.
    if (const std::string given = nativeFilePath(name); !given.empty() && given.front() == '/')
        return platform::text::fromUtf8(given);
    const std::string library =
        platform::system::modulePathOf(reinterpret_cast<const void*>(&mobiConverterPath));
    return platform::text::fromUtf8(folderOf(library)) + L"/" +
           platform::text::fromUtf8(nativeFilePath(name));
}

bool mobiConverterIsCalibre() {
    return configuredConverter().empty() && !calibreConverter().empty();
}

std::vector<std::string> mobiConverterArguments() {
    std::istringstream words(
        platform::text::toUtf8(exportSetting(L"MobiConverterPararms", L"-c2")));
    std::vector<std::string> arguments;
    for (std::string word; words >> word;)
        arguments.push_back(word);
    return arguments;
}

int runProgram(const std::vector<std::string>& argv, int timeoutMs, const ExportControl* control,
               int* exitCode) {
    using namespace std::chrono;
    platform::system::Process process;
    platform::system::ProcessOptions options;
    options.discardOutput = true;
    if (argv.empty() || !process.start(argv, options))
        return -1;
    const auto deadline = steady_clock::now() + milliseconds(timeoutMs);
    for (;;) {
        const auto left = duration_cast<milliseconds>(deadline - steady_clock::now());
        if (const auto ended = process.wait(std::clamp(left, milliseconds(0), milliseconds(100)))) {
            if (exitCode != nullptr)
                *exitCode = *ended;
            return 1;
        }
        if (control != nullptr && control->cancelled) {
            process.kill();
            return -3;
        }
        if (steady_clock::now() >= deadline) {
            process.kill();
            return -2;
        }
    }
}

int ConvertToMobi(const std::wstring& /*name*/, const std::wstring& epubPath,
                  const std::wstring& output, ExportControl* control) {
    const std::wstring converter = mobiConverterPath();
    const std::string program = nativeFilePath(converter);
    if (::access(program.c_str(), X_OK) != 0)
        return exportFailure(control,
                             L"The MOBI converter " + converter + L" is missing or cannot be run.");
    const std::string epub = nativeFilePath(epubPath);
    const std::string mobi = withExtension(epub, ".mobi");
    ::unlink(mobi.c_str());
    std::vector<std::string> argv = {program, epub};
    if (mobiConverterIsCalibre())
        argv.push_back(mobi);  // calibre writes where it is told, beside the book too
    else
        for (std::string& argument : mobiConverterArguments())
            argv.push_back(std::move(argument));

    int exitCode = 0;
    const int run = runProgram(argv, kConverterTimeoutMs, control, &exitCode);
    std::string book;
    const bool produced = platform::system::readWholeFile(mobi, book);
    ::unlink(mobi.c_str());
    if (run == -1)
        return exportFailure(control, L"The MOBI converter " + converter + L" could not start.");
    if (run == -2)
        return exportFailure(control, L"The MOBI converter took longer than " +
                                          std::to_wstring(kConverterTimeoutMs / 1000) +
                                          L" seconds and was stopped.");
    if (run == -3)
        return exportFailure(control, kExportCancelled);
    // A converter that reports a failure may leave a partial or broken book behind.
    if (exitCode != 0)
        return exportFailure(control, L"The MOBI converter failed (exit status " +
                                          std::to_wstring(exitCode) + L").");
    if (!produced || book.empty())
        return exportFailure(control, L"The MOBI converter produced no book.");
    if (!platform::system::writeFileAtomically(nativeFilePath(output), book))
        return exportFailure(control, L"Cannot write " + output + L".");
    return 0;
}

}  // namespace plugin
