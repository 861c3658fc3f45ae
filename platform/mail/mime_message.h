// A mail message as the outbox stores it: a standard MIME message (multipart/mixed) with
// the note text as its first part and each attachment base64-encoded after it.
//
// Contract: a pure function over the record, thread-safe. The caller checks the addresses
// (isMailAddress); texts are UTF-8.
#pragma once

#include <ctime>
#include <string>
#include <vector>

namespace platform::mail {

struct Mailbox {
    std::string name;
    std::string address;
};

struct MailAttachment {
    std::string fileName;
    std::string contentType;
    std::string bytes;
};

struct MailContent {
    Mailbox from;
    std::vector<Mailbox> to;
    std::vector<Mailbox> cc;
    // Kept in the stored message for the sending agent, which removes it when it sends.
    std::vector<Mailbox> bcc;
    std::string subject;
    std::string noteText;
    std::vector<MailAttachment> attachments;
};

// The whole message with CRLF line ends. `token` (letters and digits) makes the part
// boundary and the message id unique.
std::string composeMimeMessage(const MailContent& content, std::time_t date,
                               const std::string& token);

}  // namespace platform::mail
