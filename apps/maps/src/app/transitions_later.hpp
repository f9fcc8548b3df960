#pragma once
// Transitions, panel operations and widget routers whose full behaviour arrives with later work.
// Those that are small and settled are real here; the others keep their names and arguments and
// do nothing yet, so callers are wired once and stay unchanged.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/panel_hits.hpp"
#include "model/records.hpp"
#include "zarn_ui/events.hpp"
#include "zarn_ui/floating_surface.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/widgets.hpp"

namespace zarn_ui::state {
class State;
}

namespace maps {

class MapsApp;

// What the route endpoint editor hands the state; field 0 is the origin, 1 the destination.
struct EndpointEvent {
  struct TextEdited {
    std::string text;
    std::uint8_t field = 0;
    bool operator==(const TextEdited&) const = default;
  };
  struct Submitted {
    std::string text;
    std::uint8_t field = 0;
    bool operator==(const Submitted&) const = default;
  };
  struct SuggestionChosen {
    Place place;
    std::uint8_t field = 0;
    bool operator==(const SuggestionChosen&) const = default;
  };
  struct Swap {
    bool operator==(const Swap&) const = default;
  };
  struct Nothing {
    bool operator==(const Nothing&) const = default;
  };
  std::variant<TextEdited, Submitted, SuggestionChosen, Swap, Nothing> value;
  bool operator==(const EndpointEvent&) const = default;
};

// Place search.
void submit_search(MapsApp& app, zarn_ui::state::State* state);
std::vector<Place> local_search_sorted(const MapsApp& app, std::string_view query);
void rank_search_results(std::vector<Place>& places, std::string_view query, const MapsApp& app);
void select_poi(MapsApp& app, const std::string& id);

// Selection, routes and journeys.
void select_place(MapsApp& app, const std::string& id);
void set_destination_from_selection(MapsApp& app);
void open_directions(MapsApp& app);
void show_transit_directions(MapsApp& app, zarn_ui::state::State& state);
void directions_to_poi(MapsApp& app);
void start_routing(MapsApp& app);
void start_transit_search(MapsApp& app);
void handle_endpoint_editor_event(MapsApp& app, const EndpointEvent& event);
void toggle_selected_saved(MapsApp& app, zarn_ui::state::State& state);
void clear_route(MapsApp& app, zarn_ui::state::State& state);
void start_locating(MapsApp& app);
void set_traffic_enabled(MapsApp& app, bool on);

// Search box and endpoint editor.
void clear_search_suggestions(MapsApp& app);
void set_search_suggestions(MapsApp& app, std::vector<Place> places);
void close_search_suggestions(MapsApp& app);
void set_endpoint_suggestions(MapsApp& app, std::uint8_t field, std::vector<Place> places);
void set_endpoint_texts(MapsApp& app, const std::string& origin, const std::string& dest);
void begin_endpoint_edit(MapsApp& app, std::uint8_t field);
void reset_endpoint_editor(MapsApp& app);

// Overflow menu, dialog and navigation panel.
void run_overflow_menu_item(MapsApp& app, std::size_t index);
void open_attribution_dialog(MapsApp& app, bool licences);
void float_navigation(MapsApp& app);
zarn_ui::Rect navigation_panel_rect(const MapsApp& app);
// A road route is set and the docked panel is drawn: not handed back, and the side panel does not
// cover it (wide layout, or the panel hidden).
bool docked_navigation_visible(const MapsApp& app);
std::optional<zarn_ui::floating_surface::FloatingSurfaceRequest> active_navigation_surface(const MapsApp& app,
                                                                                           const zarn_ui::Rect& given);

// Offline maps panel.
void begin_area_search(MapsApp& app, std::uint64_t disk_usage);
void end_area_search(MapsApp& app);
void reset_area_search(MapsApp& app);
// True when the panel's field took the event.
bool area_search_event(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers, std::uint8_t extra,
                       double scale);
void offline_panel_action(MapsApp& app, const OfflineCommand& command, zarn_ui::state::State& state);

// Framework widget routers. A text field edits its text while focused (the changed text is then
// taken with TextInput::take_dirty); the result says whether the field reported Enter.
bool text_input_event(zarn_ui::widgets::TextInput& input, const zarn_ui::widget::Event& event, std::uint32_t modifiers,
                      std::uint8_t extra, double scale);
// The overflow menu: a press on a row chooses it, a press elsewhere or Escape closes the menu.
void context_menu_event(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers, std::uint8_t extra,
                        double scale);
bool modal_dialog_event(MapsApp& app, const zarn_ui::widget::Event& event, double scale);
// True once after the open dialog asked to be closed.
bool take_dialog_close_request(MapsApp& app);

}  // namespace maps
