#pragma once
// The scale bar: the longest round distance that fits the width, drawn with its label.

#include <string>

#include "model/records.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

struct ScaleBar {
  std::string label;
  double length_px = 0.0;
  bool operator==(const ScaleBar&) const = default;
};

// The longest of 1, 2, 5, 10, ... 100000 m not longer than `max_width_px` at this latitude and
// zoom (1 m when none is), labelled "{} m" below 1000 m, else "{} km".
ScaleBar scale_bar_length(double latitude_deg, double zoom, double max_width_px);

inline constexpr double kMaxScaleBarWidth = 110.0;

// The bar ends at `right_x`, 26 px above the bottom of the bounds, at most `max_width` long
// (shorter where something beside it leaves less room). Returns its backdrop.
zarn_ui::Rect paint_scale_bar(zarn_ui::Scene& scene, const zarn_ui::Affine& transform,
                              const zarn_ui::text_render::TextRenderer& text, const zarn_ui::Rect& bounds,
                              LatLon center, double zoom, const zarn_ui::theme::Theme& theme, double right_x,
                              double max_width = kMaxScaleBarWidth);

}  // namespace maps
