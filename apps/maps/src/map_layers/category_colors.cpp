#include "map_layers/category_colors.hpp"

#include "draw_kit/palette.hpp"

namespace maps {

zarn_ui::Color category_color(const zarn_ui::theme::Theme& theme, Category category) {
  switch (category) {
    case Category::Landmark: return theme.danger;
    case Category::Cafe: return theme.warning;
    case Category::Restaurant: return mix_color(theme.danger, theme.warning, 0.5f);
    case Category::Bar: return theme.tone_3;
    case Category::Museum: return theme.info;
    case Category::Park: return theme.success;
    case Category::Transit: return theme.tone_2;
    case Category::Hotel: return theme.tone_4;
    case Category::Shop: return theme.warning;
    case Category::Hospital: return theme.danger;
    case Category::Other: return theme.tone_1;
  }
  return theme.tone_1;
}

}  // namespace maps
