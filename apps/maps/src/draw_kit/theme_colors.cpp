#include "draw_kit/theme_colors.hpp"

#include "draw_kit/palette.hpp"

namespace maps {

using zarn_ui::Color;

Color category_color(const zarn_ui::theme::Theme& theme, Category category) {
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
    case Category::Other: break;
  }
  return theme.tone_1;
}

Color transit_mode_color(const zarn_ui::theme::Theme& theme, TransitMode mode) {
  switch (mode) {
    case TransitMode::Bus: return theme.info;
    case TransitMode::Tram: return theme.danger;
    case TransitMode::Subway: return theme.accent;
    case TransitMode::Rail: return theme.success;
    case TransitMode::Ferry: return theme.tone_3;
    case TransitMode::Walk: break;
  }
  return theme.muted;
}

Color transit_leg_color(const zarn_ui::theme::Theme& theme, const TransitLeg& leg) {
  if (leg.color) {
    if (const std::optional<Color> own = parse_hex_color(*leg.color)) return *own;
  }
  return transit_mode_color(theme, leg.mode);
}

}  // namespace maps
