#include "addon/mailnote/send_by_email.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <vector>

#include "addon/mailnote/address_list.h"
#include "addon/mailnote/mail_msg.h"
#include "addon/mailnote/tests/send_fixture.h"
#include "addon/window/window_operations.h"
#include "common/util/registry_string.h"
#include "platform/mail/tests/eml_check.h"
#include "platform/system/process.h"
#include "platform/system/write_failure.h"

using namespace addon;
namespace fs = std::filesystem;

namespace {

void setSetting(const std::wstring& path, const std::wstring& text) {
    common::registry_string<std::wstring> value(L"Software\\Olvan\\Tamrix" + path,
                                                platform::registry::HKEY_CURRENT_USER, L"", 1);
    value = text;
}

class MailCommand : public mailnote_testing::SendFixture {
  protected:
    fs::path outbox() const { return home.dataHome() / "Olvan/Tamrix/outbox"; }
    fs::path temporaryFolder() const { return home.cacheHome() / "Olvan/Temp"; }

    // The files left in the user's temporary folder (the process's lock file aside) and in
    // the system's.
    std::vector<fs::path> leftovers() const {
        std::vector<fs::path> found;
        for (const fs::path& folder : {temporaryFolder(), home.root() / "tmp"}) {
            std::error_code error;
            for (const auto& entry : fs::recursive_directory_iterator(folder, error))
                if (entry.is_regular_file() && entry.path().filename() != "lock")
                    found.push_back(entry.path());
        }
        return found;
    }

    // A part of the stored message, as Python's MIME parser reads it (`part` is an
    // expression of the message `m`), written to a file of the test's as UTF-8.
    fs::path partOf(const fs::path& message, const std::string& part,
                    const std::string& fileName) const {
        const fs::path file = home.root() / fileName;
        platform::system::runProcess({"python3", "-c",
                                      "import email, email.policy, sys\n"
                                      "m = email.message_from_binary_file(open(sys.argv[1], 'rb'), "
                                      "policy=email.policy.default)\n"
                                      "open(sys.argv[2], 'wb').write((" +
                                          part + ").get_content().encode())",
                                      message.string(), file.string()},
                                     std::chrono::seconds(60));
        return file;
    }
    // The first attachment of the stored message, in a file.
    fs::path attachmentOf(const fs::path& message) const {
        return partOf(message, "next(m.iter_attachments())", "attachment");
    }
    // The text of the stored message's text/plain part.
    std::string plainTextOf(const fs::path& message) const {
        std::ifstream in(partOf(message, "m.get_body(preferencelist=('plain',))", "plain-text"),
                         std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
};

}  // namespace

TEST_F(MailCommand, ThePageGoesAsAnHtmlAttachmentToTheConfiguredAddress) {
    if (!mail_testing::havePython()) {
        GTEST_SKIP() << "python3 with its email module is not installed";
    }
    setSetting(L"\\Mail\\From", L"me@example.org");
    setSetting(L"\\Mail\\To", L"friend@example.net");
    setSetting(L"\\Mail\\Kindle-From", L"me@example.org");
    setSetting(L"\\Mail\\Kindle-To", L"reader@device.example");
    const int window = openTab();
    selectElement(L"second");

    EXPECT_EQ(sendByEmail(window, L"\\Mail\\From", L"\\Mail\\To"), 2);
    EXPECT_TRUE(messages.empty());
    // The readable page of the selection was undone again.
    EXPECT_FALSE(canUndo(window));
    EXPECT_TRUE(hasElementSelection(window));
    auto stored = mail_testing::storedMessages(outbox());
    ASSERT_EQ(stored.size(), 1u);
    // The page went only through the user's own folder, and is gone now it was sent.
    EXPECT_EQ(leftovers(), std::vector<fs::path>{});
    const fs::path sentPage = attachmentOf(stored[0]);
    EXPECT_EQ(mail_testing::checkStoredMessage(
                  stored[0], {"from=me@example.org", "to=friend@example.net", "subject=First.html",
                              "attachment=First.html|text/html|" + sentPage.string()}),
              0);
    std::ifstream in(sentPage);
    const std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(html.starts_with("<html><head><meta http-equiv=\"Content-Type\""));
    EXPECT_NE(html.find("Second"), std::string::npos);
    EXPECT_EQ(html.find('\r'), std::string::npos);
    // The message's own text is the clip's text.
    const std::string text = plainTextOf(stored[0]);
    EXPECT_NE(text.find("Second"), std::string::npos) << text;
    EXPECT_EQ(text.find("Third"), std::string::npos) << text;

    EXPECT_EQ(sendByEmail(window, L"\\Mail\\Kindle-From", L"\\Mail\\Kindle-To"), 2);
    stored = mail_testing::storedMessages(outbox());
    ASSERT_EQ(stored.size(), 2u);
    const int kindle =
        mail_testing::checkStoredMessage(stored[0], {"to=reader@device.example"}) == 0
            ? 0
            : mail_testing::checkStoredMessage(stored[1], {"to=reader@device.example"});
    EXPECT_EQ(kindle, 0);
}

TEST_F(MailCommand, EveryFailureShowsItsMessageAndSendsNothing) {
    const int window = openTab();
    EXPECT_EQ(sendByEmail(window + 1, L"\\Mail\\From", L"\\Mail\\To"), 1);
    EXPECT_TRUE(messages.empty());

    // No addresses configured.
    EXPECT_EQ(sendByEmail(window, L"\\Mail\\From", L"\\Mail\\To"), 2);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], L"Can't send by Email, Please check email client setting.");

    // An outbox that cannot be written.
    setSetting(L"\\Mail\\From", L"me@example.org");
    setSetting(L"\\Mail\\To", L"friend@example.net");
    fs::create_directories(outbox().parent_path());
    std::ofstream(outbox()) << "in the way";
    EXPECT_EQ(sendByEmail(window, L"\\Mail\\From", L"\\Mail\\To"), 2);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1], L"Can't send by Email, Please check email client setting.");
    fs::remove(outbox());
    // A mail that was not sent leaves no page behind either.
    EXPECT_EQ(leftovers(), std::vector<fs::path>{});

    // The page file cannot be written: a file stands where the temporary folder belongs.
    fs::remove_all(temporaryFolder());
    std::ofstream(temporaryFolder()) << "in the way";
    EXPECT_EQ(sendByEmail(window, L"\\Mail\\From", L"\\Mail\\To"), 2);
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[2], L"Can't write the page to the temporary folder for sending by Email: " +
                               platform::system::writeFailureText(ENOTDIR) + L".");
    EXPECT_TRUE(mail_testing::storedMessages(outbox()).empty());
}

TEST_F(MailCommand, EveryRecipientIsSentAndUnknownNamesKeepTheirAddress) {
    if (!mail_testing::havePython()) {
        GTEST_SKIP() << "python3 with its email module is not installed";
    }
    const fs::path file = home.root() / "note.txt";
    std::ofstream(file) << "note";
    CMailMsg message;
    message.SetFrom("me@example.org", "Me Myself");
    message.AddTo("one@example.net", "One");
    message.AddTo("two@example.net", "two@example.net");
    message.SetSubject("Two readers");
    message.AttachFile(file.string(), "note.txt");
    EXPECT_FALSE(message.SendSucceeded());
    EXPECT_EQ(message.Send(), 1);
    EXPECT_TRUE(message.SendSucceeded());
    const auto stored = mail_testing::storedMessages(outbox());
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(mail_testing::checkStoredMessage(
                  stored[0], {"from=me@example.org", "from-name=Me Myself", "to=one@example.net",
                              "to=two@example.net", "subject=Two readers",
                              "attachment=note.txt|text/plain|" + file.string()}),
              0);
}

TEST_F(MailCommand, NamedAndSeveralRecipientsAnUntitledPageAndACharsetOnTheHtmlPart) {
    if (!mail_testing::havePython()) {
        GTEST_SKIP() << "python3 with its email module is not installed";
    }
    setSetting(L"\\Mail\\From", L"\"Doe, Jane\" <jane@example.org>");
    setSetting(L"\\Mail\\To", L"Bob Roe <bob@example.net>; kim@example.net,");
    pages[L"http://news.example/dots.html"] =
        L"<html><head><title>..</title><script>x()</script></head><body><p>Grüße "
        L"<b onclick=\"x()\">bold</b></p></body></html>";
    const int window = openTab(L"http://news.example/dots.html");
    EXPECT_EQ(sendByEmail(window, L"\\Mail\\From", L"\\Mail\\To"), 2);
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(leftovers(), std::vector<fs::path>{});
    const auto stored = mail_testing::storedMessages(outbox());
    ASSERT_EQ(stored.size(), 1u);
    const fs::path page = attachmentOf(stored[0]);
    EXPECT_EQ(mail_testing::checkStoredMessage(
                  stored[0], {"from=jane@example.org", "from-name=Doe, Jane", "to=bob@example.net",
                              "to=kim@example.net", "subject=page.html",
                              "attachment=page.html|text/html|" + page.string()}),
              0);
    std::ifstream eml(stored[0], std::ios::binary);
    const std::string raw((std::istreambuf_iterator<char>(eml)), std::istreambuf_iterator<char>());
    EXPECT_NE(raw.find("Content-Type: text/html; charset=UTF-8\r\n"), std::string::npos);

    // One document: the page's body content in the skeleton, nothing that runs.
    std::ifstream in(page);
    const std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(html.find("<html", 1), std::string::npos) << html;
    EXPECT_EQ(html.find("<body", html.find("<body") + 1), std::string::npos) << html;
    EXPECT_NE(html.find("Grüße"), std::string::npos);
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_EQ(html.find("onclick"), std::string::npos);
}

TEST(AddressList, BareNamedQuotedAndSeveralAddresses) {
    const auto list = [](std::string_view text) {
        std::vector<std::string> found;
        for (const MailAddress& address : parseAddressList(text))
            found.push_back(address.name + "|" + address.address);
        return found;
    };
    EXPECT_EQ(list("jane@x.org"), std::vector<std::string>{"|jane@x.org"});
    EXPECT_EQ(list(" Jane Doe <jane@x.org> "), std::vector<std::string>{"Jane Doe|jane@x.org"});
    EXPECT_EQ(list("\"Doe, Jane\" <jane@x.org>, b@y.org; ;C <c@z.org>"),
              (std::vector<std::string>{"Doe, Jane|jane@x.org", "|b@y.org", "C|c@z.org"}));
    EXPECT_EQ(list("\"Say \\\"hi\\\"\" <q@x.org>"), std::vector<std::string>{"Say \"hi\"|q@x.org"});
    EXPECT_TRUE(list("").empty());
    EXPECT_TRUE(list(" , ;").empty());
    EXPECT_EQ(list("\"unclosed <a@x.org>"), std::vector<std::string>{"\"unclosed|a@x.org"});
}
