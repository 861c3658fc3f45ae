#include "host/browser/browser_window.h"

#include <algorithm>
#include <iostream>

#include "addon/bar/ie_button.h"
#include "addon/bar/pane_windows.h"
#include "addon/bar/toolbox.h"
#include "addon/page/html_document.h"
#include "addon/page/url_join.h"
#include "addon/window/embedded_toolbox.h"
#include "addon/window/window_operations.h"
#include "host/browser/key_codes.h"
#include "host/browser/page_source.h"
#include "platform/browser/browser_site.h"
#include "platform/dom/layout_engine.h"
#include "platform/dom/window.h"
#include "platform/text/utf.h"
#include "platform/ui/pointer_messages.h"
#include "platform/ui/window_system.h"

namespace host::browser {

namespace dom = platform::dom;
namespace ui = platform::ui;
using platform::browser::PagePointer;
using platform::browser::PointerButton;
using platform::text::fromUtf8;
using platform::text::toUtf8;

namespace {

constexpr guint kTickMs = 10;
constexpr gint64 kBarCheckUs = 250000;
constexpr int kWheelStep = 48;
constexpr int kLineStep = 40;
// A wheel notch over the toolbar band moves its page by about one row of links.
constexpr int kBandStep = 18;

int buttonOf(int gtkButton) {
    switch (gtkButton) {
        case GDK_BUTTON_PRIMARY:
            return static_cast<int>(PointerButton::left);
        case GDK_BUTTON_SECONDARY:
            return static_cast<int>(PointerButton::right);
        case GDK_BUTTON_MIDDLE:
            return static_cast<int>(PointerButton::middle);
        default:
            return 0;
    }
}

// The keys held, as a pointer message carries them.
ui::WPARAM keysOf(GdkModifierType state) {
    return ((state & GDK_CONTROL_MASK) ? ui::MK_CONTROL : 0) |
           ((state & GDK_SHIFT_MASK) ? ui::MK_SHIFT : 0);
}

GdkModifierType stateOf(GtkEventController* controller) {
    return gtk_event_controller_get_current_event_state(controller);
}

std::wstring withoutFragment(const std::wstring& url) {
    return url.substr(0, url.find(L'#'));
}

}  // namespace

BrowserWindow::BrowserWindow(std::function<void()> closed) : closed_(std::move(closed)) {
    browser_ = platform::browser::WebBrowser::create(
        [](const std::wstring& url) {
            std::wstring error;
            auto loaded = loadBrowserDocument(url, error);
            if (!loaded.document) {
                std::cerr << "tamrix-browser: " << toUtf8(error) << std::endl;
            }
            return loaded;
        },
        frame_.frame());
    auto button = addon::CIEButton::create();
    auto site = platform::browser::BrowserSite::create(browser_, frame_.frame());
    button->SetSite(site->unknown());
    toolbarButton_ = button;
    buildWidgets();
    tickSource_ = g_timeout_add(kTickMs, &BrowserWindow::onTick, this);
}

BrowserWindow::~BrowserWindow() {
    if (tickSource_) {
        g_source_remove(tickSource_);
    }
    pointer_.reset();
    if (addon::isToolboxVisible(browser_)) {
        pressToolbarButton();
    }
    browser_->quit();
    addon::removeBrowserWindow(browser_);
    toolbarButton_ = nullptr;
    if (window_) {
        gtk_window_destroy(GTK_WINDOW(window_));
    }
}

void BrowserWindow::buildWidgets() {
    window_ = gtk_window_new();
    gtk_window_set_title(GTK_WINDOW(window_), "Tamrix browser");
    gtk_window_set_default_size(GTK_WINDOW(window_), 1024, 800);
    g_signal_connect(window_, "close-request", G_CALLBACK(&BrowserWindow::onCloseRequest), this);
    // The window a person brings to the front is the foreground window, which decides which
    // browser window's explorer bar holds the side pane.
    g_signal_connect(window_, "notify::is-active", G_CALLBACK(&BrowserWindow::onActiveChanged),
                     this);

    GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    GtkWidget* bar = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 4);
    gtk_widget_set_margin_start(bar, 4);
    gtk_widget_set_margin_end(bar, 4);
    gtk_widget_set_margin_top(bar, 4);
    gtk_widget_set_margin_bottom(bar, 4);
    const auto button = [&](const char* icon, const char* tip, void (*clicked)(BrowserWindow*)) {
        GtkWidget* widget = gtk_button_new_from_icon_name(icon);
        gtk_widget_set_tooltip_text(widget, tip);
        g_signal_connect_swapped(widget, "clicked", G_CALLBACK(clicked), this);
        gtk_box_append(GTK_BOX(bar), widget);
        return widget;
    };
    back_ = button("go-previous", "Back", [](BrowserWindow* self) { self->goBack(); });
    forward_ = button("go-next", "Forward", [](BrowserWindow* self) { self->goForward(); });
    button("view-refresh", "Reload", [](BrowserWindow* self) { self->reload(); });
    address_ = gtk_entry_new();
    gtk_widget_set_hexpand(address_, TRUE);
    g_signal_connect(address_, "activate", G_CALLBACK(&BrowserWindow::onAddressActivate), this);
    gtk_box_append(GTK_BOX(bar), address_);
    clipButton_ = gtk_toggle_button_new_with_label("Tamrix");
    gtk_widget_set_tooltip_text(clipButton_, "Clip from this page with Tamrix");
    g_signal_connect_swapped(clipButton_, "clicked",
                             G_CALLBACK(+[](BrowserWindow* self) { self->pressToolbarButton(); }),
                             this);
    gtk_box_append(GTK_BOX(bar), clipButton_);
    gtk_box_append(GTK_BOX(column), bar);

    GtkWidget* overlay = gtk_overlay_new();
    area_ = gtk_drawing_area_new();
    gtk_widget_set_hexpand(area_, TRUE);
    gtk_widget_set_vexpand(area_, TRUE);
    gtk_widget_set_focusable(area_, TRUE);
    gtk_widget_set_can_focus(area_, TRUE);
    gtk_drawing_area_set_draw_func(GTK_DRAWING_AREA(area_), &BrowserWindow::onDraw, this, nullptr);
    gtk_overlay_set_child(GTK_OVERLAY(overlay), area_);

    scroll_ = gtk_adjustment_new(0, 0, 1, kLineStep, 100, 1);
    g_signal_connect(scroll_, "value-changed", G_CALLBACK(&BrowserWindow::onScrollValue), this);
    scrollBar_ = gtk_scrollbar_new(GTK_ORIENTATION_VERTICAL, scroll_);
    gtk_widget_set_halign(scrollBar_, GTK_ALIGN_END);
    gtk_widget_set_valign(scrollBar_, GTK_ALIGN_START);
    gtk_widget_set_size_request(scrollBar_, BrowserFrame::kScrollBarWidth, -1);
    gtk_overlay_add_overlay(GTK_OVERLAY(overlay), scrollBar_);
    gtk_box_append(GTK_BOX(column), overlay);

    status_ = gtk_label_new("");
    gtk_label_set_xalign(GTK_LABEL(status_), 0);
    gtk_label_set_ellipsize(GTK_LABEL(status_), PANGO_ELLIPSIZE_END);
    gtk_widget_set_margin_start(status_, 6);
    gtk_box_append(GTK_BOX(column), status_);
    gtk_window_set_child(GTK_WINDOW(window_), column);

    GtkEventController* motion = gtk_event_controller_motion_new();
    g_signal_connect(motion, "motion", G_CALLBACK(&BrowserWindow::onMotion), this);
    g_signal_connect(motion, "leave", G_CALLBACK(&BrowserWindow::onLeave), this);
    gtk_widget_add_controller(area_, motion);
    GtkGesture* click = gtk_gesture_click_new();
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(click), 0);
    g_signal_connect(click, "pressed", G_CALLBACK(&BrowserWindow::onPressed), this);
    g_signal_connect(click, "released", G_CALLBACK(&BrowserWindow::onReleased), this);
    gtk_widget_add_controller(area_, GTK_EVENT_CONTROLLER(click));
    GtkEventController* wheel =
        gtk_event_controller_scroll_new(GTK_EVENT_CONTROLLER_SCROLL_BOTH_AXES);
    g_signal_connect(wheel, "scroll", G_CALLBACK(&BrowserWindow::onScroll), this);
    gtk_widget_add_controller(area_, wheel);
    GtkEventController* keys = gtk_event_controller_key_new();
    g_signal_connect(keys, "key-pressed", G_CALLBACK(&BrowserWindow::onKeyPressed), this);
    g_signal_connect(keys, "key-released", G_CALLBACK(&BrowserWindow::onKeyReleased), this);
    gtk_widget_add_controller(area_, keys);

    gtk_window_present(GTK_WINDOW(window_));
    gtk_widget_grab_focus(area_);
}

// --- navigation ----------------------------------------------------------------------------

bool BrowserWindow::open(const std::wstring& address) {
    const std::wstring target = typedAddress(address);
    if (target.empty()) {
        return false;
    }
    const bool arrived = browser_->navigate(target);
    noticeNewPage();
    return arrived;
}

void BrowserWindow::goBack() {
    if (const auto address = history_.back()) {
        pendingSteps_ = -1;
        browser_->navigate(*address);
        noticeNewPage();
    }
}

void BrowserWindow::goForward() {
    if (const auto address = history_.forward()) {
        pendingSteps_ = 1;
        browser_->navigate(*address);
        noticeNewPage();
    }
}

void BrowserWindow::reload() {
    if (!browser_->locationUrl().empty()) {
        browser_->navigate(browser_->locationUrl());
        noticeNewPage();
    }
}

void BrowserWindow::pressToolbarButton() {
    toolbarButton_->Exec(nullptr, 0, 0, nullptr, nullptr);
    syncControls();
    // The keys go back to the page, as after a click on a browser's tool bar.
    gtk_widget_grab_focus(area_);
}

// A new document in the tab (from any navigation: the address, a link, the side pane, a
// command): the history records it and the page gets a fresh pointer and picture.
void BrowserWindow::noticeNewPage() {
    const auto document = browser_->document();
    if (document.get() == shownDocument_.get()) {
        pendingSteps_ = 0;
        return;
    }
    shownDocument_ = document;
    if (pendingSteps_ != 0) {
        history_.moved(pendingSteps_);
    } else {
        history_.visited(browser_->locationUrl());
    }
    pendingSteps_ = 0;
    const auto shown = page();
    pointer_ = shown ? std::make_unique<PagePointer>(shown) : nullptr;
    pagePicture_.forget();
    areaWidth_ = 0;  // the new page takes the viewport's size
    gtk_editable_set_text(GTK_EDITABLE(address_), toUtf8(browser_->locationUrl()).c_str());
    const std::wstring title = shown ? shown->title() : L"";
    gtk_window_set_title(
        GTK_WINDOW(window_),
        toUtf8((title.empty() ? browser_->locationUrl() : title) + L" - Tamrix browser").c_str());
    syncControls();
}

std::shared_ptr<dom::Document> BrowserWindow::page() const {
    const auto document = addon::asHtmlDocument(browser_->document());
    return document ? document->page() : nullptr;
}

std::shared_ptr<dom::Document> BrowserWindow::toolbarPage() const {
    const int index = addon::findWindowByBrowser(browser_);
    if (index == -1 || !addon::windowEntry(index).toolbox) {
        return nullptr;
    }
    const auto* view =
        dynamic_cast<const addon::Toolbox*>(addon::windowEntry(index).toolbox->view());
    return view ? view->page() : nullptr;
}

// --- the stand-in's time -------------------------------------------------------------------

gboolean BrowserWindow::onTick(gpointer self) {
    static_cast<BrowserWindow*>(self)->tick();
    return G_SOURCE_CONTINUE;
}

void BrowserWindow::tick() {
    ui::windows().pumpMessages();
    if (const auto shown = page()) {
        shown->pumpTasks();
    }
    if (browser_->document().get() != shownDocument_.get()) {
        noticeNewPage();
    }
    arrangeFrame();
    fitToolbarPage();
    bool redraw = false;
    if (const auto shown = page(); shown && pagePicture_.stale(*shown)) {
        redraw = true;
    }
    if (const auto toolbar = toolbarPage(); toolbar && toolbarPicture_.stale(*toolbar)) {
        redraw = true;
    }
    // The side pane paints in its own program; whether it did is asked now and then.
    const gint64 now = g_get_monotonic_time();
    if (const ui::HWND bar = frame_.explorerBarWindow(); !bar) {
        barPicture_.forget();
    } else if (now - lastBarCheck_ > kBarCheckUs) {
        lastBarCheck_ = now;
        redraw = barPicture_.refresh(addon::paneWindows(), bar) || redraw;
    }
    if (redraw) {
        gtk_widget_queue_draw(area_);
    }
    syncControls();
}

// Places the stand-in windows for the drawing area's size and tells the page its viewport.
void BrowserWindow::arrangeFrame() {
    const int width = gtk_widget_get_width(area_);
    const int height = gtk_widget_get_height(area_);
    if (width <= 0 || height <= 0) {
        return;
    }
    const ui::HWND band = frame_.toolboxWindow();
    const ui::HWND bar = frame_.explorerBarWindow();
    const bool changed = width != areaWidth_ || height != areaHeight_ ||
                         (band && frame_.pageArea().top < frame_.toolboxArea().bottom) ||
                         (!band && frame_.pageArea().top != 0) ||
                         (bar && frame_.pageArea().left < frame_.explorerBarArea().right) ||
                         (!bar && frame_.pageArea().left != 0);
    if (!changed) {
        return;
    }
    areaWidth_ = width;
    areaHeight_ = height;
    frame_.arrange(width, height);
    const ui::Rect area = frame_.pageArea();
    if (const auto shown = page()) {
        shown->parentWindow().setScreenOrigin({area.left, area.top});
        shown->parentWindow().resizeTo(std::max(1, area.width() - BrowserFrame::kScrollBarWidth),
                                       std::max(1, area.height()));
    }
    gtk_widget_set_margin_top(scrollBar_, area.top);
    gtk_widget_set_size_request(scrollBar_, BrowserFrame::kScrollBarWidth, area.height());
    gtk_widget_queue_draw(area_);
}

// The toolbar page, which may arrive after its band opened, is laid out at the band's size.
void BrowserWindow::fitToolbarPage() {
    const ui::HWND toolbox = frame_.toolboxWindow();
    const auto toolbar = toolbarPage();
    if (!toolbox || !toolbar) {
        return;
    }
    const ui::Rect rect = ui::windows().windowRect(toolbox);
    const int width = std::max(1, rect.width());
    const int height = std::max(1, rect.height());
    dom::Window& view = toolbar->parentWindow();
    if (view.innerWidth() != width || view.innerHeight() != height) {
        view.resizeTo(width, height);
        gtk_widget_queue_draw(area_);
    }
}

void BrowserWindow::syncControls() {
    gtk_widget_set_sensitive(back_, history_.canGoBack());
    gtk_widget_set_sensitive(forward_, history_.canGoForward());
    const bool attached = addon::isToolboxVisible(browser_);
    if (gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(clipButton_)) != attached) {
        g_signal_handlers_block_matched(clipButton_, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr,
                                        this);
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(clipButton_), attached);
        g_signal_handlers_unblock_matched(clipButton_, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr,
                                          this);
    }
    const std::string status = toUtf8(browser_->statusText());
    if (status != gtk_label_get_text(GTK_LABEL(status_))) {
        gtk_label_set_text(GTK_LABEL(status_), status.c_str());
    }
    const auto shown = page();
    if (!shown) {
        return;
    }
    const dom::Window& view = shown->parentWindow();
    const double upper = std::max(shown->layout().contentSize().height, view.innerHeight());
    const double value = view.scrollPosition().y;
    if (gtk_adjustment_get_upper(scroll_) != upper ||
        gtk_adjustment_get_page_size(scroll_) != view.innerHeight() ||
        gtk_adjustment_get_value(scroll_) != value) {
        syncingScroll_ = true;
        gtk_adjustment_configure(scroll_, value, 0, upper, kLineStep, view.innerHeight() * 0.9,
                                 view.innerHeight());
        syncingScroll_ = false;
    }
}

// --- painting ------------------------------------------------------------------------------

void BrowserWindow::onDraw(GtkDrawingArea*, cairo_t* cr, int width, int height, gpointer self) {
    static_cast<BrowserWindow*>(self)->draw(cr, width, height);
}

void BrowserWindow::draw(cairo_t* cr, int width, int height) {
    cairo_set_source_rgb(cr, 0.94, 0.94, 0.94);
    cairo_rectangle(cr, 0, 0, width, height);
    cairo_fill(cr);
    if (const auto shown = page()) {
        const ui::Rect area = frame_.pageArea();
        if (cairo_surface_t* picture = pagePicture_.update(*shown)) {
            cairo_set_source_surface(cr, picture, area.left, area.top);
            cairo_paint(cr);
        }
    }
    drawToolbox(cr);
    drawExplorerBar(cr);
}

void BrowserWindow::drawToolbox(cairo_t* cr) {
    const auto toolbar = toolbarPage();
    const ui::Rect area = frame_.toolboxArea();
    if (!toolbar || area.empty()) {
        return;
    }
    if (cairo_surface_t* picture = toolbarPicture_.update(*toolbar)) {
        cairo_save(cr);
        cairo_rectangle(cr, area.left, area.top, area.width(), area.height());
        cairo_clip(cr);
        cairo_set_source_surface(cr, picture, area.left, area.top);
        cairo_paint(cr);
        cairo_restore(cr);
    }
}

void BrowserWindow::onActiveChanged(GtkWindow* window, GParamSpec*, gpointer self) {
    if (gtk_window_is_active(window)) {
        ui::windows().setForeground(static_cast<BrowserWindow*>(self)->frame_.frame());
    }
}

void BrowserWindow::drawExplorerBar(cairo_t* cr) {
    const ui::HWND bar = frame_.explorerBarWindow();
    if (!bar) {
        return;
    }
    cairo_surface_t* picture = barPicture_.surface();
    if (!picture) {
        return;
    }
    const ui::Rect area = ui::windows().windowRect(bar);
    cairo_set_source_surface(cr, picture, area.left, area.top);
    cairo_paint(cr);
}

// --- input ---------------------------------------------------------------------------------

BrowserWindow::Region BrowserWindow::regionAt(double x, double y) const {
    const int px = static_cast<int>(x);
    const int py = static_cast<int>(y);
    if (inside(frame_.toolboxArea(), px, py)) {
        return Region::toolbox;
    }
    if (inside(frame_.explorerBarArea(), px, py)) {
        return Region::explorerBar;
    }
    if (inside(frame_.pageArea(), px, py)) {
        return Region::page;
    }
    return Region::none;
}

void BrowserWindow::onMotion(GtkEventControllerMotion* controller, double x, double y,
                             gpointer self) {
    static_cast<BrowserWindow*>(self)->pointerMoved(x, y,
                                                    stateOf(GTK_EVENT_CONTROLLER(controller)));
}

void BrowserWindow::onLeave(GtkEventControllerMotion*, gpointer self) {
    static_cast<BrowserWindow*>(self)->pointerLeft();
}

void BrowserWindow::onPressed(GtkGestureClick* gesture, int presses, double x, double y,
                              gpointer self) {
    static_cast<BrowserWindow*>(self)->pointerPressed(
        static_cast<int>(gtk_gesture_single_get_current_button(GTK_GESTURE_SINGLE(gesture))),
        presses, x, y, stateOf(GTK_EVENT_CONTROLLER(gesture)));
}

void BrowserWindow::onReleased(GtkGestureClick* gesture, int presses, double x, double y,
                               gpointer self) {
    static_cast<BrowserWindow*>(self)->pointerReleased(
        static_cast<int>(gtk_gesture_single_get_current_button(GTK_GESTURE_SINGLE(gesture))),
        presses, x, y, stateOf(GTK_EVENT_CONTROLLER(gesture)));
}

gboolean BrowserWindow::onScroll(GtkEventControllerScroll* controller, double dx, double dy,
                                 gpointer self) {
    return static_cast<BrowserWindow*>(self)->wheel(dx, dy,
                                                    stateOf(GTK_EVENT_CONTROLLER(controller)));
}

gboolean BrowserWindow::onKeyPressed(GtkEventControllerKey*, guint keyval, guint,
                                     GdkModifierType state, gpointer self) {
    return static_cast<BrowserWindow*>(self)->keyPressed(keyval, state, true);
}

void BrowserWindow::onKeyReleased(GtkEventControllerKey*, guint keyval, guint,
                                  GdkModifierType state, gpointer self) {
    static_cast<BrowserWindow*>(self)->keyPressed(keyval, state, false);
}

void BrowserWindow::pointerMoved(double x, double y, GdkModifierType state) {
    pointerX_ = x;
    pointerY_ = y;
    const Region region = pressedIn_ != Region::none ? pressedIn_ : regionAt(x, y);
    if (region == Region::explorerBar) {
        toSidePane(ui::WM_MOUSEMOVE, keysOf(state), x, y);
    } else if (region == Region::page && pointer_) {
        const ui::Rect area = frame_.pageArea();
        pointer_->move(static_cast<int>(x) - area.left, static_cast<int>(y) - area.top,
                       keyModifiers(state));
    } else if (pointer_ && pressedIn_ == Region::none) {
        pointer_->leave();
    }
}

void BrowserWindow::pointerLeft() {
    if (pointer_ && pressedIn_ == Region::none) {
        pointer_->leave();
    }
}

void BrowserWindow::pointerPressed(int button, int presses, double x, double y,
                                   GdkModifierType state) {
    gtk_widget_grab_focus(area_);
    pressedIn_ = regionAt(x, y);
    if (pressedIn_ == Region::explorerBar) {
        toSidePane(button == GDK_BUTTON_SECONDARY ? ui::WM_RBUTTONDOWN
                   : button == GDK_BUTTON_MIDDLE  ? ui::WM_MBUTTONDOWN
                                                  : ui::WM_LBUTTONDOWN,
                   keysOf(state), x, y);
    } else if (pressedIn_ == Region::page && pointer_ && buttonOf(button)) {
        const ui::Rect area = frame_.pageArea();
        pointer_->press(static_cast<PointerButton>(buttonOf(button)),
                        static_cast<int>(x) - area.left, static_cast<int>(y) - area.top,
                        keyModifiers(state), presses == 2);
    }
}

void BrowserWindow::pointerReleased(int button, int presses, double x, double y,
                                    GdkModifierType state) {
    const Region region = pressedIn_;
    pressedIn_ = Region::none;
    if (region == Region::explorerBar) {
        toSidePane(button == GDK_BUTTON_SECONDARY ? ui::WM_RBUTTONUP
                   : button == GDK_BUTTON_MIDDLE  ? ui::WM_MBUTTONUP
                                                  : ui::WM_LBUTTONUP,
                   keysOf(state), x, y);
        return;
    }
    if (region == Region::page && pointer_ && buttonOf(button)) {
        const ui::Rect area = frame_.pageArea();
        const int px = static_cast<int>(x) - area.left;
        const int py = static_cast<int>(y) - area.top;
        const auto kind = static_cast<PointerButton>(buttonOf(button));
        const bool passed = pointer_->release(kind, px, py, keyModifiers(state), presses == 2);
        if (passed && kind == PointerButton::left && presses == 1) {
            followLinkAt(px, py);
        }
        return;
    }
    if (region == Region::toolbox && regionAt(x, y) == Region::toolbox) {
        const int index = addon::findWindowByBrowser(browser_);
        auto* view =
            index == -1 || !addon::windowEntry(index).toolbox
                ? nullptr
                : dynamic_cast<const addon::Toolbox*>(addon::windowEntry(index).toolbox->view());
        const ui::Rect area = frame_.toolboxArea();
        const int px = static_cast<int>(x) - area.left;
        const int py = static_cast<int>(y) - area.top;
        if (view && button == GDK_BUTTON_PRIMARY) {
            const_cast<addon::Toolbox*>(view)->click(px, py);
        } else if (view && button == GDK_BUTTON_SECONDARY && view->page()) {
            view->page()->dispatchMouseEvent(L"contextmenu", px, py, 2);
        }
    }
}

void BrowserWindow::followLinkAt(int x, int y) {
    const auto shown = page();
    if (!shown) {
        return;
    }
    const std::wstring link = platform::browser::linkOf(shown->elementFromPoint(x, y));
    if (link.empty() || link.starts_with(L"javascript:")) {
        return;
    }
    const std::wstring target = addon::joinUrl(shown->URL(), link);
    if (withoutFragment(target) == withoutFragment(shown->URL())) {
        return;
    }
    browser_->navigate(target);
    noticeNewPage();
}

bool BrowserWindow::toSidePane(ui::UINT message, ui::WPARAM wParam, double x, double y) {
    const ui::HWND bar = frame_.explorerBarWindow();
    if (!bar || !addon::paneWindows().postPointer(bar, message, wParam, static_cast<int>(x),
                                                  static_cast<int>(y))) {
        return false;
    }
    lastBarCheck_ = 0;  // the pane's new picture is shown at the next step
    return true;
}

bool BrowserWindow::wheel(double dx, double dy, GdkModifierType state) {
    if (regionAt(pointerX_, pointerY_) == Region::explorerBar) {
        const auto turn = static_cast<std::uint16_t>(static_cast<int>(-dy * ui::WHEEL_DELTA));
        return toSidePane(ui::WM_MOUSEWHEEL, keysOf(state) | ui::WPARAM{turn} << 16, pointerX_,
                          pointerY_);
    }
    if (regionAt(pointerX_, pointerY_) == Region::toolbox) {
        // The toolbar page's links wrap onto more rows than the band shows: the wheel
        // scrolls the band's page so that every link can be reached.
        if (const auto toolbar = toolbarPage()) {
            dom::Window& view = toolbar->parentWindow();
            view.scrollTo(view.scrollPosition().x + static_cast<int>(dx * kBandStep),
                          view.scrollPosition().y + static_cast<int>(dy * kBandStep));
            gtk_widget_queue_draw(area_);
        }
        return true;
    }
    const auto shown = page();
    if (!shown) {
        return false;
    }
    const dom::KeyModifiers modifiers = keyModifiers(state);
    if (!shown->dispatchMouseEvent(L"mousewheel", 0, 0, 0, modifiers)) {
        return true;
    }
    scrollBy(static_cast<int>(dx * kWheelStep), static_cast<int>(dy * kWheelStep));
    return true;
}

void BrowserWindow::scrollBy(int dx, int dy) {
    if (const auto shown = page()) {
        const dom::Point at = shown->parentWindow().scrollPosition();
        shown->parentWindow().scrollTo(at.x + dx, at.y + dy);
        gtk_widget_queue_draw(area_);
    }
}

void BrowserWindow::onScrollValue(GtkAdjustment* adjustment, gpointer self) {
    auto* window = static_cast<BrowserWindow*>(self);
    if (window->syncingScroll_) {
        return;
    }
    if (const auto shown = window->page()) {
        shown->parentWindow().scrollTo(shown->parentWindow().scrollPosition().x,
                                       static_cast<int>(gtk_adjustment_get_value(adjustment)));
        gtk_widget_queue_draw(window->area_);
    }
}

bool BrowserWindow::keyPressed(guint keyval, GdkModifierType state, bool down) {
    const int code = virtualKeyCode(keyval);
    const auto shown = page();
    if (code == 0 || !shown) {
        return false;
    }
    const dom::KeyModifiers modifiers = keyModifiers(state);
    const bool passed = shown->dispatchKeyEvent(down ? L"keydown" : L"keyup", code, modifiers);
    if (down && passed) {
        browserKey(code, modifiers);
    }
    return true;
}

// What the browser itself does with a key its page left alone.
bool BrowserWindow::browserKey(int keyCode, const dom::KeyModifiers& modifiers) {
    const auto shown = page();
    const int view = shown ? shown->parentWindow().innerHeight() : 0;
    if (modifiers.alt && keyCode == 37) {
        goBack();
    } else if (modifiers.alt && keyCode == 39) {
        goForward();
    } else if (keyCode == 116) {
        reload();
    } else if (modifiers.ctrl && keyCode == 'L') {
        gtk_widget_grab_focus(address_);
    } else if (modifiers.ctrl || modifiers.alt) {
        return false;
    } else if (keyCode == 38 || keyCode == 40) {
        scrollBy(0, keyCode == 38 ? -kLineStep : kLineStep);
    } else if (keyCode == 33 || keyCode == 34 || keyCode == 32) {
        scrollBy(0, keyCode == 33 || (keyCode == 32 && modifiers.shift) ? -view * 9 / 10
                                                                        : view * 9 / 10);
    } else if (keyCode == 36 || keyCode == 35) {
        scrollBy(0, keyCode == 36 ? -(1 << 28) : (1 << 28));
    } else {
        return false;
    }
    return true;
}

void BrowserWindow::onAddressActivate(GtkEntry* entry, gpointer self) {
    auto* window = static_cast<BrowserWindow*>(self);
    const std::wstring text = fromUtf8(gtk_editable_get_text(GTK_EDITABLE(entry)));
    window->open(text);
    gtk_widget_grab_focus(window->area_);
}

gboolean BrowserWindow::onCloseRequest(GtkWindow*, gpointer self) {
    auto* window = static_cast<BrowserWindow*>(self);
    if (window->closed_) {
        window->closed_();
    }
    return TRUE;
}

}  // namespace host::browser
