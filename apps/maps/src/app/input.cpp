// Window input: which part of the screen an event belongs to, in a fixed order of precedence,
// and what it becomes there. Keys and the wheel here; pointer moves and presses in input_pointer.cpp.

#include <algorithm>
#include <cmath>
#include <string>

#include "app/input_pointer.hpp"
#include "app/maps_app.hpp"
#include "app/offline_panel_view.hpp"
#include "app/ui_messages.hpp"
#include "directions/endpoint_input.hpp"
#include "draw_kit/layout_metrics.hpp"
#include "menu/menu_input.hpp"
#include "search_box/search_box_input.hpp"
#include "transitions/messages.hpp"
#include "transitions/plans.hpp"
#include "transitions/selection.hpp"
#include "transitions/view.hpp"

namespace maps {
namespace {

using zarn_ui::widget::Event;
using zarn_ui::widget::Key;
using zarn_ui::widget::MouseButtonEvent;
using zarn_ui::widget::NamedKey;
using zarn_ui::widget::PointerMoved;
using zarn_ui::widget::TextEditing;
using zarn_ui::widget::Wheel;

constexpr double kWheelZoomPerLine = 0.35;
constexpr double kPixelsPerLine = 40.0;
constexpr double kPanelScrollPerLine = 36.0;
constexpr double kPanelTopNoScroll = 50.0;
constexpr double kArrowPan = 80.0;

// One ASCII letter, either case.
bool is_letter_key(const std::string& text, char lower) {
  return text.size() == 1 && (text[0] == lower || text[0] == lower - 'a' + 'A');
}

// ---- keyboard ----

// Arrow keys move the map as a pointer drag by the same delta would.
std::optional<Point> arrow_pan(const Key& key) {
  if (key.is(NamedKey::ArrowDown)) return Point{0.0, kArrowPan};
  if (key.is(NamedKey::ArrowUp)) return Point{0.0, -kArrowPan};
  if (key.is(NamedKey::ArrowRight)) return Point{kArrowPan, 0.0};
  if (key.is(NamedKey::ArrowLeft)) return Point{-kArrowPan, 0.0};
  return std::nullopt;
}

bool shortcut_key(MapsApp& app, const Key& key, std::uint32_t modifiers, zarn_ui::state::State& state) {
  if (auto delta = arrow_pan(key)) {
    pan_map(app.session(), delta->x, delta->y);
    return true;
  }
  if (key.is(NamedKey::Escape)) {
    // Peel one layer at a time: the point of interest, the narrow panel, then the place.
    if (app.selected_poi) {
      app.selected_poi.reset();
    } else if (is_narrow_layout(app.bounds_rect) && app.panel.expanded) {
      app.panel.expanded = false;
    } else {
      app.model.selected.reset();
    }
    return true;
  }
  const std::string* text = key.text();
  if (!text) return false;
  const Point c = map_viewport_center(app.bounds_rect);
  const bool command_held =
      (modifiers & (zarn_ui::widget::modifiers::kControl | zarn_ui::widget::modifiers::kSuper)) != 0;
  if (*text == "/") {
    app.search_box.open();
  } else if (*text == "+" || *text == "=") {
    zoom_map_at(app.session(), 1.0, c.x, c.y);
  } else if (*text == "-" || *text == "_") {
    zoom_map_at(app.session(), -1.0, c.x, c.y);
  } else if (is_letter_key(*text, 'd')) {
    open_directions(app.session());
  } else if (is_letter_key(*text, 't')) {
    show_transit_directions(app.session(), state);
  } else if (is_letter_key(*text, 'f')) {
    fit_view_to_plan(app.session());
  } else if (is_letter_key(*text, 's') && !command_held) {
    toggle_selected_saved(app.session(), state);
  } else if (*text == "1") {
    set_panel(app.session(), Panel::Explore);
  } else if (*text == "2") {
    set_panel(app.session(), Panel::Directions);
  } else if (is_letter_key(*text, 'm')) {
    open_offline_panel(app);
  } else {
    return false;
  }
  return true;
}

void key_event(MapsApp& app, const Event& event, const Key& key, std::uint32_t modifiers, zarn_ui::state::State& state,
               bool& handled, double scale) {
  app.overlay.dismiss_tooltip();
  if (!key.pressed) return;
  if (app.overflow_menu.is_open()) {
    if (auto chosen = overflow_menu_event(app.overflow_menu, event, {modifiers, scale})) {
      route_message(app, *chosen, state);
    }
    handled = true;
  } else if (app.offline_panel.is_open()) {
    offline_panel_key(app, event, key, modifiers, scale);
    handled = true;
  } else if (app.endpoint_editor.editing()) {
    endpoint_field_key(app, event, key, modifiers, state, scale);
    handled = true;
  } else if (app.search_box.is_open()) {
    if (const auto message = search_box_key(app, event, key, modifiers, state, scale)) {
      route_message(app, *message, state);
    }
    handled = true;
  } else if (shortcut_key(app, key, modifiers, state)) {
    handled = true;
  }
}

// Text an input method is composing goes to the field that has the keys.
void text_editing_event(MapsApp& app, const Event& event, std::uint32_t modifiers, zarn_ui::state::State& state,
                        bool& handled, double scale) {
  if (app.overflow_menu.is_open()) return;
  if (app.offline_panel.is_open()) {
    // The input method composes into the area-search field while the panel is open.
    offline_area_event(app, event, modifiers, scale);
  } else if (app.endpoint_editor.editing()) {
    endpoint_field_event(app, event, modifiers, scale);
  } else if (app.search_box.is_open()) {
    search_box_field_event(app, event, modifiers, &state, scale);
  } else {
    return;
  }
  handled = true;
}

// ---- wheel ----

void wheel_event(MapsApp& app, const Wheel& wheel, bool& handled) {
  app.overlay.dismiss_tooltip();
  handled = true;
  const double lines = wheel.unit == Wheel::Unit::Lines ? wheel.dy : wheel.dy / kPixelsPerLine;
  if (!std::isfinite(lines)) return;
  // Only a panel drawn with its list last frame scrolls; over a collapsed, hidden or covered
  // panel the wheel zooms the map under the pointer.
  const std::optional<Rect> panel = app.side_panel.list_panel();
  const Point p = app.pointer.last;
  const bool over_map = !panel || !rect_contains_point(*panel, p.x, p.y) || p.y <= panel->y0 + kPanelTopNoScroll;
  if (over_map) {
    zoom_map_at(app.session(), kWheelZoomPerLine * lines, p.x, p.y);
    return;
  }
  app.side_panel.scroll_by(-kPanelScrollPerLine * lines);
}

}  // namespace

void MapsApp::handle_event(const zarn_ui::widget::Event& event, std::uint32_t modifiers, zarn_ui::state::State& state,
                           bool& handled, double scale) {
  if (dialog.is_open()) {
    dialog.modal_dialog_event(event, scale);
    if (dialog.take_dialog_close_request()) dialog.close();
    handled = true;
    return;
  }
  if (const auto* key = std::get_if<Key>(&event)) {
    key_event(*this, event, *key, modifiers, state, handled, scale);
    // A paste that found nothing it could read says so, rather than seem to do nothing.
    if (clipboard && clipboard->take_unreadable()) set_status(std::string(kPasteUnreadableText));
  } else if (const auto* wheel = std::get_if<Wheel>(&event)) {
    wheel_event(*this, *wheel, handled);
  } else if (const auto* move = std::get_if<PointerMoved>(&event)) {
    input_pointer::pointer_moved(*this, event, *move, modifiers, handled, scale);
  } else if (const auto* button = std::get_if<MouseButtonEvent>(&event)) {
    input_pointer::button_event(*this, event, *button, modifiers, state, handled, scale);
  } else if (std::holds_alternative<TextEditing>(event)) {
    text_editing_event(*this, event, modifiers, state, handled, scale);
  }
}

}  // namespace maps
