// A throw-away installation for the pane's tests: <home>/install-<n>/bin/ holding the staged
// deliverables (the tarn: module protocol.so and the libraries the modules find there), and in
// <home>/install/data/plugins a copy of the staged "tamrix" plug-in (its real plugin.so and pages,
// with a second side page "tamrix2" added to its catalogue), a "recording" plug-in with the test
// library of fixture/recording_plugin.cpp and a "plain" plug-in without a library. The window
// system runs on a manual clock, and the pane sits in a "LorvaneClient" window that records the
// records it is sent.
//
// The home is shared by the tests of the suite: the template engine inside the process
// keeps the folders it found first.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "lorvane/configuration.h"
#include "lorvane/lorvane_pane.h"
#include "platform/dom/document.h"
#include "platform/dom/element.h"
#include "platform/dom/window.h"
#include "platform/system/module.h"
#include "platform/text/utf.h"
#include "platform/ui/scripted_presenter.h"
#include "platform/ui/window_system.h"
#include "plugin/module/host_messages.h"
#include "testing/environment/temporary_home.h"

namespace lorvane_tests {

namespace fs = std::filesystem;
using lorvane::Lorvane;
using lorvane::LorvaneConfig;
using lorvane::SidePage;
using platform::ui::windows;

inline void writeFile(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
}

inline std::string sidePage(const std::string& name, const std::string& url,
                            const std::string& restrict) {
    return "<item name=\"" + name + "\" title=\"Title " + name + "\" type=\"Tarn\" file=\"" + name +
           ".xsl\" url=\"" + url + "\" restrict=\"" + restrict + "\"/>";
}

class PaneTest : public ::testing::Test {
  protected:
    using Recorded = std::vector<std::wstring>;

    static void SetUpTestSuite() { home_ = std::make_unique<testing_environment::TemporaryHome>(); }
    static void TearDownTestSuite() { home_.reset(); }

    void SetUp() override {
        static int installations = 0;
        root_ = home_->root() / ("install-" + std::to_string(++installations));
        windows().reset();
        windows().setClock(clock_);
        const fs::path stage = TAMRIX_STAGE_DIR;
        fs::create_directories(root_ / "bin");
        for (const auto& deliverable : fs::directory_iterator(stage / "bin"))
            fs::create_symlink(deliverable.path(), root_ / "bin" / deliverable.path().filename());
        const fs::path tamrix = root_ / "data" / "plugins" / "tamrix";
        fs::create_directories(tamrix.parent_path());
        fs::copy(stage / "data" / "plugins" / "tamrix", tamrix, fs::copy_options::recursive);
        std::ifstream in(tamrix / "plugins.xml");
        std::string catalogue{std::istreambuf_iterator<char>(in), {}};
        catalogue.replace(catalogue.find("</sidePages>"), 0,
                          sidePage("tamrix2", "tarn://tamrix/latest", "^tarn://tamrix/latest"));
        writeFile(tamrix / "plugins.xml", catalogue);

        const fs::path recording = root_ / "data" / "plugins" / "recording";
        writeFile(recording / "plugins.xml",
                  "<plugins name=\"recording\"><sidePages>" +
                      sidePage("rec-a", "tarn://tamrix/pane", "^tarn://tamrix/pane") +
                      sidePage("rec-b", "tarn://tamrix/latest", "") + "</sidePages></plugins>");
        fs::copy_file(RECORDING_PLUGIN, recording / "plugin.so");
        writeFile(root_ / "data" / "plugins" / "plain" / "plugins.xml",
                  "<plugins name=\"plain\"><sidePages>" +
                      sidePage("plain", "tarn://tamrix/latest", "^tarn://tamrix/latest") +
                      "</sidePages></plugins>");

        client_ = windows().createWindow(
            {.className = L"LorvaneClient",
             .rect = {0, 0, 300, 600},
             .proc = [this](const platform::ui::Message& message) -> platform::ui::LRESULT {
                 if (message.id == platform::ui::WM_COPYDATA && message.copyData)
                     received_.push_back(*message.copyData);
                 return 1;
             }});
    }

    void TearDown() override {
        pane_.reset();
        recording_.close();
        windows().reset();
    }

    // The pane with these pages, in the client window.
    Lorvane& makePane(std::vector<std::wstring> names) {
        config_.names = std::move(names);
        pane_ = std::make_unique<Lorvane>(config_, platform::text::fromUtf8(root_.string()));
        EXPECT_TRUE(pane_->Create(client_, {0, 0, 300, 600}, L"LorvaneServer", 0x50000000, 102));
        return *pane_;
    }

    // Moves the clock on and lets the due timers run.
    void advance(std::chrono::milliseconds by) {
        clock_->advance(by);
        windows().pumpMessages();
    }

    static std::wstring bodyText(const SidePage& page) {
        const auto document = page.document();
        return document && document->body() ? document->body()->innerText() : L"";
    }

    // The calls the recording library's objects got so far (loads it when needed).
    Recorded& recordedCalls() {
        if (!recording_.isOpen()) {
            EXPECT_TRUE(recording_.open((root_ / "data/plugins/recording/plugin.so").string()));
        }
        auto* calls = recording_.function<Recorded*()>("RecordedPluginCalls");
        static Recorded none;
        return calls ? *calls() : none;
    }
    void configureRecording(int setting, bool settingHandled, int navigate, bool navigateHandled,
                            const wchar_t* ignored = L"") {
        recordedCalls();
        auto* configure = recording_.function<void(int, bool, int, bool, const wchar_t*)>(
            "ConfigureRecordingPlugin");
        ASSERT_NE(configure, nullptr);
        configure(setting, settingHandled, navigate, navigateHandled, ignored);
    }

    // The addresses of the navigation records the client window got.
    std::vector<std::wstring> navigationRequests() const {
        std::vector<std::wstring> urls;
        for (const auto& record : received_) {
            const auto request = record.code == plugin::kNavigateCode
                                     ? plugin::readNavigateRecord(record.bytes)
                                     : std::nullopt;
            if (request)
                urls.push_back(request->url);
        }
        return urls;
    }

    static inline std::unique_ptr<testing_environment::TemporaryHome> home_;
    fs::path root_;
    std::shared_ptr<platform::ui::ManualClock> clock_ =
        std::make_shared<platform::ui::ManualClock>();
    std::shared_ptr<platform::ui::ScriptedPresenter> presenter_ =
        std::make_shared<platform::ui::ScriptedPresenter>();
    platform::ui::PresenterScope scope_{presenter_};
    platform::ui::HWND client_;
    std::vector<platform::ui::CopyData> received_;
    LorvaneConfig config_;
    std::unique_ptr<Lorvane> pane_;
    platform::system::Module recording_;
};

}  // namespace lorvane_tests
