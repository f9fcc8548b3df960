#pragma once
// The map's credit line: the map data's and the tiles' providers, as their terms ask, small along
// the map's bottom edge at the right, under the scale bar. Pressing it opens the attribution.

#include <optional>
#include <string_view>

#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

inline constexpr std::string_view kMapCreditText = "\u00a9 OpenStreetMap contributors \u00b7 \u00a9 CARTO";

// Paints the line right-aligned at the bounds' right margin along their bottom edge, shortened to
// begin no further left than `left`. Returns the strip it covers (its press area), none when there
// is no room for it.
std::optional<zarn_ui::Rect> paint_map_credit(zarn_ui::Scene& scene, const zarn_ui::Affine& transform,
                                              const zarn_ui::text_render::TextRenderer& text,
                                              const zarn_ui::Rect& bounds, double left,
                                              const zarn_ui::theme::Theme& theme);

}  // namespace maps
