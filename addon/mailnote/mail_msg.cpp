#include "addon/mailnote/mail_msg.h"

namespace addon {

using namespace platform::mail;

bool CMailMsg::loadSimpleMail() {
    if (usable_) {
        return true;
    }
    if (!library_.isLoaded() && !library_.load(L"mapi32.dll")) {
        return false;
    }
    logon_ = reinterpret_cast<MapiLogonFunction*>(library_.procAddress("MAPILogon"));
    sendMail_ = reinterpret_cast<MapiSendMailFunction*>(library_.procAddress("MAPISendMail"));
    logoff_ = reinterpret_cast<MapiLogoffFunction*>(library_.procAddress("MAPILogoff"));
    resolveName_ =
        reinterpret_cast<MapiResolveNameFunction*>(library_.procAddress("MAPIResolveName"));
    freeBuffer_ = reinterpret_cast<MapiFreeBufferFunction*>(library_.procAddress("MAPIFreeBuffer"));
    usable_ = logon_ && sendMail_ && logoff_;
    return usable_;
}

void CMailMsg::SetFrom(const std::string& address, const std::string& name) {
    if (loadSimpleMail()) {
        from_.push_back({name, address});
    }
}

void CMailMsg::AddTo(const std::string& address, const std::string& name) {
    if (loadSimpleMail()) {
        to_.push_back({name, address});
    }
}

void CMailMsg::AttachFile(const std::string& path, const std::string& name) {
    if (loadSimpleMail()) {
        attachments_.push_back({path, name});
    }
}

MapiRecipDesc CMailMsg::describe(LHANDLE session, const Entry& entry, ULONG recipClass,
                                 std::vector<MapiRecipDesc*>& resolved) {
    MapiRecipDesc* found = nullptr;
    if (resolveName_ && freeBuffer_ &&
        resolveName_(session, 0, entry.first.c_str(), 0, 0, &found) == SUCCESS_SUCCESS && found) {
        resolved.push_back(found);
        MapiRecipDesc descriptor = *found;
        descriptor.recipClass = recipClass;
        return descriptor;
    }
    MapiRecipDesc descriptor;
    descriptor.recipClass = recipClass;
    descriptor.name = entry.first.c_str();
    descriptor.address = entry.second.c_str();
    return descriptor;
}

int CMailMsg::Send() {
    lastResult_ = 0;
    if (!loadSimpleMail()) {
        return lastResult_;
    }
    LHANDLE session = 0;
    if (logon_(0, nullptr, nullptr, MAPI_LOGON_UI | MAPI_NEW_SESSION, 0, &session) !=
        SUCCESS_SUCCESS) {
        return lastResult_;
    }
    std::vector<MapiRecipDesc*> resolved;
    MapiRecipDesc originator;
    if (!from_.empty()) {
        originator = describe(session, from_.front(), MAPI_ORIG, resolved);
    }
    std::vector<MapiRecipDesc> recipients;
    for (const Entry& entry : to_) {
        recipients.push_back(describe(session, entry, MAPI_TO, resolved));
    }
    std::vector<MapiFileDesc> files;
    for (const Entry& attachment : attachments_) {
        MapiFileDesc file;
        file.pathName = attachment.first.c_str();
        file.fileName = attachment.second.c_str();
        files.push_back(file);
    }
    MapiMessage message;
    message.subject = subject_.c_str();
    message.noteText = message_.c_str();
    message.originator = from_.empty() ? nullptr : &originator;
    message.recipCount = static_cast<ULONG>(recipients.size());
    message.recips = recipients.data();
    message.fileCount = static_cast<ULONG>(files.size());
    message.files = files.data();
    const ULONG result = sendMail_(session, 0, &message, MAPI_DIALOG, 0);
    logoff_(session, 0, 0, 0);
    for (MapiRecipDesc* descriptor : resolved) {
        freeBuffer_(descriptor);
    }
    lastResult_ = result == SUCCESS_SUCCESS ? 1 : result == MAPI_USER_ABORT ? -1 : 0;
    return lastResult_;
}

}  // namespace addon
