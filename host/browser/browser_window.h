// The browser window a person clips in: a GTK window showing the stand-in browser's one
// tab. Its tool bar holds back, forward, reload, the address entry and the add-on's
// toolbar button; below it one drawing area shows the tab's frame as the stand-in windows
// place it (browser_frame.h): the toolbox band with the toolbar page, the explorer bar
// with the side pane's picture, and the page with its scroll bar. Pages are painted by
// the one page painter; pointer, wheel and keys reach the page as the browser delivers
// them (platform/browser/page_pointer.h, key_codes.h), and the stand-in's messages and timers run
// between GTK's events.
//
// Contract: the GTK main thread, which is also the stand-in's user-interface thread.
// `closed` runs once when the person closes the window; the window's objects stay until
// the BrowserWindow ends, which closes the tab.
#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <string>

#include "host/browser/bar_picture.h"
#include "host/browser/browser_frame.h"
#include "host/browser/navigation_history.h"
#include "host/browser/page_picture.h"
#include "platform/browser/band_interfaces.h"
#include "platform/browser/page_pointer.h"
#include "platform/browser/web_browser.h"

namespace host::browser {

class BrowserWindow {
  public:
    explicit BrowserWindow(std::function<void()> closed);
    ~BrowserWindow();
    BrowserWindow(const BrowserWindow&) = delete;
    BrowserWindow& operator=(const BrowserWindow&) = delete;

    GtkWindow* window() const { return GTK_WINDOW(window_); }
    // The area that shows the tab's frame; stand-in screen points are its points.
    GtkWidget* frameArea() const { return area_; }
    // Navigates the tab; false when the page did not arrive (the former one stays).
    bool open(const std::wstring& address);
    void goBack();
    void goForward();
    void reload();
    // The toolbar button: attaches the add-on to the tab or detaches it.
    void pressToolbarButton();

  private:
    enum class Region { none, page, toolbox, explorerBar };

    void buildWidgets();
    void tick();
    void arrangeFrame();
    void noticeNewPage();
    void syncControls();
    std::shared_ptr<platform::dom::Document> page() const;
    std::shared_ptr<platform::dom::Document> toolbarPage() const;
    Region regionAt(double x, double y) const;

    void draw(cairo_t* cr, int width, int height);
    void drawToolbox(cairo_t* cr);
    void drawExplorerBar(cairo_t* cr);

    void pointerMoved(double x, double y, GdkModifierType state);
    void pointerPressed(int button, int presses, double x, double y, GdkModifierType state);
    void pointerReleased(int button, int presses, double x, double y, GdkModifierType state);
    void pointerLeft();
    bool wheel(double dx, double dy, GdkModifierType state);
    bool keyPressed(guint keyval, GdkModifierType state, bool down);
    bool browserKey(int keyCode, const platform::dom::KeyModifiers& modifiers);
    void followLinkAt(int x, int y);
    // Hands a pointer message over the explorer bar to the side pane's program; false when
    // no pane is shown there.
    bool toSidePane(platform::ui::UINT message, platform::ui::WPARAM wParam, double x, double y);
    void scrollBy(int dx, int dy);
    void fitToolbarPage();

    static void onDraw(GtkDrawingArea*, cairo_t* cr, int width, int height, gpointer self);
    static void onActiveChanged(GtkWindow* window, GParamSpec*, gpointer self);
    static gboolean onTick(gpointer self);
    static gboolean onCloseRequest(GtkWindow*, gpointer self);
    static void onMotion(GtkEventControllerMotion*, double x, double y, gpointer self);
    static void onLeave(GtkEventControllerMotion*, gpointer self);
    static void onPressed(GtkGestureClick* gesture, int presses, double x, double y, gpointer self);
    static void onReleased(GtkGestureClick* gesture, int presses, double x, double y,
                           gpointer self);
    static gboolean onScroll(GtkEventControllerScroll* controller, double dx, double dy,
                             gpointer self);
    static gboolean onKeyPressed(GtkEventControllerKey* controller, guint keyval, guint,
                                 GdkModifierType state, gpointer self);
    static void onKeyReleased(GtkEventControllerKey* controller, guint keyval, guint,
                              GdkModifierType state, gpointer self);
    static void onScrollValue(GtkAdjustment* adjustment, gpointer self);
    static void onAddressActivate(GtkEntry* entry, gpointer self);

    std::function<void()> closed_;
    BrowserFrame frame_;
    platform::com::ComPtr<platform::browser::WebBrowser> browser_;
    platform::com::ComPtr<platform::browser::IOleCommandTarget> toolbarButton_;
    NavigationHistory history_;
    int pendingSteps_ = 0;
    platform::com::ComPtr<platform::browser::IDispatch> shownDocument_;
    std::unique_ptr<platform::browser::PagePointer> pointer_;
    PagePicture pagePicture_;
    PagePicture toolbarPicture_;
    Region pressedIn_ = Region::none;
    double pointerX_ = 0;
    double pointerY_ = 0;
    int areaWidth_ = 0;
    int areaHeight_ = 0;
    bool syncingScroll_ = false;
    guint tickSource_ = 0;
    BarPicture barPicture_;
    gint64 lastBarCheck_ = 0;

    GtkWidget* window_ = nullptr;
    GtkWidget* area_ = nullptr;
    GtkWidget* address_ = nullptr;
    GtkWidget* back_ = nullptr;
    GtkWidget* forward_ = nullptr;
    GtkWidget* clipButton_ = nullptr;
    GtkWidget* scrollBar_ = nullptr;
    GtkAdjustment* scroll_ = nullptr;
    GtkWidget* status_ = nullptr;
};

}  // namespace host::browser
