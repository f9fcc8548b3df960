#include "app/ui_messages.hpp"

#include <variant>

#include "app/maps_app.hpp"
#include "app/navigation_view.hpp"
#include "offline_panel/offline_panel_input.hpp"
#include "transitions/messages.hpp"

namespace maps {

void route_message(MapsApp& app, const UiMessage& message, zarn_ui::state::State& state) {
  const auto& m = message.value;
  if (std::holds_alternative<msg::ToggleOverflowMenu>(m)) {
    app.overflow_menu.toggle(app.bounds_rect);
  } else if (std::holds_alternative<msg::OpenAttribution>(m)) {
    app.dialog.open_attribution_dialog(false);
  } else if (std::holds_alternative<msg::OpenLicenses>(m)) {
    app.dialog.open_attribution_dialog(true);
  } else if (std::holds_alternative<msg::OpenOfflineMaps>(m)) {
    open_offline_panel(app);
  } else if (std::holds_alternative<msg::FloatNavigation>(m)) {
    float_navigation(app);
  } else {
    handle_ui_message(app, message, state);
  }
}

}  // namespace maps
