#include "platform/mail/mime_message.h"

#include <cstdio>

#include "platform/mail/mime_encoding.h"
#include "platform/text/utf.h"

namespace platform::mail {
namespace {

std::string rfc5322Date(std::time_t date) {
    std::tm parts{};
    gmtime_r(&date, &parts);
    static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char text[64];
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d +0000", kDays[parts.tm_wday],
                  parts.tm_mday, kMonths[parts.tm_mon], parts.tm_year + 1900, parts.tm_hour,
                  parts.tm_min, parts.tm_sec);
    return text;
}

// "<name>: a,\r\n b" with one mailbox per line.
std::string addressHeader(const char* name, const std::vector<Mailbox>& boxes) {
    std::string out = std::string(name) + ": ";
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (i > 0) {
            out += ",\r\n ";
        }
        out += formatMailbox(boxes[i].name, boxes[i].address);
    }
    return out + "\r\n";
}

std::string domainOf(const std::string& address) {
    const std::size_t at = address.find('@');
    return at == std::string::npos ? "localhost" : address.substr(at + 1);
}

std::string textPart(const std::string& noteText) {
    return "Content-Type: text/plain; charset=UTF-8\r\n"
           "Content-Transfer-Encoding: base64\r\n\r\n" +
           base64Lines(noteText);
}

// Text files name their character set, so a reader does not guess it: UTF-8 when their
// bytes are UTF-8 (all the files the program writes are).
std::string contentTypeOf(const MailAttachment& attachment) {
    const std::string& type = attachment.contentType;
    if (type.starts_with("text/") && type.find("charset") == std::string::npos &&
        platform::text::isValidUtf8(attachment.bytes))
        return type + "; charset=UTF-8";
    return type;
}

std::string attachmentPart(const MailAttachment& attachment) {
    return "Content-Type: " + contentTypeOf(attachment) +
           "\r\n"
           "Content-Transfer-Encoding: base64\r\n"
           "Content-Disposition: attachment" +
           fileNameParameter(attachment.fileName) + "\r\n\r\n" + base64Lines(attachment.bytes);
}

}  // namespace

std::string composeMimeMessage(const MailContent& content, std::time_t date,
                               const std::string& token) {
    // "=_" never occurs in base64 text, so no part can hold the boundary line.
    const std::string boundary = "=_part_" + token;
    std::string out = "Date: " + rfc5322Date(date) + "\r\n";
    out += addressHeader("From", {content.from});
    if (!content.to.empty()) {
        out += addressHeader("To", content.to);
    }
    if (!content.cc.empty()) {
        out += addressHeader("Cc", content.cc);
    }
    if (!content.bcc.empty()) {
        out += addressHeader("Bcc", content.bcc);
    }
    out += "Subject: " + headerText(content.subject, 9) + "\r\n";
    out += "Message-ID: <" + token + "@" + domainOf(content.from.address) + ">\r\n";
    out += "MIME-Version: 1.0\r\n";
    out += "Content-Type: multipart/mixed;\r\n boundary=\"" + boundary + "\"\r\n\r\n";
    out += "--" + boundary + "\r\n" + textPart(content.noteText);
    for (const MailAttachment& attachment : content.attachments) {
        out += "--" + boundary + "\r\n" + attachmentPart(attachment);
    }
    out += "--" + boundary + "--\r\n";
    return out;
}

}  // namespace platform::mail
