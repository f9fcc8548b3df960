#pragma once
// The window as assistive technology sees it: the map controls and every clickable area of the
// last frame with its label and id (or the offline panel's entries while it is open, or the
// dialog while one is open), the bounds of one entry, and semantic actions on entry ids.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "messages/ui_message.hpp"
#include "zarn_ui/access.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/state.hpp"

namespace maps {

class MapsApp;

struct AccessEntry {
  std::string label;
  std::string id;
  zarn_ui::Rect rect;
  std::optional<bool> on;  // toggles only: whether on
  bool operator==(const AccessEntry&) const = default;
};

// The label, id and toggle state of a hit target's message; none for messages without one.
std::optional<AccessEntry> map_menu_entry(const MapsApp& app, const UiMessage& message, const zarn_ui::Rect& rect);
// The four controls (empty ones dropped), "End navigation" while a route is set and its button
// shows, then the hit targets of the last draw, then the route endpoint fields, their swap button
// and the suggestion rows under the edited field; in the narrow layout with the side panel open
// only what lies on the panel, and the navigation toggle.
std::vector<AccessEntry> map_control_entries(const MapsApp& app);

zarn_ui::access::AccessNode maps_access_node(const MapsApp& app);
std::optional<zarn_ui::Rect> maps_access_child_bounds(const MapsApp& app, std::span<const std::size_t> path);
bool maps_semantic_action(MapsApp& app, std::string_view id, zarn_ui::access::SemanticAction action,
                          zarn_ui::state::State& state);

}  // namespace maps
