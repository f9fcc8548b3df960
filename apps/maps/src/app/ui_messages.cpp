#include "app/ui_messages.hpp"

#include <variant>

#include "app/maps_app.hpp"
#include "app/offline_panel_view.hpp"
#include "navigation/navigation_steps.hpp"
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
  } else if (const auto* offline = std::get_if<msg::Offline>(&m)) {
    offline_panel_action(app, offline->command, state);
  } else if (const auto* area = std::get_if<msg::AskAreaSearch>(&m)) {
    app.backend.start(AreaSearchJob{area->query});
  } else {
    handle_ui_message(app, message, state);
  }
}

}  // namespace maps
