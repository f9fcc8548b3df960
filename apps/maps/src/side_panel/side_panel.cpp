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
  // A list that got shorter keeps its end in view instead of showing empty space.
  scroll_by(0.0);
}

}  // namespace maps
