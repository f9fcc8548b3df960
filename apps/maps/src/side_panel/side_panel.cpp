#include "side_panel/side_panel.hpp"

#include <algorithm>

namespace maps {

void SidePanel::scroll_by(double dy) {
  const double max_scroll = std::max(content_height_ - view_height_, 0.0);
  scroll_ = std::clamp(scroll_ + dy, 0.0, max_scroll);
}

void SidePanel::set_heights(double content, double view) {
  content_height_ = content;
  view_height_ = view;
}

// Leaves the scene as it is.
void paint_side_panel(MapsApp&, zarn_ui::Scene&, const zarn_ui::Affine&, const zarn_ui::text_render::TextRenderer&,
                      const zarn_ui::theme::Theme&) {}

}  // namespace maps
