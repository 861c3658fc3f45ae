#include "platform/mail/simple_mapi.h"

#include <cerrno>
#include <ctime>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/mail/mapi_entry_points.h"
#include "platform/mail/mime_encoding.h"
#include "platform/mail/mime_message.h"
#include "platform/mail/outbox.h"
#include "platform/registry/registry.h"
#include "platform/system/atomic_file.h"
#include "platform/text/utf.h"

namespace platform::mail {
namespace {

struct ResolvedRecipient {
    MapiRecipDesc descriptor;
    std::string text;
};

struct ServiceState {
    std::mutex lock;
    LHANDLE nextSession = 1;
    std::map<LHANDLE, std::string> sessions;
    std::map<const void*, std::unique_ptr<ResolvedRecipient>> resolved;
};

ServiceState& state() {
    static ServiceState instance;
    return instance;
}

std::string textOf(const char* text) {
    return text ? std::string(text) : std::string();
}

std::string addressOf(const MapiRecipDesc& recipient) {
    std::string address = textOf(recipient.address);
    if (address.size() > 5 &&
        (address.compare(0, 5, "SMTP:") == 0 || address.compare(0, 5, "smtp:") == 0)) {
        address.erase(0, 5);
    }
    return address.empty() ? textOf(recipient.name) : address;
}

bool mailboxOf(const MapiRecipDesc& recipient, Mailbox& box) {
    box.address = addressOf(recipient);
    box.name = textOf(recipient.name);
    if (box.name == box.address) {
        box.name.clear();
    }
    return isMailAddress(box.address);
}

std::string fileNameOfPath(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The content type registered for the file name's extension; a generic one otherwise.
std::string contentTypeOf(const std::string& fileName) {
    const std::size_t dot = fileName.rfind('.');
    std::string type = "application/octet-stream";
    if (dot == std::string::npos) {
        return type;
    }
    using namespace platform::registry;
    HKEY key = nullptr;
    const std::wstring extension = platform::text::fromUtf8(fileName.substr(dot));
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, extension.c_str(), 0, KEY_READ, &key) != 0) {
        return type;
    }
    wchar_t buffer[128] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t);
    DWORD valueType = 0;
    if (RegQueryValueExW(key, L"Content Type", nullptr, &valueType, reinterpret_cast<BYTE*>(buffer),
                         &size) == 0 &&
        valueType == REG_SZ && buffer[0] != 0) {
        type = platform::text::toUtf8(buffer);
    }
    RegCloseKey(key);
    return type;
}

ULONG collectRecipients(const MapiMessage& message, MailContent& content) {
    const MapiRecipDesc* originator = message.originator;
    for (ULONG i = 0; i < message.recipCount; ++i) {
        const MapiRecipDesc& recipient = message.recips[i];
        if (recipient.recipClass == MAPI_ORIG) {
            originator = originator ? originator : &recipient;
            continue;
        }
        Mailbox box;
        if (!mailboxOf(recipient, box)) {
            return MAPI_E_INVALID_RECIPS;
        }
        switch (recipient.recipClass) {
            case MAPI_TO:
                content.to.push_back(box);
                break;
            case MAPI_CC:
                content.cc.push_back(box);
                break;
            case MAPI_BCC:
                content.bcc.push_back(box);
                break;
            default:
                return MAPI_E_BAD_RECIPTYPE;
        }
    }
    if (!originator || !mailboxOf(*originator, content.from)) {
        return MAPI_E_INVALID_RECIPS;
    }
    const bool anyRecipient = !content.to.empty() || !content.cc.empty() || !content.bcc.empty();
    return anyRecipient ? SUCCESS_SUCCESS : MAPI_E_INVALID_RECIPS;
}

ULONG collectAttachments(const MapiMessage& message, MailContent& content) {
    for (ULONG i = 0; i < message.fileCount; ++i) {
        const MapiFileDesc& file = message.files[i];
        const std::string path = textOf(file.pathName);
        MailAttachment attachment;
        if (path.empty()) {
            return MAPI_E_ATTACHMENT_NOT_FOUND;
        }
        if (!platform::system::readWholeFile(path, attachment.bytes)) {
            return errno == ENOENT ? MAPI_E_ATTACHMENT_NOT_FOUND : MAPI_E_ATTACHMENT_OPEN_FAILURE;
        }
        attachment.fileName = textOf(file.fileName);
        if (attachment.fileName.empty()) {
            attachment.fileName = fileNameOfPath(path);
        }
        attachment.contentType = contentTypeOf(attachment.fileName);
        content.attachments.push_back(std::move(attachment));
    }
    return SUCCESS_SUCCESS;
}

ULONG storeFailure(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
        case EROFS:
            return MAPI_E_ACCESS_DENIED;
        case ENOSPC:
        case EDQUOT:
            return MAPI_E_DISK_FULL;
        default:
            return MAPI_E_FAILURE;
    }
}

ULONG mapiLogon(LHANDLE, const char*, const char*, FLAGS, ULONG, LHANDLE* session) {
    if (!session) {
        return MAPI_E_FAILURE;
    }
    const std::string folder = outboxFolder();
    if (folder.empty()) {
        return MAPI_E_LOGIN_FAILURE;
    }
    ServiceState& service = state();
    std::lock_guard guard(service.lock);
    *session = service.nextSession++;
    service.sessions[*session] = folder;
    return SUCCESS_SUCCESS;
}

ULONG mapiSendMail(LHANDLE session, LHANDLE, const MapiMessage* message, FLAGS, ULONG) {
    std::string folder;
    {
        ServiceState& service = state();
        std::lock_guard guard(service.lock);
        const auto found = service.sessions.find(session);
        if (found == service.sessions.end()) {
            return MAPI_E_INVALID_SESSION;
        }
        folder = found->second;
    }
    if (!message || (message->recipCount > 0 && !message->recips) ||
        (message->fileCount > 0 && !message->files)) {
        return MAPI_E_INVALID_MESSAGE;
    }
    MailContent content;
    content.subject = textOf(message->subject);
    content.noteText = textOf(message->noteText);
    ULONG result = collectRecipients(*message, content);
    if (result == SUCCESS_SUCCESS) {
        result = collectAttachments(*message, content);
    }
    if (result != SUCCESS_SUCCESS) {
        return result;
    }
    const std::string token = newMessageToken();
    const std::string stored =
        storeMessage(folder, composeMimeMessage(content, std::time(nullptr), token), token);
    return stored.empty() ? storeFailure(errno) : SUCCESS_SUCCESS;
}

ULONG mapiLogoff(LHANDLE session, LHANDLE, FLAGS, ULONG) {
    ServiceState& service = state();
    std::lock_guard guard(service.lock);
    return service.sessions.erase(session) == 1 ? SUCCESS_SUCCESS : MAPI_E_INVALID_SESSION;
}

ULONG mapiResolveName(LHANDLE, LHANDLE, const char* name, FLAGS, ULONG, MapiRecipDesc** recip) {
    if (!recip) {
        return MAPI_E_FAILURE;
    }
    *recip = nullptr;
    if (!name || !isMailAddress(name)) {
        return MAPI_E_UNKNOWN_RECIPIENT;
    }
    auto resolved = std::make_unique<ResolvedRecipient>();
    resolved->text = name;
    resolved->descriptor.recipClass = MAPI_TO;
    resolved->descriptor.name = resolved->text.c_str();
    resolved->descriptor.address = resolved->text.c_str();
    MapiRecipDesc* descriptor = &resolved->descriptor;
    ServiceState& service = state();
    std::lock_guard guard(service.lock);
    service.resolved[descriptor] = std::move(resolved);
    *recip = descriptor;
    return SUCCESS_SUCCESS;
}

ULONG mapiFreeBuffer(void* memory) {
    ServiceState& service = state();
    std::lock_guard guard(service.lock);
    return service.resolved.erase(memory) == 1 ? SUCCESS_SUCCESS : MAPI_E_FAILURE;
}

}  // namespace

void* mapiEntryPoint(std::string_view name) {
    struct Entry {
        std::string_view name;
        void* address;
    };
    static const Entry kEntries[] = {
        {"MAPILogon", reinterpret_cast<void*>(&mapiLogon)},
        {"MAPISendMail", reinterpret_cast<void*>(&mapiSendMail)},
        {"MAPILogoff", reinterpret_cast<void*>(&mapiLogoff)},
        {"MAPIResolveName", reinterpret_cast<void*>(&mapiResolveName)},
        {"MAPIFreeBuffer", reinterpret_cast<void*>(&mapiFreeBuffer)},
    };
    for (const Entry& entry : kEntries) {
        if (entry.name == name) {
            return entry.address;
        }
    }
    return nullptr;
}

}  // namespace platform::mail
