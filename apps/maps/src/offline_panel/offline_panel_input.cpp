#include "offline_panel/offline_panel_input.hpp"

#include <variant>

#include "app/maps_app.hpp"
#include "app/screen_geometry.hpp"

namespace maps {

// Close ends the area search; the other commands leave the state as it is.
void offline_panel_action(MapsApp& app, const OfflineCommand& command, zarn_ui::state::State& /*state*/) {
  if (std::holds_alternative<OfflineCommand::Close>(command.value)) app.offline_panel.end_area_search();
}

bool offline_panel_press(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers, std::uint8_t extra,
                         zarn_ui::state::State& state, double scale, zarn_ui::Point p) {
  OfflinePanel& panel = app.offline_panel;
  if (panel.area_search_event(event, modifiers, extra, scale)) return true;
  const auto& hits = panel.hits();
  for (auto it = hits.rbegin(); it != hits.rend(); ++it) {
    if (!rect_contains_point(it->rect, p.x, p.y)) continue;
    const OfflineCommand command = it->command;  // the command may drop the list
    offline_panel_action(app, command, state);
    return true;
  }
  return false;
}

}  // namespace maps
