#include "platform/ui/gtk/dialog_view.h"

#include <algorithm>

#include "platform/text/utf.h"
#include "platform/ui/gtk/mnemonic.h"
#include "platform/ui/gtk/modal_loop.h"
#include "platform/ui/window_system.h"

namespace platform::ui::gtk {

namespace {

constexpr guint kRefreshMs = 50;
constexpr int kMargin = 8;
// GTK's widgets are taller than the controls of a dialog resource (an entry needs about 34
// pixels where the resource gives 22), so the dialog is laid out half as large again.
constexpr double kScale = 1.5;
// A combo box's resource height includes its open list; shown closed it takes one line.
constexpr int kComboHeight = 34;

int scaled(int length) {
    return static_cast<int>(length * kScale + 0.5);
}

std::wstring widgetText(GtkWidget* entry) {
    return text::fromUtf8(gtk_editable_get_text(GTK_EDITABLE(entry)));
}

// The row of a list as its widget shows it: a tick box when the list has them, then one
// label per column.
GtkWidget* listRow(const ListRow& row, const ControlState& state, bool ticks) {
    GtkWidget* line = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 12);
    if (ticks) {
        GtkWidget* tick = gtk_check_button_new();
        gtk_check_button_set_active(GTK_CHECK_BUTTON(tick), row.checked);
        gtk_box_append(GTK_BOX(line), tick);
    }
    const std::size_t columns = std::max<std::size_t>(1, state.columns.size());
    for (std::size_t column = 0; column < columns; ++column) {
        const std::wstring text = column < row.texts.size() ? row.texts[column] : L"";
        GtkWidget* label = gtk_label_new(text::toUtf8(text).c_str());
        gtk_label_set_xalign(GTK_LABEL(label), 0);
        gtk_label_set_ellipsize(GTK_LABEL(label), PANGO_ELLIPSIZE_END);
        gtk_widget_set_hexpand(label, column == 0);
        gtk_box_append(GTK_BOX(line), label);
    }
    return line;
}

bool sameRows(const std::vector<ListRow>& a, const std::vector<ListRow>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const ListRow& x, const ListRow& y) {
                          return x.texts == y.texts && x.checked == y.checked;
                      });
}

// A report list shows tick boxes when any of its rows is ticked or it was made with them;
// the stand-in keeps no separate style bit, so a list view always offers them.
bool hasTicks(const ControlState& state) {
    return state.kind == ControlKind::listView;
}

}  // namespace

DialogView::DialogView(DialogDriver& driver, GtkWindow* parent) : driver_(driver) {
    window_ = gtk_window_new();
    gtk_window_set_modal(GTK_WINDOW(window_), TRUE);
    if (parent) {
        gtk_window_set_transient_for(GTK_WINDOW(window_), parent);
    }
    gtk_window_set_resizable(GTK_WINDOW(window_), FALSE);
    gtk_window_set_title(GTK_WINDOW(window_), text::toUtf8(driver_.caption()).c_str());
    g_signal_connect(window_, "close-request",
                     G_CALLBACK(+[](GtkWindow*, gpointer self) -> gboolean {
                         auto* view = static_cast<DialogView*>(self);
                         view->act([view] { view->driver_.close(); });
                         return TRUE;
                     }),
                     this);
    build();
}

DialogView::~DialogView() {
    if (refreshSource_) {
        g_source_remove(refreshSource_);
    }
    gtk_window_destroy(GTK_WINDOW(window_));
}

void DialogView::build() {
    fixed_ = gtk_fixed_new();
    const DialogTemplate& definition = driver_.dialog().definition();
    const Rect size = dialogUnitsToPixels({0, 0, definition.width, definition.height});
    gtk_widget_set_size_request(fixed_, scaled(size.width()), scaled(size.height()));
    gtk_widget_set_margin_start(fixed_, kMargin);
    gtk_widget_set_margin_end(fixed_, kMargin);
    gtk_widget_set_margin_top(fixed_, kMargin);
    gtk_widget_set_margin_bottom(fixed_, kMargin);
    gtk_window_set_child(GTK_WINDOW(window_), fixed_);

    WindowSystem& system = windows();
    auto children = system.children(driver_.dialog().handle());
    // Bottom of the z-order first, so frames lie under the controls they hold.
    std::reverse(children.begin(), children.end());
    std::stable_partition(children.begin(), children.end(), [&](HWND child) {
        const auto state = system.control(child);
        return state && state->kind == ControlKind::groupBox;
    });
    GtkWidget* firstRadio = nullptr;
    for (const HWND child : children) {
        const auto state = system.control(child);
        const int id = system.controlId(child);
        if (!state || state->kind == ControlKind::none) {
            continue;
        }
        Shown shown = makeWidget(id, *state, system.text(child));
        shown.handle = child;
        if (state->kind == ControlKind::radioButton) {
            if (!state->groupStart && firstRadio) {
                gtk_check_button_set_group(GTK_CHECK_BUTTON(shown.widget),
                                           GTK_CHECK_BUTTON(firstRadio));
            }
            firstRadio = shown.widget;
        } else if (state->kind != ControlKind::groupBox && state->kind != ControlKind::staticText) {
            firstRadio = nullptr;
        }
        const Rect place = system.placement(child);
        const bool combo =
            state->kind == ControlKind::comboBox || state->kind == ControlKind::dropDownList;
        const int height = combo ? kComboHeight : scaled(place.height());
        gtk_widget_set_size_request(shown.widget, std::max(1, scaled(place.width())),
                                    std::max(1, height));
        gtk_fixed_put(GTK_FIXED(fixed_), shown.widget, scaled(place.left), scaled(place.top));
        if (state->kind == ControlKind::pushButton && state->defaultButton) {
            gtk_window_set_default_widget(GTK_WINDOW(window_), shown.widget);
        }
        // Duplicate ids (several static labels share IDC_STATIC) are shown but not kept.
        const bool kept = id != IDC_STATIC && !controls_.contains(id);
        Shown& placed = kept ? (controls_[id] = shown) : shown;
        syncing_ = true;
        refreshControl(placed, *state, system.text(child));
        syncing_ = false;
        if (kept) {
            connect(id, placed);
        }
    }
}

DialogView::Shown DialogView::makeWidget(int, const ControlState& state, const std::wstring& text) {
    Shown shown;
    switch (state.kind) {
        case ControlKind::staticText: {
            shown.widget = gtk_label_new(plainLabel(text).c_str());
            gtk_label_set_xalign(GTK_LABEL(shown.widget), 0);
            gtk_label_set_yalign(GTK_LABEL(shown.widget), 0);
            gtk_label_set_wrap(GTK_LABEL(shown.widget), TRUE);
            break;
        }
        case ControlKind::groupBox:
            shown.widget = gtk_frame_new(plainLabel(text).c_str());
            break;
        case ControlKind::pushButton:
            shown.widget = gtk_button_new_with_mnemonic(mnemonicLabel(text).c_str());
            break;
        case ControlKind::checkBox:
        case ControlKind::radioButton:
            shown.widget = gtk_check_button_new_with_mnemonic(mnemonicLabel(text).c_str());
            break;
        case ControlKind::edit:
            shown.widget = gtk_entry_new();
            gtk_entry_set_activates_default(GTK_ENTRY(shown.widget), TRUE);
            break;
        case ControlKind::comboBox:
            shown.widget = gtk_combo_box_text_new_with_entry();
            gtk_entry_set_activates_default(
                GTK_ENTRY(gtk_combo_box_get_child(GTK_COMBO_BOX(shown.widget))), TRUE);
            break;
        case ControlKind::dropDownList:
            shown.widget = gtk_combo_box_text_new();
            break;
        case ControlKind::listBox:
        case ControlKind::listView: {
            shown.widget = gtk_scrolled_window_new();
            gtk_scrolled_window_set_has_frame(GTK_SCROLLED_WINDOW(shown.widget), TRUE);
            GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
            if (!state.columns.empty()) {
                GtkWidget* titles = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 12);
                for (std::size_t i = 0; i < state.columns.size(); ++i) {
                    GtkWidget* title = gtk_label_new(text::toUtf8(state.columns[i]).c_str());
                    gtk_label_set_xalign(GTK_LABEL(title), 0);
                    gtk_widget_set_hexpand(title, i == 0);
                    gtk_widget_add_css_class(title, "heading");
                    gtk_box_append(GTK_BOX(titles), title);
                }
                gtk_widget_set_margin_start(titles, hasTicks(state) ? 34 : 6);
                gtk_box_append(GTK_BOX(column), titles);
            }
            shown.inner = gtk_list_box_new();
            gtk_widget_set_vexpand(shown.inner, TRUE);
            gtk_box_append(GTK_BOX(column), shown.inner);
            gtk_scrolled_window_set_child(GTK_SCROLLED_WINDOW(shown.widget), column);
            break;
        }
        case ControlKind::progressBar:
            shown.widget = gtk_progress_bar_new();
            gtk_widget_set_valign(shown.widget, GTK_ALIGN_CENTER);
            break;
        case ControlKind::none:
            shown.widget = gtk_label_new("");
            break;
    }
    if (!shown.inner) {
        shown.inner = shown.widget;
    }
    return shown;
}

void DialogView::connect(int id, Shown& shown) {
    struct Link {
        DialogView* view;
        int id;
    };
    auto* link = new Link{this, id};
    const auto forget = +[](gpointer data, GClosure*) { delete static_cast<Link*>(data); };
    const auto kind = shown.state.kind;
    GtkWidget* widget = shown.inner;
    const auto on = [&](GtkWidget* target, const char* signal, GCallback callback) {
        g_signal_connect_data(target, signal, callback, new Link(*link), forget,
                              static_cast<GConnectFlags>(0));
    };
    switch (kind) {
        case ControlKind::pushButton:
            on(widget, "clicked", G_CALLBACK(+[](GtkButton*, gpointer data) {
                   auto* link = static_cast<Link*>(data);
                   link->view->act([link] { link->view->driver_.click(link->id); });
               }));
            break;
        case ControlKind::checkBox:
        case ControlKind::radioButton:
            on(widget, "toggled", G_CALLBACK(+[](GtkCheckButton* button, gpointer data) {
                   auto* link = static_cast<Link*>(data);
                   const bool active = gtk_check_button_get_active(button);
                   link->view->act([link, active] {
                       DialogDriver& driver = link->view->driver_;
                       // A radio button is clicked when it comes on; going off is the
                       // group's doing.
                       if (driver.checked(link->id) != active &&
                           (active ||
                            link->view->controls_[link->id].state.kind == ControlKind::checkBox)) {
                           driver.click(link->id);
                       }
                   });
               }));
            break;
        case ControlKind::edit:
            on(widget, "changed", G_CALLBACK(+[](GtkEditable* entry, gpointer data) {
                   auto* link = static_cast<Link*>(data);
                   const std::wstring typed = widgetText(GTK_WIDGET(entry));
                   link->view->act([link, typed] {
                       if (link->view->driver_.text(link->id) != typed) {
                           link->view->driver_.type(link->id, typed);
                       }
                   });
               }));
            break;
        case ControlKind::comboBox:
        case ControlKind::dropDownList:
            on(widget, "changed", G_CALLBACK(+[](GtkComboBox* combo, gpointer data) {
                   auto* link = static_cast<Link*>(data);
                   const int row = gtk_combo_box_get_active(combo);
                   const bool editable = gtk_combo_box_get_has_entry(combo);
                   const std::wstring typed =
                       editable ? widgetText(gtk_combo_box_get_child(combo)) : L"";
                   link->view->act([link, row, editable, typed] {
                       DialogDriver& driver = link->view->driver_;
                       if (row >= 0 && row != driver.selection(link->id)) {
                           driver.chooseRow(link->id, row);
                       } else if (row < 0 && editable && driver.text(link->id) != typed) {
                           driver.type(link->id, typed);
                       }
                   });
               }));
            break;
        case ControlKind::listBox:
        case ControlKind::listView:
            on(widget, "row-selected",
               G_CALLBACK(+[](GtkListBox*, GtkListBoxRow* row, gpointer data) {
                   auto* link = static_cast<Link*>(data);
                   const int index = row ? gtk_list_box_row_get_index(row) : -1;
                   link->view->act([link, index] {
                       if (index >= 0 && index != link->view->driver_.selection(link->id)) {
                           link->view->driver_.chooseRow(link->id, index);
                       }
                   });
               }));
            on(widget, "row-activated",
               G_CALLBACK(+[](GtkListBox*, GtkListBoxRow* row, gpointer data) {
                   auto* link = static_cast<Link*>(data);
                   const int index = gtk_list_box_row_get_index(row);
                   link->view->act(
                       [link, index] { link->view->driver_.doubleClick(link->id, index); });
               }));
            break;
        default:
            break;
    }
    delete link;
}

void DialogView::act(const std::function<void()>& action) {
    if (syncing_ || driver_.ended()) {
        return;
    }
    try {
        action();
    } catch (const ScriptError&) {
        // The control went away or off while the person used it: nothing happens, as
        // with a real control.
    }
    refresh();
}

void DialogView::refresh() {
    if (driver_.ended()) {
        return;
    }
    WindowSystem& system = windows();
    syncing_ = true;
    const std::string caption = text::toUtf8(driver_.caption());
    if (caption != gtk_window_get_title(GTK_WINDOW(window_))) {
        gtk_window_set_title(GTK_WINDOW(window_), caption.c_str());
    }
    for (auto& [id, shown] : controls_) {
        const auto state = system.control(shown.handle);
        if (state) {
            refreshControl(shown, *state, system.text(shown.handle));
        }
    }
    // The program moved the focus (to a field it found wrong, say): the keys follow it.
    if (const int focus = driver_.focus(); focus != focus_) {
        focus_ = focus;
        if (const auto shown = controls_.find(focus); shown != controls_.end()) {
            gtk_widget_grab_focus(shown->second.inner);
        }
    }
    syncing_ = false;
}

void DialogView::refreshControl(Shown& shown, const ControlState& state, const std::wstring& text) {
    WindowSystem& system = windows();
    const bool visible = system.isVisible(shown.handle);
    const bool enabled = system.isEnabled(shown.handle);
    if (visible != gtk_widget_get_visible(shown.widget)) {
        gtk_widget_set_visible(shown.widget, visible);
    }
    if (enabled != gtk_widget_get_sensitive(shown.widget)) {
        gtk_widget_set_sensitive(shown.widget, enabled);
    }
    const bool textChanged = text != shown.text || shown.fresh;
    switch (state.kind) {
        case ControlKind::staticText:
            if (textChanged) {
                gtk_label_set_text(GTK_LABEL(shown.widget), plainLabel(text).c_str());
            }
            break;
        case ControlKind::groupBox:
            if (textChanged) {
                gtk_frame_set_label(GTK_FRAME(shown.widget), plainLabel(text).c_str());
            }
            break;
        case ControlKind::pushButton:
            if (textChanged) {
                gtk_button_set_label(GTK_BUTTON(shown.widget), mnemonicLabel(text).c_str());
            }
            break;
        case ControlKind::checkBox:
        case ControlKind::radioButton:
            if (gtk_check_button_get_active(GTK_CHECK_BUTTON(shown.widget)) != (state.check == 1)) {
                gtk_check_button_set_active(GTK_CHECK_BUTTON(shown.widget), state.check == 1);
            }
            gtk_check_button_set_inconsistent(GTK_CHECK_BUTTON(shown.widget), state.check == 2);
            break;
        case ControlKind::edit:
            if (widgetText(shown.widget) != text) {
                gtk_editable_set_text(GTK_EDITABLE(shown.widget), text::toUtf8(text).c_str());
            }
            break;
        case ControlKind::comboBox:
        case ControlKind::dropDownList: {
            GtkComboBoxText* combo = GTK_COMBO_BOX_TEXT(shown.widget);
            if (shown.fresh || !sameRows(state.rows, shown.state.rows)) {
                gtk_combo_box_text_remove_all(combo);
                for (const ListRow& row : state.rows) {
                    gtk_combo_box_text_append_text(combo, text::toUtf8(row.text()).c_str());
                }
            }
            if (gtk_combo_box_get_active(GTK_COMBO_BOX(combo)) != state.selection) {
                gtk_combo_box_set_active(GTK_COMBO_BOX(combo), state.selection);
            }
            if (state.kind == ControlKind::comboBox) {
                GtkWidget* entry = gtk_combo_box_get_child(GTK_COMBO_BOX(combo));
                if (widgetText(entry) != text) {
                    gtk_editable_set_text(GTK_EDITABLE(entry), text::toUtf8(text).c_str());
                }
            }
            break;
        }
        case ControlKind::listBox:
        case ControlKind::listView:
            refreshRows(shown, state);
            break;
        case ControlKind::progressBar: {
            const int span = std::max(1, state.rangeMax - state.rangeMin);
            gtk_progress_bar_set_fraction(
                GTK_PROGRESS_BAR(shown.widget),
                std::clamp(static_cast<double>(state.position - state.rangeMin) / span, 0.0, 1.0));
            break;
        }
        case ControlKind::none:
            break;
    }
    shown.state = state;
    shown.text = text;
    shown.fresh = false;
}

void DialogView::refreshRows(Shown& shown, const ControlState& state) {
    GtkListBox* list = GTK_LIST_BOX(shown.inner);
    if (shown.fresh || !sameRows(state.rows, shown.state.rows)) {
        while (GtkWidget* child = gtk_widget_get_first_child(shown.inner)) {
            gtk_list_box_remove(list, child);
        }
        int index = 0;
        for (const ListRow& row : state.rows) {
            GtkWidget* line = listRow(row, state, hasTicks(state));
            gtk_list_box_append(list, line);
            if (hasTicks(state)) {
                struct Tick {
                    DialogView* view;
                    int id;
                    int row;
                };
                const int id = windows().controlId(shown.handle);
                g_signal_connect_data(
                    gtk_widget_get_first_child(line), "toggled",
                    G_CALLBACK(+[](GtkCheckButton* box, gpointer data) {
                        auto* tick = static_cast<Tick*>(data);
                        const bool on = gtk_check_button_get_active(box);
                        tick->view->act(
                            [tick, on] { tick->view->driver_.tickRow(tick->id, tick->row, on); });
                    }),
                    new Tick{this, id, index},
                    +[](gpointer data, GClosure*) { delete static_cast<Tick*>(data); },
                    static_cast<GConnectFlags>(0));
            }
            ++index;
        }
    }
    GtkListBoxRow* selected = gtk_list_box_get_selected_row(list);
    const int shownSelection = selected ? gtk_list_box_row_get_index(selected) : -1;
    if (shownSelection != state.selection) {
        if (state.selection < 0) {
            gtk_list_box_unselect_all(list);
        } else if (GtkListBoxRow* row = gtk_list_box_get_row_at_index(list, state.selection)) {
            gtk_list_box_select_row(list, row);
        }
    }
}

gboolean DialogView::onRefresh(gpointer self) {
    static_cast<DialogView*>(self)->refresh();
    return G_SOURCE_CONTINUE;
}

void DialogView::run() {
    gtk_window_present(GTK_WINDOW(window_));
    // GTK gives a window that has just been shown a focus of its own choice, so the
    // dialog's is set once it is on the screen: the control the dialog chose, else its
    // first field from the top left.
    runUntil([this] { return gtk_widget_get_mapped(window_) || driver_.ended(); });
    focus_ = driver_.focus();
    const Shown* first = nullptr;
    if (const auto focused = controls_.find(focus_); focused != controls_.end()) {
        first = &focused->second;
    } else {
        Rect best{};
        for (const auto& [id, shown] : controls_) {
            const Rect place = windows().placement(shown.handle);
            const bool field =
                shown.state.kind == ControlKind::edit || shown.state.kind == ControlKind::comboBox;
            if (field && gtk_widget_get_sensitive(shown.widget) &&
                (!first || place.top < best.top ||
                 (place.top == best.top && place.left < best.left))) {
                first = &shown;
                best = place;
            }
        }
    }
    if (first) {
        gtk_widget_grab_focus(first->inner);
    }
    refreshSource_ = g_timeout_add(kRefreshMs, &DialogView::onRefresh, this);
    runUntil([this] { return driver_.ended(); });
    g_source_remove(refreshSource_);
    refreshSource_ = 0;
    gtk_widget_set_visible(window_, FALSE);
}

}  // namespace platform::ui::gtk
