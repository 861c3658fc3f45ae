// One mail message handed to the simple mail service: sender, recipients, attached files,
// subject and note text, all as UTF-8 texts (the system's narrow code page).
//
// The service's library ("mapi32.dll") is loaded when the first entry is added or at
// Send(); without it the entries are dropped and Send() gives 0. Every To entry is sent,
// each resolved through the service when it knows the name and as given otherwise.
//
// Contract: one object per thread; never throws. The library is released with the object.
#pragma once

#include <string>
#include <vector>

#include "platform/mail/mail_library.h"
#include "platform/mail/simple_mapi.h"

namespace addon {

class CMailMsg {
  public:
    CMailMsg() = default;
    CMailMsg(const CMailMsg&) = delete;
    CMailMsg& operator=(const CMailMsg&) = delete;

    void SetFrom(const std::string& address, const std::string& name);
    void AddTo(const std::string& address, const std::string& name);
    void AttachFile(const std::string& path, const std::string& name);
    void SetSubject(const std::string& text) { subject_ = text; }
    void SetMessage(const std::string& text) { message_ = text; }

    // 1 sent, -1 cancelled by the user, 0 any other failure.
    int Send();
    bool SendSucceeded() const { return lastResult_ == 1; }

  private:
    struct Entry {
        std::string first;
        std::string second;
    };

    bool loadSimpleMail();
    // The descriptor of `entry`: resolved by its name when the service knows it (kept in
    // `resolved` for freeing), else the entry's own name and address.
    platform::mail::MapiRecipDesc describe(platform::mail::LHANDLE session, const Entry& entry,
                                           platform::mail::ULONG recipClass,
                                           std::vector<platform::mail::MapiRecipDesc*>& resolved);

    std::vector<Entry> from_;
    std::vector<Entry> to_;
    // Path and display name of each file.
    std::vector<Entry> attachments_;
    std::string subject_;
    std::string message_;
    int lastResult_ = 0;

    platform::mail::MailLibrary library_;
    bool usable_ = false;
    platform::mail::MapiLogonFunction* logon_ = nullptr;
    platform::mail::MapiSendMailFunction* sendMail_ = nullptr;
    platform::mail::MapiLogoffFunction* logoff_ = nullptr;
    platform::mail::MapiResolveNameFunction* resolveName_ = nullptr;
    platform::mail::MapiFreeBufferFunction* freeBuffer_ = nullptr;
};

}  // namespace addon
