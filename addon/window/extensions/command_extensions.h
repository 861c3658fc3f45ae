// Commands that a higher layer serves: the dispatcher keeps a row for every command it
// knows, and for some of them (sending by mail, to the notebook application) the work is
// done by a library above the controller. That library registers its handlers here at
// start-up; until one is registered the dispatcher reports the command as not available.
//
// Contract: registration happens on the user-interface thread before commands run (the
// table is not locked); a handler registered again replaces the former one, an empty one
// removes it. A name that ends in "/" serves every command that starts with it, and its
// handler gets the text after the "/" as the argument. Handlers return what dispatcher
// handlers return (1 not handled, 2 handled).
#pragma once

#include <functional>
#include <string>

namespace addon {

using CommandExtension = std::function<int(int windowIndex, const std::wstring& argument)>;

void registerCommandExtension(const std::wstring& command, CommandExtension handler);
// The handler registered under that exact name; empty when none.
CommandExtension commandExtension(const std::wstring& command);

}  // namespace addon
