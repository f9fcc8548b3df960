// Window input: which part of the screen an event belongs to, in a fixed order of precedence,
// and what it becomes there. Keys and the wheel here; pointer moves and presses in input_pointer.cpp.

#include <algorithm>
#include <cmath>
#include <string>

#include "app/input_pointer.hpp"
#include "app/maps_app.hpp"
#include "app/messages.hpp"
#include "app/screen_geometry.hpp"
#include "app/transitions_later.hpp"
#include "app/view.hpp"
#include "base/text.hpp"

namespace maps {
namespace {

using zarn_ui::widget::Event;
using zarn_ui::widget::Key;
using zarn_ui::widget::MouseButtonEvent;
using zarn_ui::widget::NamedKey;
using zarn_ui::widget::PointerMoved;
using zarn_ui::widget::Wheel;

constexpr double kWheelZoomPerLine = 0.35;
constexpr double kPixelsPerLine = 40.0;
constexpr double kPanelScrollPerLine = 36.0;
constexpr double kPanelTopNoScroll = 50.0;
constexpr double kArrowPan = 80.0;
constexpr std::chrono::milliseconds kTypingPause{280};

std::string trimmed(const std::string& text) { return std::string(base::trim_white_space(text)); }

// One ASCII letter, either case.
bool is_letter_key(const std::string& text, char lower) {
  return text.size() == 1 && (text[0] == lower || text[0] == lower - 'a' + 'A');
}

// ---- keyboard ----

void endpoint_field_key(MapsApp& app, const Event& event, const Key& key, std::uint32_t modifiers, std::uint8_t extra,
                        double scale) {
  if (key.is(NamedKey::Escape)) {
    reset_endpoint_editor(app);
    handle_endpoint_editor_event(app, EndpointEvent{EndpointEvent::Nothing{}});
    return;
  }
  const std::uint8_t field = app.active_endpoint == 0 ? 0 : 1;
  auto& input = field == 0 ? app.origin_input : app.dest_input;
  std::string& copy = field == 0 ? app.origin_text : app.dest_text;
  input.focused = true;
  if (text_input_event(input, event, modifiers, extra, scale)) {
    app.endpoint_deadline.reset();
    handle_endpoint_editor_event(app, EndpointEvent{EndpointEvent::Submitted{trimmed(copy), field}});
  } else if (auto text = input.take_dirty()) {
    copy = *text;
    if (trimmed(copy).empty()) {
      app.endpoint_deadline.reset();
    } else {
      app.endpoint_deadline = app.mono_now() + kTypingPause;
    }
    handle_endpoint_editor_event(app, EndpointEvent{EndpointEvent::TextEdited{copy, field}});
  }
}

void search_box_key(MapsApp& app, const Event& event, const Key& key, std::uint32_t modifiers, std::uint8_t extra,
                    zarn_ui::state::State& state, double scale) {
  if (key.is(NamedKey::Escape)) {
    close_search_suggestions(app);
    return;
  }
  app.search_input.focused = true;
  if (text_input_event(app.search_input, event, modifiers, extra, scale)) {
    app.search_open = false;
    submit_search(app, &state);
  } else if (auto text = app.search_input.take_dirty()) {
    app.model.query = *text;
    const std::string query = trimmed(*text);
    std::vector<Place> local = local_search_sorted(app, query);
    if (query.empty()) {
      app.search_suggestions.clear();
      app.search_deadline.reset();
    } else {
      app.search_suggestions = std::move(local);
      app.search_deadline = app.mono_now() + kTypingPause;
    }
  }
}

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
    pan_map(app, delta->x, delta->y);
    return true;
  }
  if (key.is(NamedKey::Escape)) {
    // Peel one layer at a time: the point of interest, the narrow panel, then the place.
    if (app.selected_poi) {
      app.selected_poi.reset();
    } else if (is_narrow_layout(app.bounds_rect) && app.panel_expanded) {
      app.panel_expanded = false;
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
    app.search_open = true;
  } else if (*text == "+" || *text == "=") {
    zoom_map_at(app, 1.0, c.x, c.y);
  } else if (*text == "-" || *text == "_") {
    zoom_map_at(app, -1.0, c.x, c.y);
  } else if (is_letter_key(*text, 'd')) {
    open_directions(app);
  } else if (is_letter_key(*text, 't')) {
    show_transit_directions(app, state);
  } else if (is_letter_key(*text, 'f')) {
    fit_view_to_plan(app);
  } else if (is_letter_key(*text, 's') && !command_held) {
    toggle_selected_saved(app, state);
  } else if (*text == "1") {
    set_panel(app, Panel::Explore);
  } else if (*text == "2") {
    set_panel(app, Panel::Directions);
  } else if (is_letter_key(*text, 'm')) {
    begin_area_search(app, tile_disk_usage(app.tile_store));
  } else {
    return false;
  }
  return true;
}

void run_chosen_menu_item(MapsApp& app) {
  if (auto index = app.overflow_menu.take_chosen()) run_overflow_menu_item(app, *index);
}

void key_event(MapsApp& app, const Event& event, const Key& key, std::uint32_t modifiers, std::uint8_t extra,
               zarn_ui::state::State& state, bool& handled, double scale) {
  app.tooltips.dismiss();
  if (!key.pressed) return;
  if (app.overflow_menu.is_open()) {
    context_menu_event(app, event, modifiers, extra, scale);
    run_chosen_menu_item(app);
    handled = true;
  } else if (app.offline_open) {
    if (key.is(NamedKey::Escape)) {
      end_area_search(app);
    } else {
      area_search_event(app, event, modifiers, extra, scale);
    }
    handled = true;
  } else if (app.active_endpoint != 2) {
    endpoint_field_key(app, event, key, modifiers, extra, scale);
    handled = true;
  } else if (app.search_open) {
    search_box_key(app, event, key, modifiers, extra, state, scale);
    handled = true;
  } else if (shortcut_key(app, key, modifiers, state)) {
    handled = true;
  }
}

// ---- wheel ----

void wheel_event(MapsApp& app, const Wheel& wheel, bool& handled) {
  app.tooltips.dismiss();
  handled = true;
  const double lines = wheel.unit == Wheel::Unit::Lines ? wheel.dy : wheel.dy / kPixelsPerLine;
  if (!std::isfinite(lines)) return;
  const Rect& b = app.bounds_rect;
  const Rect panel = side_panel_rect(b);
  const Point p = app.last_pointer;
  const bool over_map = (is_narrow_layout(b) && !app.panel_expanded) || !rect_contains_point(panel, p.x, p.y) ||
                        p.y <= panel.y0 + kPanelTopNoScroll;
  if (over_map) {
    zoom_map_at(app, kWheelZoomPerLine * lines, p.x, p.y);
    return;
  }
  const double max_scroll = std::max(app.panel_content_height - app.panel_view_height, 0.0);
  app.panel_scroll = std::clamp(app.panel_scroll - kPanelScrollPerLine * lines, 0.0, max_scroll);
}

}  // namespace

void MapsApp::handle_event(const zarn_ui::widget::Event& event, std::uint32_t modifiers, std::uint8_t extra,
                           zarn_ui::state::State& state, bool& handled, double scale) {
  if (dialog_open) {
    modal_dialog_event(*this, event, scale);
    if (take_dialog_close_request(*this)) dialog_open = false;
    handled = true;
    return;
  }
  if (const auto* key = std::get_if<Key>(&event)) {
    key_event(*this, event, *key, modifiers, extra, state, handled, scale);
  } else if (const auto* wheel = std::get_if<Wheel>(&event)) {
    wheel_event(*this, *wheel, handled);
  } else if (const auto* move = std::get_if<PointerMoved>(&event)) {
    input_pointer::pointer_moved(*this, event, *move, modifiers, extra, handled, scale);
  } else if (const auto* button = std::get_if<MouseButtonEvent>(&event)) {
    input_pointer::button_event(*this, event, *button, modifiers, extra, state, handled, scale);
  }
}

}  // namespace maps
