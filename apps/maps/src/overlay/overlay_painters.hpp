#pragma once
// The overlay's own groups, each painted (and its press areas recorded) by one function, in
// the order paint_map_overlay calls them.

#include <optional>

#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"
#include "zarn_ui/theme.hpp"
#include "zarn_ui/widget.hpp"

namespace maps {

class MapsApp;

using OverlayText = zarn_ui::text_render::TextRenderer;
using OverlayTheme = zarn_ui::theme::Theme;

// Left edge of the cards at the bottom of the map (the traffic legend, the place card): beside
// the side panel in the wide layout, else at the margin.
double overlay_card_left(const MapsApp& app);

void paint_map_controls(const MapsApp& app, zarn_ui::Scene& scene, const zarn_ui::Affine& t, const OverlayText& text,
                        const OverlayTheme& theme);
// Where the legend's card (or pill) goes this frame, when it is shown.
std::optional<zarn_ui::Rect> traffic_legend_rect(const MapsApp& app, const OverlayText& text);
// The legend's card (or pill) as drawn, when it is.
std::optional<zarn_ui::Rect> paint_traffic_legend(const MapsApp& app, zarn_ui::Scene& scene, const zarn_ui::Affine& t,
                                                  const OverlayText& text, const OverlayTheme& theme);
void paint_menu_button(MapsApp& app, zarn_ui::Scene& scene, const zarn_ui::Affine& t, const OverlayTheme& theme);
// Shown while work is under way or the status reports a failure.
void paint_status_pill(const MapsApp& app, zarn_ui::Scene& scene, const zarn_ui::Affine& t, const OverlayText& text,
                       const OverlayTheme& theme);
// Above the traffic legend (`legend`, when drawn) and the docked navigation panel where they
// would lie under it; not over the narrow layout's open panel.
void paint_poi_card(MapsApp& app, zarn_ui::Scene& scene, const zarn_ui::Affine& t, const OverlayText& text,
                    const OverlayTheme& theme, const std::optional<zarn_ui::Rect>& legend);
void paint_more_button(MapsApp& app, zarn_ui::Scene& scene, const zarn_ui::Affine& t, const OverlayTheme& theme);
// The tooltip host's tooltip, once it is up.
void paint_tooltip(MapsApp& app, zarn_ui::Scene& scene, const zarn_ui::Affine& t, const OverlayText& text,
                   const OverlayTheme& theme);

}  // namespace maps
