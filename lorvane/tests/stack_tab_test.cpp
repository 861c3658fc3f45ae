#include <gtest/gtest.h>

#include "lorvane/custom_stack_tab_ctrl.h"
#include "platform/ui/input_state.h"
#include "platform/ui/window_system.h"
#include "testing/environment/temporary_home.h"

using namespace lorvane;
using platform::ui::toArgb;
using platform::ui::windows;

namespace {

class Tabs : public CustomStackTabCtrl {
  public:
    int OnSettings(Rect button) override {
        settingsClicks.push_back(button);
        return 0;
    }
    void itemSelected(StackTabItem* item) override { selected.push_back(item); }
    std::vector<Rect> settingsClicks;
    std::vector<StackTabItem*> selected;
};

platform::imaging::Bitmap solid(int size, std::uint32_t argb) {
    platform::imaging::Bitmap picture(size, size, platform::imaging::PixelFormat::Argb32);
    picture.fill(argb);
    return picture;
}

class StackTabTest : public ::testing::Test {
  protected:
    void SetUp() override {
        windows().reset();
        clock_ = std::make_shared<platform::ui::ManualClock>();
        windows().setClock(clock_);
        parent_ = windows().createWindow({.className = L"Parent", .rect = {100, 100, 300, 400}});
        tabs_.showCaption = false;
    }
    void TearDown() override { windows().reset(); }

    void create(int count, int largeCount) {
        ASSERT_TRUE(tabs_.Create(parent_, {0, 0, 200, 300}, L"tabs"));
        ImageList large(24, 24), small(16, 16);
        for (int i = 0; i < count; ++i) {
            large.addMasked(solid(24, 0xFF2040C0), 0xFEFFFF);
            small.addMasked(solid(16, 0xFF2040C0), 0xFEFFFF);
        }
        tabs_.SetImageLists(&large, &small, nullptr, nullptr);
        for (int i = 0; i < count; ++i) {
            const HWND page =
                windows().createWindow({.className = L"Page", .parent = tabs_.window()});
            pages_.push_back(page);
            tabs_.AddItem(page, L"Page " + std::to_wstring(i), i, i);
        }
        tabs_.SetLargeCount(largeCount);
        tabs_.UpdateLayout();
    }
    StackTabItem* item(int index) { return tabs_.items()[static_cast<std::size_t>(index)].get(); }
    LRESULT send(UINT id, int x, int y, platform::ui::WPARAM wParam = 0) {
        return windows().send(tabs_.window(), id, wParam, pointParam(x, y));
    }
    void click(Point at) {
        send(WM_LBUTTONDOWN, at.x, at.y);
        send(WM_LBUTTONUP, at.x, at.y);
    }
    static Point centre(const Rect& rect) {
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    std::shared_ptr<platform::ui::ManualClock> clock_;
    HWND parent_;
    Tabs tabs_;
    std::vector<HWND> pages_;
};

TEST_F(StackTabTest, ArrangementZeroStacksPageSplitterButtonsAndIconRowFromTheBottom) {
    create(3, 2);
    EXPECT_EQ(tabs_.iconRowRect(), (Rect{0, 270, 178, 300}));
    EXPECT_EQ(tabs_.settingsRect(), (Rect{178, 270, 200, 300}));
    EXPECT_EQ(tabs_.buttonsRect(), (Rect{0, 208, 200, 270}));
    EXPECT_EQ(item(0)->rect, (Rect{0, 208, 200, 239}));
    EXPECT_EQ(item(1)->rect, (Rect{0, 239, 200, 270}));
    EXPECT_EQ(tabs_.splitterRect(), (Rect{0, 201, 200, 208}));
    EXPECT_EQ(tabs_.pageRect(), (Rect{0, 0, 200, 201}));
    EXPECT_EQ(item(2)->rect, (Rect{156, 270, 178, 300})) << "packed against the settings button";
    ASSERT_EQ(tabs_.toolTips().size(), 1u);
    EXPECT_EQ(tabs_.toolTips()[0].text, item(2)->caption);

    // The first item is active: its window fills the page, the others are hidden.
    EXPECT_EQ(tabs_.active(), item(0));
    EXPECT_EQ(windows().placement(pages_[0]), (Rect{0, 0, 200, 201}));
    EXPECT_TRUE(windows().isVisible(pages_[0]));
    EXPECT_FALSE(windows().isVisible(pages_[1]));

    tabs_.iconsFromLeft = true;
    tabs_.layout = 3;
    tabs_.UpdateLayout();
    EXPECT_EQ(item(0)->rect, (Rect{0, 0, 200, 31}));
    EXPECT_EQ(tabs_.iconRowRect(), (Rect{0, 62, 178, 92}));
    EXPECT_EQ(item(2)->rect, (Rect{0, 62, 22, 92}));
    EXPECT_EQ(tabs_.pageRect(), (Rect{0, 99, 200, 300}));
}

TEST_F(StackTabTest, WithoutSettingsButtonTheEmptyIconRowGoesWithTheLastSeparator) {
    tabs_.showSettingsButton = false;
    tabs_.hideEmptyIconRow = true;
    create(3, 3);
    EXPECT_FALSE(tabs_.iconRowShown());
    EXPECT_EQ(tabs_.buttonsRect(), (Rect{0, 208, 200, 300}));
    EXPECT_EQ(item(2)->rect, (Rect{0, 270, 200, 300}));

    tabs_.layout = 2;
    tabs_.UpdateLayout();
    EXPECT_EQ(item(0)->rect, (Rect{0, 0, 200, 31}));
    EXPECT_EQ(item(1)->rect, (Rect{0, 30, 200, 61})) << "separators fall between the buttons";

    tabs_.SetLargeCount(1);
    tabs_.UpdateLayout();
    EXPECT_TRUE(tabs_.iconRowShown());
}

TEST_F(StackTabTest, DraggingTheSplitterMovesItemsBetweenButtonsAndIconRow) {
    create(4, 1);
    const Rect splitter = tabs_.splitterRect();
    const int screenY = 100 + splitter.top + 2;
    EXPECT_EQ(send(WM_NCHITTEST, 150, screenY), HTSPLITTER);
    EXPECT_EQ(send(WM_NCHITTEST, 150, 110), HTCLIENT);
    EXPECT_EQ(windows().send(tabs_.window(), WM_SETCURSOR, 0, HTSPLITTER), 1);
    EXPECT_EQ(tabs_.cursor(), CursorShape::sizeNorthSouth);

    send(WM_NCLBUTTONDOWN, 150, screenY, HTSPLITTER);
    // 2.5 button pitches up: three more large buttons (rounded), no more than exist.
    send(WM_MOUSEMOVE, 50, splitter.top + 2 - 78);
    EXPECT_EQ(tabs_.largeCount(), 4);
    send(WM_MOUSEMOVE, 50, splitter.top + 2 + 500);
    EXPECT_EQ(tabs_.largeCount(), 0);
    send(WM_LBUTTONUP, 50, 0);
    EXPECT_FALSE(tabs_.hasCapture());
    EXPECT_TRUE(tabs_.selected.empty());

    send(WM_NCLBUTTONDBLCLK, 150, 100 + tabs_.splitterRect().top, HTSPLITTER);
    EXPECT_EQ(tabs_.largeCount(), 4);
    send(WM_NCLBUTTONDBLCLK, 150, 100 + tabs_.splitterRect().top, HTSPLITTER);
    EXPECT_EQ(tabs_.largeCount(), 0);

    tabs_.splitterEnabled = false;
    send(WM_NCLBUTTONDBLCLK, 150, 100 + tabs_.splitterRect().top, HTSPLITTER);
    EXPECT_EQ(tabs_.largeCount(), 0);
}

TEST_F(StackTabTest, ClicksSelectOtherItemsAndTheSettingsButton) {
    create(3, 2);
    click(centre(item(0)->rect));
    EXPECT_TRUE(tabs_.selected.empty()) << "the active item is not selected again";

    send(WM_LBUTTONDOWN, 10, item(1)->rect.top + 5);
    send(WM_LBUTTONUP, 10, item(0)->rect.top + 5);
    EXPECT_TRUE(tabs_.selected.empty()) << "pressed on one, released on another";
    EXPECT_TRUE(tabs_.pressed().empty());

    click(centre(item(2)->rect));
    ASSERT_EQ(tabs_.selected.size(), 1u);
    EXPECT_EQ(tabs_.active(), item(2));
    EXPECT_TRUE(windows().isVisible(pages_[2]));
    EXPECT_FALSE(windows().isVisible(pages_[0]));
    EXPECT_EQ(windows().focus(), pages_[2]);

    click(centre(tabs_.settingsRect()));
    ASSERT_EQ(tabs_.settingsClicks.size(), 1u);
    EXPECT_EQ(tabs_.settingsClicks[0], tabs_.settingsRect());

    item(1)->disabled = true;
    send(WM_MOUSEMOVE, 10, item(1)->rect.top + 5);
    EXPECT_TRUE(tabs_.hot().empty()) << "a disabled item is never hot";
    click(centre(item(1)->rect));
    EXPECT_EQ(tabs_.active(), item(2));
}

TEST_F(StackTabTest, HotItemIsClearedByTheHoverTimerAndWhenTheCaptureGoes) {
    create(3, 2);
    send(WM_MOUSEMOVE, 10, item(1)->rect.top + 5);
    EXPECT_EQ(tabs_.hot().item, item(1));
    platform::ui::setCursorPosition({100 + 10, 100 + item(1)->rect.top + 5});
    clock_->advance(std::chrono::milliseconds(10));
    windows().pumpMessages();
    EXPECT_EQ(tabs_.hot().item, item(1)) << "still under the pointer";

    platform::ui::setCursorPosition({100 + 10, 100 + 20});
    clock_->advance(std::chrono::milliseconds(10));
    windows().pumpMessages();
    EXPECT_TRUE(tabs_.hot().empty());
    EXPECT_FALSE(windows().hasTimers(tabs_.window()));

    send(WM_LBUTTONDOWN, 10, item(1)->rect.top + 5);
    windows().send(tabs_.window(), WM_CAPTURECHANGED, 0, 12345);
    EXPECT_TRUE(tabs_.pressed().empty());
    EXPECT_FALSE(tabs_.hasCapture());
}

TEST_F(StackTabTest, SchemeOneDrawsGradientButtonsSeparatorsAndTheSettingsGlyph) {
    tabs_.setScheme(1);
    create(3, 2);
    EXPECT_EQ(tabs_.iconRowRect().height(), 24) << "the scheme drops the padding";
    EXPECT_EQ(tabs_.toolTipColors().background, 0xDCE1E4u);
    send(WM_MOUSEMOVE, 10, item(1)->rect.top + 5);
    const Canvas& canvas = tabs_.render();

    // Active, not hot: highlighted gradient; the separator on the bottom row.
    const Rect first = item(0)->rect;
    EXPECT_EQ(canvas.pixel(100, first.top), 0xFFF8E6B6u);
    EXPECT_EQ(canvas.pixel(100, first.bottom - 2), 0xFFF1BD6Fu);
    EXPECT_EQ(canvas.pixel(100, first.bottom - 1), 0xFF4D733Du);
    // The hot, inactive item is highlighted too, and its icon is raised over its shadow.
    const Rect second = item(1)->rect;
    EXPECT_EQ(canvas.pixel(199, second.top), 0xFFF8E6B6u);
    const int iconX = second.left + 5;
    const int iconY = second.top + (second.height() - 1 - 24) / 2;
    EXPECT_EQ(canvas.pixel(iconX - 2, iconY - 2), 0xFF2040C0u);
    EXPECT_EQ(canvas.pixel(iconX + 23, iconY + 23), 0xFF4D733Du) << "shadow";
    // Text in the item-text colour somewhere right of the icon.
    int textPixels = 0;
    for (int x = iconX + 34; x < 120; ++x)
        for (int y = second.top; y < second.bottom - 1; ++y)
            textPixels += (canvas.pixel(x, y) & 0xFFFFFF) == 0x3C3C3C;
    EXPECT_GT(textPixels, 10) << "text of an item without the hot look";

    // Icon row: "neither" gradient; the settings glyph in its colour.
    const Rect row = tabs_.iconRowRect();
    EXPECT_EQ(canvas.pixel(5, row.top), 0xFFFFFFFFu);
    EXPECT_EQ(canvas.pixel(5, row.bottom - 1), 0xFFD5D1C9u);
    const Rect settings = tabs_.settingsRect();
    const int glyphX = settings.left + (settings.width() - 8) / 2;
    const int glyphY = settings.top + (settings.height() - 13) / 2;
    EXPECT_EQ(canvas.pixel(glyphX, glyphY), 0xFF4D733Du) << "0 bit: glyph";
    EXPECT_NE(canvas.pixel(glyphX + 2, glyphY), 0xFF4D733Du) << "1 bit: background";
    // The splitter gradient, no grip dots while it cannot be dragged.
    tabs_.splitterEnabled = false;
    tabs_.UpdateLayout();
    const Canvas& plain = tabs_.render();
    EXPECT_EQ(plain.pixel(0, tabs_.splitterRect().top), 0xFF7F7F7Fu);
    EXPECT_EQ(plain.pixel(0, tabs_.splitterRect().bottom - 1), 0xFF474747u);

    testing_environment::TemporaryHome home;
    EXPECT_EQ(canvas.savePng((home.root() / "tabs.png").string()), platform::imaging::Status::Ok);
}

TEST_F(StackTabTest, SchemeTwoLeavesPlainItemsUndrawnAndSchemeZeroFollowsTheSystemColours) {
    tabs_.setScheme(2);
    create(3, 2);
    const Canvas& canvas = tabs_.render();
    EXPECT_EQ(canvas.pixel(100, item(1)->rect.top + 2), 0xFFFFFFFFu) << "neither look: nothing";
    EXPECT_EQ(canvas.pixel(100, item(0)->rect.top), 0xFFCFE1FBu);

    tabs_.setScheme(0);
    const COLORREF before = tabs_.hotColor();
    platform::ui::setSystemColor(platform::ui::COLOR_HIGHLIGHT, platform::ui::rgb(200, 0, 0));
    windows().send(tabs_.window(), WM_SETTINGCHANGE);
    EXPECT_NE(tabs_.hotColor(), before);
    const Canvas& system = tabs_.render();
    EXPECT_EQ(system.pixel(100, item(0)->rect.top), toArgb(tabs_.hotColor()));
    EXPECT_EQ(system.pixel(100, item(1)->rect.top),
              toArgb(platform::ui::systemColor(platform::ui::COLOR_BTNFACE)));
    platform::ui::resetSystemColors();

    tabs_.RemoveAllItems();
    tabs_.UpdateLayout();
    const Canvas& empty = tabs_.render();
    EXPECT_EQ(empty.pixel(100, 50), 0xFFFFFFFFu);
    EXPECT_EQ(tabs_.active(), nullptr);
}

}  // namespace
