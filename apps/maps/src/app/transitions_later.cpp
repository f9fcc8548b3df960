#include "app/transitions_later.hpp"

#include "app/maps_app.hpp"
#include "app/messages.hpp"
#include "app/screen_geometry.hpp"
#include "app/view.hpp"
#include "location/location.hpp"
#include "sample/synthetic_traffic.hpp"
#include "sample/vector_map.hpp"

namespace maps {

using zarn_ui::widget::Event;
using zarn_ui::widget::Key;
using zarn_ui::widget::MouseButton;
using zarn_ui::widget::MouseButtonEvent;
using zarn_ui::widget::NamedKey;

// ---- place search ----

void submit_search(MapsApp& /*app*/, zarn_ui::state::State* /*state*/) {}

std::vector<Place> local_search_sorted(const MapsApp& /*app*/, std::string_view /*query*/) { return {}; }

void rank_search_results(std::vector<Place>& /*places*/, std::string_view /*query*/, const MapsApp& /*app*/) {}

void select_poi(MapsApp& app, const std::string& id) { app.selected_poi = id; }

// ---- selection, routes and journeys ----

void select_place(MapsApp& app, const std::string& id) {
  const bool changed = app.model.selected != id;
  app.model.selected = id;
  // The destination and the emptied journey list are written through the overlay so that the
  // next hydration does not take them back before a plan is committed.
  if (auto place = app.find_place(id)) {
    app.overlay.set_dest(app.model, place->pos, place->name);
    app.model.center = place->pos;
  }
  if (changed) {
    app.overlay.set_transit(app.model, {});
    app.model.transit_choice = 0;
  }
  app.panel_expanded = true;
}

void set_destination_from_selection(MapsApp& app) {
  if (auto place = app.selected_place()) app.overlay.set_dest(app.model, place->pos, place->name);
}

namespace {
void request_plan(MapsApp& app) {
  if (app.model.mode == TravelMode::Transit) {
    start_transit_search(app);
  } else {
    start_routing(app);
  }
}
}  // namespace

void open_directions(MapsApp& app) {
  set_destination_from_selection(app);
  app.model.panel = Panel::Directions;
  request_plan(app);
}

void show_transit_directions(MapsApp& app, zarn_ui::state::State& state) {
  set_destination_from_selection(app);
  commit_action(app, state, MapsAction{MapsAction::SetTravelMode{TravelMode::Transit}});
  start_transit_search(app);
}

void directions_to_poi(MapsApp& app) {
  if (!app.selected_poi) return;
  const Poi* poi = nullptr;
  for (const Poi& p : app.pois) {
    if (p.id == *app.selected_poi) {
      poi = &p;
      break;
    }
  }
  if (!poi) return;
  const Place place = new_place(poi->id, poi->name, poi->category, poi->address, poi->pos);
  app.upsert_place(place);
  app.model.selected = place.id;
  app.overlay.set_dest(app.model, place.pos, place.name);
  app.model.panel = Panel::Directions;
  app.selected_poi.reset();
  request_plan(app);
}

void start_routing(MapsApp& /*app*/) {}

void start_transit_search(MapsApp& /*app*/) {}

void handle_endpoint_editor_event(MapsApp& /*app*/, const EndpointEvent& /*event*/) {}

void toggle_selected_saved(MapsApp& app, zarn_ui::state::State& state) {
  if (!app.model.selected) return;
  const std::string id = *app.model.selected;
  const auto place = app.find_place(id);
  const bool saved = place ? !place->saved : true;
  commit_action(app, state, MapsAction{MapsAction::SetPlaceSaved{id, saved}});
  for (Place& p : app.model.places) {
    if (p.id == id) {
      p.saved = saved;
      break;
    }
  }
}

void clear_route(MapsApp& app, zarn_ui::state::State& state) {
  commit_action(app, state, MapsAction{MapsAction::ClearRoute{}});
  app.navigation_placement.reset_keep_size();
  app.navigation_end_hover = false;
  app.navigation_drag_rect = {};
  app.navigation_end_rect = {};
}

void start_locating(MapsApp& app) {
  if (app.location_pending) return;
  app.location_pending = true;
  app.model.status = "Locating…";
  if (app.live) app.location_receiver = spawn_location_worker();
}

void set_traffic_enabled(MapsApp& app, bool on) {
  app.traffic_enabled = on;
  if (!on) return;  // the levels are kept, just not drawn
  if (vector_map_empty(app.vector_map)) {
    app.traffic_segments.clear();
    app.traffic_source.reset();
    return;
  }
  SyntheticTraffic traffic = synthetic_traffic(app.vector_map);
  app.traffic_segments = std::move(traffic.segments);
  app.traffic_source = std::move(traffic.source);
}

// ---- search box and endpoint editor ----

void clear_search_suggestions(MapsApp& app) {
  app.search_suggestions.clear();
  app.search_deadline.reset();
}

void set_search_suggestions(MapsApp& app, std::vector<Place> places) { app.search_suggestions = std::move(places); }

void close_search_suggestions(MapsApp& app) {
  app.search_open = false;
  clear_search_suggestions(app);
}

void set_endpoint_suggestions(MapsApp& app, std::uint8_t field, std::vector<Place> places) {
  (field == 0 ? app.origin_suggestions : app.dest_suggestions) = std::move(places);
}

void set_endpoint_texts(MapsApp& app, const std::string& origin, const std::string& dest) {
  if (origin != app.origin_text) {
    app.origin_text = origin;
    if (app.active_endpoint == 0) app.origin_input.set_text(origin);
  }
  if (dest != app.dest_text) {
    app.dest_text = dest;
    if (app.active_endpoint == 1) app.dest_input.set_text(dest);
  }
}

namespace {
// An inactive field shows no caret and no pending edit.
void deactivate_input(zarn_ui::widgets::TextInput& input) {
  input.focused = false;
  input.caret_ = 0;
}
}  // namespace

void begin_endpoint_edit(MapsApp& app, std::uint8_t field) {
  const bool origin = field == 0;
  app.endpoint_deadline.reset();
  (origin ? app.origin_text : app.dest_text).clear();
  app.active_endpoint = origin ? 0 : 1;
  (origin ? app.origin_suggestions : app.dest_suggestions).clear();
  auto& active = origin ? app.origin_input : app.dest_input;
  deactivate_input(origin ? app.dest_input : app.origin_input);
  active.focused = true;
  active.set_text("");
}

void reset_endpoint_editor(MapsApp& app) {
  app.active_endpoint = 2;
  app.endpoint_deadline.reset();
  deactivate_input(app.origin_input);
  deactivate_input(app.dest_input);
}

// ---- overflow menu, dialog and navigation panel ----

void run_overflow_menu_item(MapsApp& app, std::size_t index) {
  switch (index) {
    case 0: open_attribution_dialog(app, false); break;
    case 1: begin_area_search(app, tile_disk_usage(app.tile_store)); break;
    case 2: open_attribution_dialog(app, true); break;
    case 3: float_navigation(app); break;
    default: break;
  }
}

void open_attribution_dialog(MapsApp& /*app*/, bool /*licences*/) {}

void float_navigation(MapsApp& app) {
  if (!app.model.route) return;
  const zarn_ui::Rect panel = navigation_panel_rect(app);
  app.navigation_placement.detach_to_desktop(panel);
  app.surface_request = active_navigation_surface(app, navigation_panel_rect(app));
}

zarn_ui::Rect navigation_panel_rect(const MapsApp& app) {
  return app.navigation_placement.rect(app.bounds_rect, app.placement_host_rect());
}

bool docked_navigation_visible(const MapsApp& app) {
  const auto& placement = app.navigation_placement;
  return app.model.route.has_value() && !placement.handing_back && placement.is_docked() &&
         (!is_narrow_layout(app.bounds_rect) || !app.panel_expanded);
}

std::optional<zarn_ui::floating_surface::FloatingSurfaceRequest> active_navigation_surface(const MapsApp& app,
                                                                                           const zarn_ui::Rect& given) {
  if (!app.model.route) return std::nullopt;
  const zarn_ui::Rect panel = navigation_panel_rect(app);
  zarn_ui::floating_surface::FloatingSurfaceRequest request;
  request.id = "maps.active-navigation";
  request.title = "Active navigation";
  request.app_id = "so.zarn.maps";
  request.kind = "active-navigation";
  request.panel_rect = panel;
  request.outer_rect = panel.inflate(8.0, 8.0);
  request.given_rect = given;
  request.size = {360.0, 156.0};
  request.option = 2;
  return request;
}

// ---- offline maps panel ----

void begin_area_search(MapsApp& app, std::uint64_t disk_usage) {
  app.offline_disk_usage = disk_usage;
  app.offline_open = true;
  reset_area_search(app);
  app.area_search.begin_edit();
}

void end_area_search(MapsApp& app) {
  app.offline_open = false;
  reset_area_search(app);
  app.offline_hits.clear();
}

void reset_area_search(MapsApp& app) {
  app.area_search.set_text("");
  app.area_search.close();
  app.area_search.set_suggestions({});
  app.area_candidates.clear();
  app.area_search_deadline.reset();
}

bool area_search_event(MapsApp& /*app*/, const Event& /*event*/, std::uint32_t /*modifiers*/, std::uint8_t /*extra*/,
                       double /*scale*/) {
  return false;
}

void offline_panel_action(MapsApp& app, const OfflineCommand& command, zarn_ui::state::State& /*state*/) {
  if (std::holds_alternative<OfflineCommand::Close>(command.value)) end_area_search(app);
}

// ---- framework widget routers ----

namespace {

bool is_continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::size_t prev_boundary(const std::string& s, std::size_t at) {
  if (at == 0) return 0;
  --at;
  while (at > 0 && is_continuation(s[at])) --at;
  return at;
}

std::size_t next_boundary(const std::string& s, std::size_t at) {
  if (at >= s.size()) return s.size();
  ++at;
  while (at < s.size() && is_continuation(s[at])) ++at;
  return at;
}

void replace_text(zarn_ui::widgets::TextInput& input, std::string text, std::size_t caret) {
  input.set_text(std::move(text));
  input.caret_ = caret;
  input.dirty_ = true;
}

}  // namespace

bool text_input_event(zarn_ui::widgets::TextInput& input, const Event& event, std::uint32_t modifiers,
                      std::uint8_t /*extra*/, double /*scale*/) {
  const auto* key = std::get_if<Key>(&event);
  if (!key || !key->pressed || !input.focused) return false;
  const std::string& text = input.text();
  std::size_t caret = std::min(input.caret_, text.size());
  while (caret > 0 && caret < text.size() && is_continuation(text[caret])) --caret;

  if (const std::string* typed = key->text()) {
    // Shortcuts are not typing.
    if (modifiers & (zarn_ui::widget::modifiers::kControl | zarn_ui::widget::modifiers::kSuper)) return false;
    std::string next = text;
    next.insert(caret, *typed);
    replace_text(input, std::move(next), caret + typed->size());
    return false;
  }
  if (key->is(NamedKey::Enter)) return input.submit_on_enter;
  if (key->is(NamedKey::Backspace) && caret > 0) {
    const std::size_t from = prev_boundary(text, caret);
    std::string next = text;
    next.erase(from, caret - from);
    replace_text(input, std::move(next), from);
  } else if (key->is(NamedKey::Delete) && caret < text.size()) {
    std::string next = text;
    next.erase(caret, next_boundary(text, caret) - caret);
    replace_text(input, std::move(next), caret);
  } else if (key->is(NamedKey::ArrowLeft)) {
    input.caret_ = prev_boundary(text, caret);
  } else if (key->is(NamedKey::ArrowRight)) {
    input.caret_ = next_boundary(text, caret);
  } else if (key->is(NamedKey::Home)) {
    input.caret_ = 0;
  } else if (key->is(NamedKey::End)) {
    input.caret_ = text.size();
  }
  return false;
}

void context_menu_event(MapsApp& app, const Event& event, std::uint32_t /*modifiers*/, std::uint8_t /*extra*/,
                        double /*scale*/) {
  auto& menu = app.overflow_menu;
  if (!menu.is_open()) return;
  if (const auto* key = std::get_if<Key>(&event)) {
    if (key->pressed && key->is(NamedKey::Escape)) menu.close();
    return;
  }
  if (const auto* button = std::get_if<MouseButtonEvent>(&event)) {
    if (!button->pressed || button->button != MouseButton::Primary) return;
    if (auto row = menu.item_at(app.last_pointer)) menu.choose(*row);
    menu.close();
  }
}

bool modal_dialog_event(MapsApp& /*app*/, const Event& /*event*/, double /*scale*/) { return true; }

bool take_dialog_close_request(MapsApp& /*app*/) { return false; }

}  // namespace maps
