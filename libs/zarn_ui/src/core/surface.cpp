#include "zarn_ui/surface.hpp"

#include <algorithm>

namespace zarn_ui::surface {

Shape soft_outline(const Rect& rect) { return RoundedRect::make(rect, kPanelRadius); }

void floating_drag_grip(Scene& scene, const Affine& transform, const Rect& panel, const Color& color) {
  const Rect p = panel.abs();
  const double width = std::min(36.0, p.width() * 0.5);
  if (width <= 0.0) return;
  const double cx = p.center().x, top = p.y0 + 7.0;
  scene.fill(RoundedRect::make({cx - 0.5 * width, top, cx + 0.5 * width, top + 4.0}, 2.0), color, transform);
}

}  // namespace zarn_ui::surface
