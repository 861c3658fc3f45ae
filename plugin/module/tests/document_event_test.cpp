#include <gtest/gtest.h>

#include "host_windows.h"
#include "platform/dom/document.h"
#include "platform/dom/element.h"
#include "platform/dom/events/event.h"
#include "platform/text/utf.h"
#include "plugin/module/host_messages.h"
#include "plugin/module/tamrix_plugin.h"
#include "plugin/repository/repository.h"
#include "testing/environment/temporary_home.h"

namespace {

class DocumentEventTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto file = home_.root() / "tamrix.db";
        ASSERT_EQ(plugin::OpenRepository(platform::text::fromUtf8(file.string())), 0);
        plugin::EntryRecord record;
        record.url = L"http://example.org/it's/page";
        guid_ = plugin::insertEntry(record);
        ASSERT_FALSE(guid_.empty());
        page_ = platform::dom::Document::parse(
            L"<ul><li path='@item/" + guid_.substr(0, 8) +
            L"'><b id='entry'>x</b><input id='field'></li>"
            L"<li path='@item/nosuchid'><b id='gone'>y</b></li>"
            L"<li path='@folder/Inbox'><b id='folder'>z</b></li></ul><p id='loose'>w</p>");
    }
    void TearDown() override { plugin::closeRepository(); }

    int deliver(platform::dom::Event& event, const std::wstring& id) {
        event.srcElement = page_->getElementById(id);
        bool handled = false;
        const int result = plugin_.OnDocumentEvent(event, &handled);
        EXPECT_FALSE(handled);
        return result;
    }

    testing_environment::TemporaryHome home_;
    HostWindows windows_{L"LorvaneClient"};
    plugin::TamrixPlugin plugin_{windows_.page, nullptr};
    std::wstring guid_;
    std::shared_ptr<platform::dom::Document> page_;
};

}  // namespace

TEST_F(DocumentEventTest, MouseOverAnEntryShowsItsAddressAndNothingElseDoes) {
    EXPECT_TRUE(plugin_.HasEvent(L"OnDocumentEvent"));
    platform::dom::Event over;
    over.type = L"mouseover";
    EXPECT_EQ(deliver(over, L"entry"), 0);
    ASSERT_EQ(windows_.received.size(), 1u);
    EXPECT_EQ(*plugin::readStatusRecord(windows_.received[0].bytes),
              L"Tamrix: http://example.org/it's/page");

    EXPECT_EQ(deliver(over, L"gone"), -1);
    EXPECT_EQ(deliver(over, L"folder"), -1);
    EXPECT_EQ(deliver(over, L"loose"), -1);
    EXPECT_EQ(deliver(over, L"field"), 1);
    EXPECT_EQ(windows_.received.size(), 1u);
    EXPECT_FALSE(over.cancelBubble);

    platform::dom::Event noSource;
    noSource.type = L"mouseover";
    bool handled = false;
    EXPECT_EQ(plugin_.OnDocumentEvent(noSource, &handled), -1);
}

TEST_F(DocumentEventTest, DragLeaveIsStoppedAndOtherEventsPassUntouched) {
    platform::dom::Event leave;
    leave.type = L"dragleave";
    EXPECT_EQ(deliver(leave, L"loose"), 0);
    EXPECT_TRUE(leave.cancelBubble);
    EXPECT_TRUE(leave.defaultPrevented());

    platform::dom::Event click;
    click.type = L"click";
    EXPECT_EQ(deliver(click, L"entry"), 0);
    EXPECT_FALSE(click.cancelBubble);
    EXPECT_FALSE(click.defaultPrevented());
    EXPECT_TRUE(windows_.received.empty());
}
