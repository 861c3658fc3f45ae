// The Print-to-PDF dialog's remembered choices, under "Software\Olvan\Tamrix\Export" of
// the current user: Output (text), Device (text), PageDirect, AutoTransfer, ShrinkWidth,
// ShrinkImages, IncreaseFontWeight, PrintBackground (numbers).
//
// Contract: a plain value; load and save open the registry for each value (registry-bound
// values) and never throw. A value that is missing or of the wrong type reads as its
// default.
#pragma once

#include <string>

namespace addon {

struct PrintSettings {
    std::wstring outputFolder;
    std::wstring device = L"Amazon Kindle DX";
    int landscape = 0;
    int autoTransfer = 1;
    int shrinkWidth = 1;
    int shrinkImages = 0;
    int increaseFontWeight = 0;
    int printBackground = 0;

    // Reads every value; the output folder defaults to the "My Tamrix" folder in the
    // user's documents folder, made when missing ("" without a home folder).
    static PrintSettings load();
    void save() const;
};

}  // namespace addon
