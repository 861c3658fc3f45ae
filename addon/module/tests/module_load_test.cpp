// Tamrix.so as a browser loads it from the installation's bin folder: its three classes
// through DllGetClassObject, its registration, and its classes at work on the host's
// windows, browser and presenter.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include "platform/browser/band_interfaces.h"
#include "platform/browser/browser_site.h"
#include "platform/browser/class_factory.h"
#include "platform/browser/fetch.h"
#include "platform/browser/protocol_table.h"
#include "platform/registry/registry.h"
#include "platform/registry/store.h"
#include "platform/system/module.h"
#include "platform/ui/cross_process_windows.h"
#include "platform/ui/dialog_driver.h"
#include "platform/ui/scripted_presenter.h"
#include "platform/ui/window_system.h"
#include "testing/environment/temporary_home.h"

namespace {

namespace com = platform::com;
namespace browser = platform::browser;
namespace reg = platform::registry;
namespace ui = platform::ui;

constexpr const char* kModule = TAMRIX_STAGE_DIR "/bin/Tamrix.so";
constexpr com::GUID kButton = com::guidLiteral("E55E1F27-11DA-0002-0002-00AA00000004");
constexpr com::GUID kBar = com::guidLiteral("E55E1F27-11DA-0002-0002-00AA00000007");
constexpr com::GUID kProtocol = com::guidLiteral("E55E1F27-11DA-0002-0002-00AA00000006");

using ExportedHResult = com::HRESULT();

class TamrixModule : public ::testing::Test {
  protected:
    void SetUp() override {
        ui::windows().reset();
        ASSERT_TRUE(module.open(kModule)) << module.error();
        getClassObject = module.function<browser::DllGetClassObjectFunction>("DllGetClassObject");
        ASSERT_NE(getClassObject, nullptr);
    }
    void TearDown() override { ui::windows().reset(); }

    // A new object of the class, asked for `T`; null when the module refuses.
    template <typename T>
    com::ComPtr<T> create(const com::GUID& clsid) {
        void* factory = nullptr;
        if (com::FAILED(getClassObject(clsid, browser::IClassFactory::IID, &factory))) {
            return {};
        }
        auto owned = com::ComPtr<browser::IClassFactory>::adopt(
            static_cast<browser::IClassFactory*>(factory));
        void* object = nullptr;
        if (com::FAILED(owned->CreateInstance(nullptr, T::IID, &object))) {
            return {};
        }
        return com::ComPtr<T>::adopt(static_cast<T*>(object));
    }

    // The bytes of a value of the user's key; none when it is missing.
    static std::optional<std::vector<reg::BYTE>> value(const std::wstring& key,
                                                       const wchar_t* name) {
        reg::HKEY handle = nullptr;
        if (reg::RegOpenKeyExW(reg::HKEY_CURRENT_USER, key.c_str(), 0, reg::KEY_ALL_ACCESS,
                               &handle) != reg::ERROR_SUCCESS) {
            return std::nullopt;
        }
        std::vector<reg::BYTE> bytes(1024);
        reg::DWORD size = static_cast<reg::DWORD>(bytes.size());
        const bool read = reg::RegQueryValueExW(handle, name, nullptr, nullptr, bytes.data(),
                                                &size) == reg::ERROR_SUCCESS;
        reg::RegCloseKey(handle);
        if (!read) {
            return std::nullopt;
        }
        bytes.resize(size);
        return bytes;
    }
    static std::wstring text(const std::wstring& key, const wchar_t* name) {
        const auto bytes = value(key, name);
        if (!bytes) {
            return L"<missing>";
        }
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes->data()),
                            bytes->size() / sizeof(wchar_t))
            .c_str();
    }

    testing_environment::TemporaryHome home;
    reg::ScopedMemoryRegistry registry;
    std::shared_ptr<ui::ScriptedPresenter> person = std::make_shared<ui::ScriptedPresenter>();
    ui::PresenterScope scope{person};
    platform::system::Module module;
    browser::DllGetClassObjectFunction* getClassObject = nullptr;
};

}  // namespace

TEST_F(TamrixModule, HandsOutItsThreeClassesAndNoOther) {
    EXPECT_TRUE(create<browser::IOleCommandTarget>(kButton));
    EXPECT_TRUE(create<browser::IObjectWithSite>(kButton));
    EXPECT_TRUE(create<browser::IDeskBand>(kBar));
    EXPECT_TRUE(create<browser::IPersistStream>(kBar));
    EXPECT_TRUE(create<browser::IInternetProtocol>(kProtocol));
    EXPECT_FALSE(create<browser::IDeskBand>(kButton)) << "a button is no band";
    void* factory = nullptr;
    EXPECT_EQ(getClassObject(com::guidLiteral("E55E1F27-11DA-0002-0002-00AA00000099"),
                             browser::IClassFactory::IID, &factory),
              com::CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(factory, nullptr);
    EXPECT_EQ(module.function<ExportedHResult>("DllCanUnloadNow")(), com::S_FALSE);
}

TEST_F(TamrixModule, ServesItsDataFolderThroughTheTamrixScheme) {
    browser::ProtocolTable table;
    ASSERT_EQ(table.registerModule(L"tamrix", kModule, kProtocol), com::S_OK);
    const auto reply = browser::fetchUrl(table, L"tamrix://resources/pagestyles/night.css");
    ASSERT_EQ(reply.result, com::S_OK);
    EXPECT_FALSE(reply.bytes.empty());
    EXPECT_EQ(reply.bytes, [] {
        std::ifstream in(TAMRIX_STAGE_DIR "/data/resources/pagestyles/night.css");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }());
}

TEST_F(TamrixModule, TheExplorerBarStartsTheInstalledSidePaneAndAdoptsItsPane) {
    ASSERT_TRUE(std::filesystem::exists(TAMRIX_STAGE_DIR "/bin/lorvane"));
    const ui::HWND frame =
        ui::windows().createWindow({.className = L"IEFrame", .rect = {0, 0, 800, 600}});
    const ui::HWND rebar = ui::windows().createWindow(
        {.className = L"ReBarWindow32", .parent = frame, .rect = {0, 0, 291, 600}});
    ui::windows().setForeground(frame);
    const auto site =
        browser::BrowserSite::create(browser::WebBrowser::create(nullptr, frame), rebar);
    auto band = create<browser::IObjectWithSite>(kBar);
    ASSERT_TRUE(band);
    ASSERT_EQ(band->SetSite(site->unknown()), com::S_OK);
    const ui::HWND host = ui::windows().findWindowEx(rebar, {}, L"LorvaneClient", L"");
    ASSERT_TRUE(host);
    EXPECT_TRUE(person->messageTexts().empty());

    // Queries only: the module serves this process's windows.
    ui::CrossProcessWindows lookup;
    const ui::RemoteWindow container = lookup.findWindow(L"LorvaneContainer");
    ASSERT_TRUE(container);
    EXPECT_NE(container.processId, static_cast<std::uint32_t>(getpid()));
    EXPECT_FALSE(lookup.findChild(container, L"LorvaneServer")) << "the pane has moved";
    const ui::RemoteWindow pane{container.processId,
                                ui::HWND{static_cast<std::uint64_t>(lookup.userData(container))}};
    ASSERT_TRUE(lookup.isWindow(pane)) << "the bar keeps the pane's handle in its container";
    EXPECT_EQ(lookup.parent(pane), ui::CrossProcessWindows::local(host));

    // The bar closes: the pane goes back to its container, and the program, left without
    // a host window, ends.
    band.as<browser::IDeskBand>()->CloseDW(0);
    EXPECT_FALSE(ui::windows().isWindow(host));
    EXPECT_TRUE(ui::windows().pumpUntil([&] { return !lookup.findWindow(L"LorvaneContainer"); },
                                        std::chrono::seconds(10)));
}

TEST_F(TamrixModule, RegistersItsClassesAndBrowserEntriesForTheUser) {
    ASSERT_EQ(module.function<ExportedHResult>("DllRegisterServer")(), com::S_OK);
    const std::wstring button = L"Software\\Classes\\CLSID\\{E55E1F27-11DA-0002-0002-00AA00000004}";
    EXPECT_EQ(text(button, nullptr), L"IEButton Class");
    EXPECT_EQ(std::filesystem::path(text(button + L"\\InprocServer32", nullptr)),
              std::filesystem::path(kModule).lexically_normal());
    EXPECT_EQ(text(button + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
    EXPECT_EQ(text(L"Software\\Classes\\Tamrix.Lorvane\\CurVer", nullptr), L"Tamrix.Lorvane.1");
    EXPECT_EQ(text(L"Software\\Classes\\PROTOCOLS\\Handler\\tamrix", L"CLSID"),
              L"{E55E1F27-11DA-0002-0002-00AA00000006}");
    const std::wstring extensions = L"Software\\Microsoft\\Internet Explorer\\Extensions\\";
    EXPECT_EQ(text(extensions + L"{E55E1F27-11DA-0002-0002-00AABB000004}", L"ClsidExtension"),
              L"{E55E1F27-11DA-0002-0002-00AA00000004}");
    EXPECT_EQ(text(extensions + L"{E55E1F27-11DA-0002-0002-00AABB000002}", L"BandCLSID"),
              L"{E55E1F27-11DA-0002-0002-00AA00000007}");
    const auto size = value(
        L"Software\\Microsoft\\Internet Explorer\\Explorer Bars\\"
        L"{E55E1F27-11DA-0002-0002-00AABB000001}",
        L"BarSize");
    ASSERT_TRUE(size);
    EXPECT_EQ(*size, (std::vector<reg::BYTE>{0x23, 0x01, 0, 0, 0, 0, 0, 0})) << "291 pixels";

    ASSERT_EQ(module.function<ExportedHResult>("DllUnregisterServer")(), com::S_OK);
    EXPECT_EQ(text(button, nullptr), L"<missing>");
    EXPECT_EQ(text(extensions + L"{E55E1F27-11DA-0002-0002-00AABB000004}", L"ButtonText"),
              L"<missing>");
}

TEST_F(TamrixModule, ServesTheAboutCommandOfItsToolbarAfterItsStartUp) {
    reg::HKEY key = nullptr;
    ASSERT_EQ(reg::RegCreateKeyExW(reg::HKEY_CURRENT_USER, L"Software\\Olvan\\Tamrix", 0, nullptr,
                                   0, reg::KEY_ALL_ACCESS, nullptr, &key, nullptr),
              reg::ERROR_SUCCESS);
    const reg::DWORD off = 0;
    reg::RegSetValueExW(key, L"AutoUpdate", 0, reg::REG_DWORD,
                        reinterpret_cast<const reg::BYTE*>(&off), sizeof(off));
    reg::RegCloseKey(key);
    const ui::HWND frame =
        ui::windows().createWindow({.className = L"IEFrame", .rect = {0, 0, 800, 600}});
    const auto page = browser::WebBrowser::create(nullptr, frame);
    auto button = create<browser::IObjectWithSite>(kButton);
    ASSERT_TRUE(button);
    ASSERT_EQ(button->SetSite(browser::BrowserSite::create(page, frame)->unknown()), com::S_OK);
    // The button attaches the add-on to the browser; the toolbar's links then reach the
    // module's command dispatcher through the browser's navigations.
    ASSERT_EQ(button.as<browser::IOleCommandTarget>()->Exec(nullptr, 0, 0, nullptr, nullptr),
              com::S_OK);

    bool shown = false;
    person->answerDialog([&](ui::DialogDriver& d) {
        shown = true;
        EXPECT_NE(d.text(202).find(L"Tamrix"), std::wstring::npos) << "the module's own version";
        d.click(ui::IDOK);
    });
    EXPECT_FALSE(page->navigate(L"tamrix://$toolbar/toolbar-about")) << "the link is a command";
    EXPECT_TRUE(shown);
    EXPECT_TRUE(person->messageTexts().empty());
    button->SetSite(nullptr);
    page->quit();
}
