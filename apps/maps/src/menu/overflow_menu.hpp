#pragma once
// The overflow menu opened by the "More" button: four entries the application runs by index.

#include <cstddef>
#include <optional>
#include <vector>

#include "zarn_ui/events.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/widgets.hpp"

namespace maps {

// The entries, in the menu's order.
enum class OverflowMenuItem : std::uint8_t { Attribution, OfflineMaps, Licenses, FloatNavigation };

class OverflowMenu {
 public:
  OverflowMenu();

  bool is_open() const { return menu_.is_open(); }
  zarn_ui::Rect rect() const { return menu_.rect(); }
  const std::vector<zarn_ui::widgets::MenuItem>& items() const { return menu_.items(); }

  // Opens against the bottom-right corner of `bounds`.
  void open_overflow_menu(const zarn_ui::Rect& bounds);
  // Closes an open menu (forgetting a chosen entry), else opens it.
  void toggle(const zarn_ui::Rect& bounds);
  // While open: pointer moves highlight the row under them, arrow keys move the highlight,
  // Enter or a press on a row chooses it, Escape or a press elsewhere closes the menu. True when
  // the menu used the event.
  bool menu_event(const zarn_ui::widget::Event& event, const zarn_ui::widgets::EventCtx& ctx);
  // Draws the open menu.
  void draw(zarn_ui::Scene& scene, const zarn_ui::Affine& transform, const zarn_ui::widget::PaintCtx& ctx) const {
    menu_.draw(scene, transform, ctx);
  }
  std::optional<std::size_t> highlighted() const { return menu_.highlighted(); }
  // The row of an entry as the open menu draws it.
  zarn_ui::Rect item_rect(OverflowMenuItem item) const;
  // Closes the menu, forgetting a chosen entry.
  void close();
  // The entry chosen since the last call, once.
  std::optional<OverflowMenuItem> take_chosen();

 private:
  zarn_ui::widgets::ContextMenu menu_;
};

}  // namespace maps
