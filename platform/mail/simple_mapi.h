// The simple mail service as the mail commands call it: the message records, the result
// and flag codes, and the five entry points, whose addresses a caller takes from the
// library (mail_library.h) by name.
//
// The service behind them has no compose window: MAPISendMail writes the message as a
// standard MIME file into the user's outbox folder (outbox.h), whole or not at all, and
// returns SUCCESS_SUCCESS only when that file is in place. MAPI_DIALOG is accepted and
// changes nothing.
//
// Contract: every entry point is thread-safe and never throws; texts are UTF-8 (the
// "ANSI code page" here) and may be null where a text is optional. A descriptor that
// MAPIResolveName hands out belongs to the caller until it gives it to MAPIFreeBuffer.
#pragma once

#include <cstdint>

namespace platform::mail {

using LHANDLE = std::uintptr_t;
using ULONG = std::uint32_t;
using FLAGS = std::uint32_t;

// Results.
inline constexpr ULONG SUCCESS_SUCCESS = 0;
inline constexpr ULONG MAPI_USER_ABORT = 1;
inline constexpr ULONG MAPI_E_FAILURE = 2;
inline constexpr ULONG MAPI_E_LOGIN_FAILURE = 3;
inline constexpr ULONG MAPI_E_DISK_FULL = 4;
inline constexpr ULONG MAPI_E_ACCESS_DENIED = 6;
inline constexpr ULONG MAPI_E_ATTACHMENT_NOT_FOUND = 11;
inline constexpr ULONG MAPI_E_ATTACHMENT_OPEN_FAILURE = 12;
inline constexpr ULONG MAPI_E_UNKNOWN_RECIPIENT = 14;
inline constexpr ULONG MAPI_E_BAD_RECIPTYPE = 15;
inline constexpr ULONG MAPI_E_INVALID_MESSAGE = 17;
inline constexpr ULONG MAPI_E_INVALID_SESSION = 19;
inline constexpr ULONG MAPI_E_INVALID_RECIPS = 25;

// Recipient classes.
inline constexpr ULONG MAPI_ORIG = 0;
inline constexpr ULONG MAPI_TO = 1;
inline constexpr ULONG MAPI_CC = 2;
inline constexpr ULONG MAPI_BCC = 3;

// Flags of MAPILogon and MAPISendMail.
inline constexpr FLAGS MAPI_LOGON_UI = 0x1;
inline constexpr FLAGS MAPI_NEW_SESSION = 0x2;
inline constexpr FLAGS MAPI_DIALOG = 0x8;

struct MapiRecipDesc {
    ULONG reserved = 0;
    ULONG recipClass = MAPI_TO;
    const char* name = nullptr;
    // "SMTP:" before the address is accepted and dropped.
    const char* address = nullptr;
    ULONG entryIdSize = 0;
    const void* entryId = nullptr;
};

struct MapiFileDesc {
    ULONG reserved = 0;
    ULONG flags = 0;
    ULONG position = 0;
    const char* pathName = nullptr;
    // The name the recipient sees; the path's file name when null or empty.
    const char* fileName = nullptr;
    const void* fileType = nullptr;
};

struct MapiMessage {
    ULONG reserved = 0;
    const char* subject = nullptr;
    const char* noteText = nullptr;
    const char* messageType = nullptr;
    const char* dateReceived = nullptr;
    const char* conversationId = nullptr;
    FLAGS flags = 0;
    const MapiRecipDesc* originator = nullptr;
    ULONG recipCount = 0;
    const MapiRecipDesc* recips = nullptr;
    ULONG fileCount = 0;
    const MapiFileDesc* files = nullptr;
};

// A session on the outbox; MAPI_E_LOGIN_FAILURE when no outbox folder can be determined
// (no user data folder).
using MapiLogonFunction = ULONG(LHANDLE uiParam, const char* profileName, const char* password,
                                FLAGS flags, ULONG reserved, LHANDLE* session);
// Writes the message into the outbox. Needs a sender address and at least one To, Cc or
// Bcc recipient, every address well-formed (MAPI_E_INVALID_RECIPS otherwise), and every
// attachment readable (MAPI_E_ATTACHMENT_NOT_FOUND, MAPI_E_ATTACHMENT_OPEN_FAILURE). An
// outbox that cannot be written gives MAPI_E_ACCESS_DENIED, MAPI_E_DISK_FULL or
// MAPI_E_FAILURE, and no file.
using MapiSendMailFunction = ULONG(LHANDLE session, LHANDLE uiParam, const MapiMessage* message,
                                   FLAGS flags, ULONG reserved);
using MapiLogoffFunction = ULONG(LHANDLE session, LHANDLE uiParam, FLAGS flags, ULONG reserved);
// The service keeps no address book: a name resolves only when it is itself a well-formed
// address (MAPI_E_UNKNOWN_RECIPIENT otherwise); the descriptor then holds it as both name
// and address, with class MAPI_TO.
using MapiResolveNameFunction = ULONG(LHANDLE session, LHANDLE uiParam, const char* name,
                                      FLAGS flags, ULONG reserved, MapiRecipDesc** recip);
// Frees what MAPIResolveName handed out; MAPI_E_FAILURE for memory it did not hand out.
using MapiFreeBufferFunction = ULONG(void* memory);

}  // namespace platform::mail
