// "command-save-test": writes what the engine would clip to three files for inspection,
// in the "Test" folder of the user data folder, named by the first 8 characters of a new
// identifier: ".html" the cleaned page, ".htm" the raw page of each context (the last one
// remains), ".txt" URL, identifier, title and the selected text. Charset declarations in
// the markup are rewritten to UTF-8, which the files are written in.
//
// Contract: the browser's user-interface thread. 1 without a browser, else 2 (also after
// the messages for highlighted contents or an empty text selection, and when a file
// cannot be written, which is reported). Files are written whole or not at all.
#pragma once

namespace addon {

int saveTest(int windowIndex);

}  // namespace addon
