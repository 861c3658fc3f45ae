#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/mail/mail_library.h"
#include "platform/mail/simple_mapi.h"
#include "platform/mail/tests/eml_check.h"
#include "testing/environment/temporary_home.h"

using namespace platform::mail;
namespace fs = std::filesystem;

namespace {

class SimpleMail : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(library.load(L"MAPI32.DLL"));
        logon = reinterpret_cast<MapiLogonFunction*>(library.procAddress("MAPILogon"));
        sendMail = reinterpret_cast<MapiSendMailFunction*>(library.procAddress("MAPISendMail"));
        logoff = reinterpret_cast<MapiLogoffFunction*>(library.procAddress("MAPILogoff"));
        resolveName =
            reinterpret_cast<MapiResolveNameFunction*>(library.procAddress("MAPIResolveName"));
        freeBuffer =
            reinterpret_cast<MapiFreeBufferFunction*>(library.procAddress("MAPIFreeBuffer"));
        ASSERT_TRUE(logon && sendMail && logoff && resolveName && freeBuffer);
        attachment = home.root() / "Caf\xc3\xa9 menu.html";
        std::ofstream(attachment, std::ios::binary) << "<html><body>\xe2\x82\xac 5</body></html>\n";
    }

    fs::path outbox() const { return home.dataHome() / "Olvan/Tamrix/outbox"; }

    // Sends from "from@example.org" to `to` with the attachment; the MAPI result.
    ULONG send(const char* to, const char* subject, const char* path) {
        LHANDLE session = 0;
        EXPECT_EQ(logon(0, nullptr, nullptr, MAPI_LOGON_UI | MAPI_NEW_SESSION, 0, &session),
                  SUCCESS_SUCCESS);
        MapiRecipDesc from;
        from.recipClass = MAPI_ORIG;
        from.name = "Zo\xc3\xab Sender";
        from.address = "SMTP:from@example.org";
        MapiRecipDesc recipient;
        recipient.address = to;
        MapiFileDesc file;
        file.pathName = path;
        MapiMessage message;
        message.subject = subject;
        message.noteText = "See the page.";
        message.originator = &from;
        message.recipCount = 1;
        message.recips = &recipient;
        message.fileCount = 1;
        message.files = &file;
        const ULONG result = sendMail(session, 0, &message, MAPI_DIALOG, 0);
        EXPECT_EQ(logoff(session, 0, 0, 0), SUCCESS_SUCCESS);
        return result;
    }

    testing_environment::TemporaryHome home;
    MailLibrary library;
    MapiLogonFunction* logon = nullptr;
    MapiSendMailFunction* sendMail = nullptr;
    MapiLogoffFunction* logoff = nullptr;
    MapiResolveNameFunction* resolveName = nullptr;
    MapiFreeBufferFunction* freeBuffer = nullptr;
    fs::path attachment;
};

}  // namespace

TEST(MailLibraryLoading, OnlyTheSimpleMailLibraryLoadsAndOnlyItsEntryPointsExist) {
    MailLibrary library;
    EXPECT_FALSE(library.load(L"mapi33.dll"));
    EXPECT_EQ(library.procAddress("MAPILogon"), nullptr);
    ASSERT_TRUE(library.load(L"mapi32.dll"));
    EXPECT_NE(library.procAddress("MAPISendMail"), nullptr);
    EXPECT_EQ(library.procAddress("MAPISendDocuments"), nullptr);
    EXPECT_EQ(library.procAddress("mapilogon"), nullptr);
    library.free();
    EXPECT_EQ(library.procAddress("MAPISendMail"), nullptr);
}

TEST_F(SimpleMail, ASentMessageIsAWellFormedMimeFileInTheOutbox) {
    if (!mail_testing::havePython()) {
        GTEST_SKIP() << "python3 with its email module is not installed";
    }
    const std::string subject =
        "Caf\xc3\xa9 menu \xe2\x80\x94 a long subject line that has to be "
        "folded over more than one line of the header";
    ASSERT_EQ(send("to@example.net", subject.c_str(), attachment.c_str()), SUCCESS_SUCCESS);
    const auto stored = mail_testing::storedMessages(outbox());
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(mail_testing::checkStoredMessage(
                  stored[0], {"from=from@example.org", "from-name=Zo\xc3\xab Sender",
                              "to=to@example.net", "subject=" + subject, "body=See the page.",
                              "attachment=Caf\xc3\xa9 menu.html|text/html|" + attachment.string(),
                              "absent=Bcc"}),
              0);
    // Nothing but finished messages is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(outbox()), fs::directory_iterator()), 1);

    // A second message gets a file of its own.
    ASSERT_EQ(send("to@example.net", "Second", attachment.c_str()), SUCCESS_SUCCESS);
    EXPECT_EQ(mail_testing::storedMessages(outbox()).size(), 2u);
}

TEST_F(SimpleMail, TextsThatTryToAddHeadersStayInsideTheirOwn) {
    if (!mail_testing::havePython()) {
        GTEST_SKIP() << "python3 with its email module is not installed";
    }
    ASSERT_EQ(send("to@example.net", "Hi\r\nBcc: spy@example.com", attachment.c_str()),
              SUCCESS_SUCCESS);
    const auto stored = mail_testing::storedMessages(outbox());
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(mail_testing::checkStoredMessage(
                  stored[0], {"to=to@example.net", "subject=Hi\r\nBcc: spy@example.com",
                              "attachment=Caf\xc3\xa9 menu.html|text/html|" + attachment.string(),
                              "absent=Bcc"}),
              0);
    // An address that tries the same is refused as a whole.
    EXPECT_EQ(send("to@example.net>\r\nBcc: spy@example.com", "Hi", attachment.c_str()),
              MAPI_E_INVALID_RECIPS);
}

TEST_F(SimpleMail, FailuresAreReportedAndLeaveNoMessage) {
    EXPECT_EQ(send("", "No recipient", attachment.c_str()), MAPI_E_INVALID_RECIPS);
    EXPECT_EQ(send("to@example.net", "Gone", (home.root() / "missing.html").c_str()),
              MAPI_E_ATTACHMENT_NOT_FOUND);
    EXPECT_EQ(send("to@example.net", "Folder", home.root().c_str()),
              MAPI_E_ATTACHMENT_OPEN_FAILURE);
    EXPECT_TRUE(mail_testing::storedMessages(outbox()).empty());

    // An outbox that cannot be made: a file stands where the folder belongs.
    fs::create_directories(outbox().parent_path());
    std::ofstream(outbox()) << "not a folder";
    EXPECT_NE(send("to@example.net", "Blocked", attachment.c_str()), SUCCESS_SUCCESS);
    EXPECT_TRUE(fs::is_regular_file(outbox()));

    // A session that was never opened, or is closed already.
    MapiMessage message;
    EXPECT_EQ(sendMail(987654, 0, &message, 0, 0), MAPI_E_INVALID_SESSION);
    EXPECT_EQ(logoff(987654, 0, 0, 0), MAPI_E_INVALID_SESSION);
}

TEST_F(SimpleMail, OnlyAddressesResolveAndTheirDescriptorsAreFreedOnce) {
    MapiRecipDesc* resolved = nullptr;
    EXPECT_EQ(resolveName(0, 0, "Nobody Known", 0, 0, &resolved), MAPI_E_UNKNOWN_RECIPIENT);
    EXPECT_EQ(resolved, nullptr);
    ASSERT_EQ(resolveName(0, 0, "ann@example.org", 0, 0, &resolved), SUCCESS_SUCCESS);
    ASSERT_NE(resolved, nullptr);
    EXPECT_STREQ(resolved->address, "ann@example.org");
    EXPECT_EQ(freeBuffer(resolved), SUCCESS_SUCCESS);
    EXPECT_EQ(freeBuffer(resolved), MAPI_E_FAILURE);
    int notOurs = 0;
    EXPECT_EQ(freeBuffer(&notOurs), MAPI_E_FAILURE);
}
