#pragma once
// The colour that stands for a category on the map: marker discs, pins, the point-of-interest
// card's strip and the endpoint suggestion rows.

#include "model/enums.hpp"
#include "zarn_ui/color.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

zarn_ui::Color category_color(const zarn_ui::theme::Theme& theme, Category category);

}  // namespace maps
