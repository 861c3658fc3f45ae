// The explorer bar's picture with a pane of another process adopted in it: read again only
// when something it shows changed, never while the pane sits idle.
#include "host/browser/bar_picture.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/system/process.h"
#include "testing/environment/temporary_home.h"

namespace {

using namespace platform::ui;
using namespace std::chrono_literals;
using host::browser::BarPicture;

class BarPictureTest : public ::testing::Test {
  protected:
    void SetUp() override {
        system_.reset();
        ASSERT_TRUE(crossProcess_.start()) << crossProcess_.error();
        bar_ = system_.createWindow(
            {.className = L"TestHost", .title = L"bar", .rect = {0, 40, 250, 440}});
        ASSERT_TRUE(child_.start({WINDOW_CHILD})) << child_.error();
        RemoteWindow container;
        ASSERT_TRUE(system_.pumpUntil(
            [&] {
                return static_cast<bool>(container = crossProcess_.findWindow(L"ChildContainer"));
            },
            5000ms));
        pane_ = crossProcess_.findChild(container, L"ChildPane");
        ASSERT_TRUE(pane_);
        ASSERT_TRUE(crossProcess_.setParent(pane_, CrossProcessWindows::local(bar_)));
        ASSERT_TRUE(crossProcess_.setWindowPos(pane_, 0, 0, 200, 300, SWP_NOCOPYBITS));
    }
    void TearDown() override {
        if (child_.isRunning())
            child_.kill();
        system_.reset();
    }

    // The colour of the picture's pixel (0xRRGGBB).
    static std::uint32_t pixel(const BarPicture& picture, int x, int y) {
        cairo_surface_t* surface = picture.surface();
        std::uint32_t value = 0;
        std::memcpy(&value,
                    cairo_image_surface_get_data(surface) +
                        y * cairo_image_surface_get_stride(surface) + x * 4,
                    sizeof value);
        return value & 0xFFFFFF;
    }

    bool paintPane(std::uint32_t colour) {
        std::vector<std::uint8_t> bytes(sizeof colour);
        std::memcpy(bytes.data(), &colour, sizeof colour);
        LRESULT painted = 0;
        return crossProcess_.sendCopyData(pane_, bar_, CopyData{11, bytes}, &painted) &&
               painted == 1;
    }

    testing_environment::TemporaryHome home_;
    WindowSystem& system_ = windows();
    CrossProcessWindows crossProcess_;
    platform::system::Process child_;
    HWND bar_;
    RemoteWindow pane_;
};

TEST_F(BarPictureTest, AnIdlePaneIsReadOnceAndAgainOnlyWhenWhatTheBarShowsChanged) {
    BarPicture picture;
    ASSERT_TRUE(picture.refresh(crossProcess_, bar_));
    EXPECT_EQ(picture.reads(), 1);
    ASSERT_NE(picture.surface(), nullptr);
    EXPECT_EQ(cairo_image_surface_get_width(picture.surface()), 250);
    EXPECT_EQ(pixel(picture, 10, 10), 0x336699u) << "the pane's own picture, from its process";
    EXPECT_EQ(pixel(picture, 240, 10), 0xFFFFFFu) << "the bar beside the pane";

    // Steps of the window's timer while nobody touches anything, the stand-in of the bar in
    // the pane's process checking on it meanwhile: no picture crosses the socket.
    for (int step = 0; step < 12; ++step) {
        system_.pumpUntil([] { return false; }, 50ms);
        EXPECT_FALSE(picture.refresh(crossProcess_, bar_)) << "step " << step;
    }
    EXPECT_EQ(picture.reads(), 1);

    // The pane paints in its process: read once more, then idle again.
    ASSERT_TRUE(paintPane(0xFF204060));
    EXPECT_TRUE(picture.refresh(crossProcess_, bar_));
    EXPECT_EQ(pixel(picture, 10, 10), 0x204060u);
    EXPECT_FALSE(picture.refresh(crossProcess_, bar_));
    EXPECT_EQ(picture.reads(), 2);

    // The pane moves inside the bar, or the bar itself is sized: each is read once.
    ASSERT_TRUE(crossProcess_.setWindowPos(pane_, 30, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER));
    EXPECT_TRUE(picture.refresh(crossProcess_, bar_));
    EXPECT_EQ(pixel(picture, 10, 10), 0xFFFFFFu);
    EXPECT_EQ(pixel(picture, 40, 10), 0x204060u);
    system_.setWindowPos(bar_, 0, 0, 280, 400, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(picture.refresh(crossProcess_, bar_));
    EXPECT_EQ(cairo_image_surface_get_width(picture.surface()), 280);
    EXPECT_FALSE(picture.refresh(crossProcess_, bar_));
    EXPECT_EQ(picture.reads(), 4);

    // Forgotten when the bar closes: the next bar is read whole.
    picture.forget();
    EXPECT_EQ(picture.surface(), nullptr);
    EXPECT_TRUE(picture.refresh(crossProcess_, bar_));
    EXPECT_EQ(picture.reads(), 5);
}

}  // namespace
