#include "menu/menu_input.hpp"

#include "app/maps_app.hpp"
#include "navigation/navigation_steps.hpp"
#include "offline_panel/offline_panel_input.hpp"

namespace maps {

void run_overflow_menu_item(MapsApp& app, OverflowMenuItem item) {
  switch (item) {
    case OverflowMenuItem::Attribution: app.dialog.open_attribution_dialog(false); break;
    case OverflowMenuItem::OfflineMaps: open_offline_panel(app); break;
    case OverflowMenuItem::Licenses: app.dialog.open_attribution_dialog(true); break;
    case OverflowMenuItem::FloatNavigation: float_navigation(app); break;
  }
}

void overflow_menu_event(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers, double scale) {
  app.overflow_menu.menu_event(event, {modifiers, scale});
  if (std::holds_alternative<zarn_ui::widget::PointerMoved>(event)) return;
  if (auto item = app.overflow_menu.take_chosen()) run_overflow_menu_item(app, *item);
}

}  // namespace maps
