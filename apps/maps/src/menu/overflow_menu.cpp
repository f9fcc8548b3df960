#include "menu/overflow_menu.hpp"

namespace maps {

OverflowMenu::OverflowMenu() {
  for (const char* item : {"Attribution", "Offline maps", "Licenses", "Float navigation"}) menu_.push({item});
}

// A first opening gives the menu's size, the second moves it so that it ends 16 px from the
// right edge and 52 px above the bottom.
void OverflowMenu::open_overflow_menu(const zarn_ui::Rect& b) {
  const auto f32 = [](double v) { return static_cast<double>(static_cast<float>(v)); };
  menu_.open_at({f32(b.x1 - 16.0), f32(b.y1 - 46.0)});
  const zarn_ui::Size size = menu_.menu_size();
  menu_.open_at({f32(b.x1 - 16.0 - size.width), f32(b.y1 - 46.0 - size.height - 6.0)});
}

void OverflowMenu::toggle(const zarn_ui::Rect& bounds) {
  if (menu_.is_open()) {
    close();
    return;
  }
  open_overflow_menu(bounds);
}

void OverflowMenu::close() {
  menu_.close();
  menu_.take_chosen();
}

zarn_ui::Rect OverflowMenu::item_rect(OverflowMenuItem item) const {
  using zarn_ui::widgets::ContextMenu;
  const zarn_ui::Rect r = menu_.rect();
  const double top = r.y0 + ContextMenu::kPadding + ContextMenu::kRowHeight * static_cast<double>(item);
  return {r.x0, top, r.x1, top + ContextMenu::kRowHeight};
}

bool OverflowMenu::menu_event(const zarn_ui::widget::Event& event, const zarn_ui::widgets::EventCtx& ctx) {
  return menu_.handle_event(event, ctx);
}

std::optional<OverflowMenuItem> OverflowMenu::take_chosen() {
  const auto index = menu_.take_chosen();
  if (!index || *index > static_cast<std::size_t>(OverflowMenuItem::FloatNavigation)) return std::nullopt;
  return static_cast<OverflowMenuItem>(*index);
}

}  // namespace maps
