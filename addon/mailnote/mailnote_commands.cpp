#include "addon/mailnote/mailnote_commands.h"

#include "addon/mailnote/onenote_export.h"
#include "addon/mailnote/send_by_email.h"
#include "addon/window/extensions/command_extensions.h"

namespace addon {

void registerMailNoteCommands() {
    registerCommandExtension(L"command-send-email", [](int window, const std::wstring&) {
        return sendByEmail(window, L"\\Mail\\From", L"\\Mail\\To");
    });
    registerCommandExtension(L"command-send-kindle", [](int window, const std::wstring&) {
        return sendByEmail(window, L"\\Mail\\Kindle-From", L"\\Mail\\Kindle-To");
    });
    registerCommandExtension(L"command-send-onenote", [](int window, const std::wstring&) {
        return sendToOneNote(window, L"");
    });
    registerCommandExtension(L"command-send-onenote/", [](int window, const std::wstring& pageId) {
        return sendToOneNote(window, pageId);
    });
}

}  // namespace addon
