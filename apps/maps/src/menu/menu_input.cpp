#include "menu/menu_input.hpp"

namespace maps {

UiMessage overflow_menu_message(OverflowMenuItem item) {
  switch (item) {
    case OverflowMenuItem::Attribution: return UiMessage{msg::OpenAttribution{}};
    case OverflowMenuItem::OfflineMaps: return UiMessage{msg::OpenOfflineMaps{}};
    case OverflowMenuItem::Licenses: return UiMessage{msg::OpenLicenses{}};
    case OverflowMenuItem::FloatNavigation: return UiMessage{msg::FloatNavigation{}};
  }
  return UiMessage{msg::Noop{}};
}

std::optional<UiMessage> overflow_menu_event(OverflowMenu& menu, const zarn_ui::widget::Event& event,
                                             const zarn_ui::widgets::EventCtx& ctx) {
  menu.menu_event(event, ctx);
  if (std::holds_alternative<zarn_ui::widget::PointerMoved>(event)) return std::nullopt;
  if (auto item = menu.take_chosen()) return overflow_menu_message(*item);
  return std::nullopt;
}

}  // namespace maps
