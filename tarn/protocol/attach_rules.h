// Which processes the tarn: protocol library starts its engine in. The library must not
// run inside the desktop shell ("explorer.exe"), and inside the registration tool
// ("regsvr32.exe") it only registers and unregisters, without starting the engine. The
// names are compared with the program's file name exactly (case-sensitive).
//
// Contract: pure function, thread-safe.
#pragma once

#include <string_view>

namespace tarn {

enum class AttachAction {
    Refuse,    // serve nothing in this process
    Register,  // registration only: no engine
    Start,     // start the engine and register the installed pages
};

// `programPath` is the path of the host program (its file name is what counts).
AttachAction attachActionFor(std::wstring_view programPath);

}  // namespace tarn
