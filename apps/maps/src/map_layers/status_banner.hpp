#pragma once
// The status banner over a map that has nothing to show yet: "Loading map…" while tiles may
// still come, "Map imagery unavailable offline" once every request has failed or the tile host
// is known not to answer.

#include <string_view>

#include "tiles/tile_store.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

inline constexpr std::string_view kLoadingMapText = "Loading map…";
inline constexpr std::string_view kImageryUnavailableText = "Map imagery unavailable offline";

// Loading while the tile host is not known to fail and no tile has failed or any request is
// pending.
bool tiles_may_still_load(const TileStore& store);

// Centred over the map beside the side panel (over the whole width when the panel is collapsed
// or the layout is narrow).
void paint_status_banner(zarn_ui::Scene& scene, const zarn_ui::Affine& transform,
                         const zarn_ui::text_render::TextRenderer& text, const zarn_ui::Rect& bounds,
                         bool panel_collapsed, const TileStore& store, const zarn_ui::theme::Theme& theme);

}  // namespace maps
