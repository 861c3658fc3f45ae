// MOBI books through the external converter program: it is given an EPUB and leaves a
// ".mobi" file beside it, which is then moved to the output.
//
// Contract: blocking; call from a worker thread. The converter is started without a shell
// (argument array), hidden (its output discarded), and killed when it overruns its time
// limit or the export is cancelled. Settings are read on every call. Nothing throws.
#pragma once

#include <string>
#include <vector>

#include "plugin/export/export_codes.h"

namespace plugin {

inline constexpr int kConverterTimeoutMs = 120000;

// The converter that runs: the program named by Export\MobiConverter, relative to the
// folder of the library that holds this code; when that setting is not set, calibre's
// ebook-convert when it is installed (found on PATH), else "kindlegen.exe" in that folder.
std::wstring mobiConverterPath();
// The converter is calibre's ebook-convert, which takes the output file as its second
// argument and has no use for the other converter's extra arguments.
bool mobiConverterIsCalibre();
// Export\MobiConverterPararms (default "-c2"), split at blanks into arguments.
std::vector<std::string> mobiConverterArguments();

// Runs the program to its end: 1 when it finished in time (its exit code, 128 + signal for
// a signal, stored in `exitCode` when given), -1 when it could not start, -2 when it ran
// out of time and -3 when `control` cancelled it (killed in both cases).
int runProgram(const std::vector<std::string>& argv, int timeoutMs,
               const ExportControl* control = nullptr, int* exitCode = nullptr);

// Converts the EPUB at `epubPath` into `output` (replaced whole, or left as it was on
// failure, which includes a converter that exits with a non-zero status whatever it
// wrote). The converter's ".mobi" beside the EPUB is removed. 0, or -1 with the reason in
// control->error.
int ConvertToMobi(const std::wstring& name, const std::wstring& epubPath,
                  const std::wstring& output, ExportControl* control = nullptr);

}  // namespace plugin
