#pragma once
// The overlay's own groups, each painted by one function; app/ calls them in the window's order
// (app/window_order.cpp) and appends the press areas they return to the frame's.

#include <optional>
#include <string>
#include <vector>

#include "backend/backend.hpp"
#include "backend/status_line.hpp"
#include "draw_kit/layout_metrics.hpp"
#include "messages/ui_message.hpp"
#include "model/records.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"
#include "zarn_ui/theme.hpp"
#include "zarn_ui/tooltip.hpp"

namespace maps {

class MapOverlay;

using OverlayText = zarn_ui::text_render::TextRenderer;
using OverlayTheme = zarn_ui::theme::Theme;

// What the overlay's groups read of the rest of the window; app/ builds it.
struct OverlayInputs {
  const zarn_ui::Rect& bounds;
  // The bounds this frame draws, which the control column follows.
  const zarn_ui::Rect& drawn_bounds;
  const PanelFlags& side_panel;
  const TrafficData& traffic;
  // The status pill: the status line's text and kind, whether jobs are pending, whether the
  // search box's suggestions cover it, and the room in the narrow open panel's header.
  const std::string& status;
  StatusKind status_kind = StatusKind::Outcome;
  bool jobs_pending = false;
  bool search_suggestions_showing = false;
  const std::optional<zarn_ui::Rect>& panel_header_room;
  // The place card: the selected point of interest among those of the view.
  const std::optional<std::string>& selected_poi;
  const std::vector<Poi>& pois;
  // The "More" button: lit while its menu is open or an offline area downloads.
  bool menu_open = false;
  bool downloading = false;
};

// Left edge of the cards at the bottom of the map (the traffic legend, the place card): beside
// the side panel in the wide layout, else at the margin.
double overlay_card_left(const zarn_ui::Rect& bounds, const PanelFlags& side_panel);

void paint_map_controls(const MapOverlay& overlay, const OverlayInputs& in, zarn_ui::Scene& scene,
                        const zarn_ui::Affine& t, const OverlayText& text, const OverlayTheme& theme);
// Where the legend's card (or pill) goes this frame, when it is shown.
std::optional<zarn_ui::Rect> traffic_legend_rect(const zarn_ui::Rect& bounds, const PanelFlags& side_panel,
                                                 const TrafficData& traffic, const OverlayText& text);
// The legend's card (or pill) as drawn, when it is.
std::optional<zarn_ui::Rect> paint_traffic_legend(const OverlayInputs& in, zarn_ui::Scene& scene,
                                                  const zarn_ui::Affine& t, const OverlayText& text,
                                                  const OverlayTheme& theme);
// The narrow layout's menu button and its press area, when it is shown.
std::optional<HitTarget> paint_menu_button(const OverlayInputs& in, zarn_ui::Scene& scene, const zarn_ui::Affine& t,
                                           const OverlayTheme& theme);
// Shown while work is under way or the status reports a failure. A status shortened to fit
// comes back as the pill with its whole text, for the tooltip that shows it.
std::optional<zarn_ui::widgets::TooltipTarget> paint_status_pill(const OverlayInputs& in, zarn_ui::Scene& scene,
                                                                 const zarn_ui::Affine& t, const OverlayText& text,
                                                                 const OverlayTheme& theme);
// What the place card keeps above: the traffic legend and the docked navigation panel, as drawn
// this frame, where they would lie under it.
struct PoiCardClearOf {
  const std::optional<zarn_ui::Rect>& legend;
  const std::optional<zarn_ui::Rect>& docked_navigation;
};
// The card and its press areas (the card, its close button, "Directions"), in that order; not
// over the narrow layout's open panel.
std::vector<HitTarget> paint_poi_card(const OverlayInputs& in, const PoiCardClearOf& clear_of, zarn_ui::Scene& scene,
                                      const zarn_ui::Affine& t, const OverlayText& text, const OverlayTheme& theme);
// The "More" button and its press area, when it is shown.
std::optional<HitTarget> paint_more_button(const OverlayInputs& in, zarn_ui::Scene& scene, const zarn_ui::Affine& t,
                                           const OverlayTheme& theme);

}  // namespace maps
