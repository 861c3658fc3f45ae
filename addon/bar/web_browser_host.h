// CWebBrowser2<T>: a window that hosts a web-browser object of its own and hands the
// browser's events (DWebBrowserEvents2) to the window class T, which overrides what it
// needs of OnBeforeNavigate2, OnNavigateComplete2, OnDocumentComplete and OnQuit (the
// defaults do nothing). Used by the toolbar view.
//
// Contract: the user-interface thread. createBrowser makes the window and the browser and
// advises the sink; destroyBrowser unadvises it, releases the browser and destroys the
// window (also done by the destructor). The sink holds no reference to T: T outlives the
// advise.
#pragma once

#include <cstdint>
#include <string>

#include "platform/browser/dispatch.h"
#include "platform/browser/web_browser.h"
#include "platform/ui/window_system.h"

namespace addon {

template <class T>
class CWebBrowser2 {
  public:
    CWebBrowser2() = default;
    CWebBrowser2(const CWebBrowser2&) = delete;
    CWebBrowser2& operator=(const CWebBrowser2&) = delete;
    virtual ~CWebBrowser2() { destroyBrowser(); }

    bool createBrowser(platform::ui::HWND parent, platform::ui::Rect rect, int controlId,
                       platform::browser::DocumentLoader loader) {
        platform::ui::WindowSpec spec;
        spec.className = L"AtlAxWin";
        spec.parent = parent;
        spec.rect = rect;
        spec.controlId = controlId;
        window_ = platform::ui::windows().createWindow(std::move(spec));
        if (!window_) {
            return false;
        }
        browser_ = platform::browser::WebBrowser::create(std::move(loader), window_);
        sink_ = Sink::create(static_cast<T*>(this));
        cookie_ = browser_->events().advise(sink_);
        return true;
    }

    void destroyBrowser() {
        if (browser_ && cookie_ != kNotAdvised) {
            browser_->events().unadvise(cookie_);
        }
        cookie_ = kNotAdvised;
        if (sink_) {
            sink_->owner = nullptr;
        }
        sink_.reset();
        browser_.reset();
        if (platform::ui::windows().isWindow(window_)) {
            platform::ui::windows().destroyWindow(window_);
        }
        window_ = {};
    }

    platform::ui::HWND window() const { return window_; }
    const platform::com::ComPtr<platform::browser::WebBrowser>& viewBrowser() const {
        return browser_;
    }

  protected:
    virtual void OnBeforeNavigate2(const std::wstring& /*url*/, std::int32_t /*flags*/,
                                   bool& /*cancel*/) {}
    virtual void OnNavigateComplete2(const std::wstring& /*url*/) {}
    virtual void OnDocumentComplete(const std::wstring& /*url*/) {}
    virtual void OnQuit() {}

  private:
    static constexpr std::uint32_t kNotAdvised = 0xFEFEFEFE;

    class Sink : public platform::com::ComObject<Sink, platform::browser::IDispatch> {
      public:
        explicit Sink(T* host) : owner(host) {}
        platform::com::HRESULT Invoke(std::int32_t dispid,
                                      platform::browser::DispParams* params) override {
            if (owner == nullptr || params == nullptr) {
                return platform::com::DISP_E_MEMBERNOTFOUND;
            }
            auto& args = params->arguments;
            const auto text = [&args](std::size_t index) {
                return index < args.size() ? args[index].value.toText() : std::wstring{};
            };
            CWebBrowser2& host = *owner;
            switch (dispid) {
                case platform::browser::DISPID_BEFORENAVIGATE2: {
                    if (args.size() < 7 || args[6].boolReference == nullptr) {
                        return platform::com::E_INVALIDARG;
                    }
                    host.OnBeforeNavigate2(text(1),
                                           static_cast<std::int32_t>(args[2].value.integer()),
                                           *args[6].boolReference);
                    return platform::com::S_OK;
                }
                case platform::browser::DISPID_NAVIGATECOMPLETE2:
                    host.OnNavigateComplete2(text(1));
                    return platform::com::S_OK;
                case platform::browser::DISPID_DOCUMENTCOMPLETE:
                    host.OnDocumentComplete(text(1));
                    return platform::com::S_OK;
                case platform::browser::DISPID_ONQUIT:
                    host.OnQuit();
                    return platform::com::S_OK;
                default:
                    return platform::com::DISP_E_MEMBERNOTFOUND;
            }
        }
        T* owner;
    };

    platform::ui::HWND window_;
    platform::com::ComPtr<platform::browser::WebBrowser> browser_;
    platform::com::ComPtr<Sink> sink_;
    std::uint32_t cookie_ = kNotAdvised;
};

}  // namespace addon
