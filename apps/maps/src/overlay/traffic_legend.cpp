// The traffic legend in the bottom-left corner of the map while the traffic overlay is on: how
// many street segments flow at each level, or a pill when there is no street network.

#include <string>

#include "draw_kit/card.hpp"
#include "draw_kit/layout_metrics.hpp"
#include "draw_kit/palette.hpp"
#include "draw_kit/primitives.hpp"
#include "draw_kit/text_fit.hpp"
#include "model/vector_map.hpp"
#include "overlay/overlay_painters.hpp"

namespace maps {
namespace {

constexpr const char* kLevelNames[] = {"Free flowing", "Moderate", "Heavy", "Standstill"};
constexpr double kLegendWidth = 180.0;
constexpr double kLegendHeight = 118.0;
constexpr double kBottomMargin = 16.0;
constexpr const char* kNoDataLabel = "No traffic data";

Rect paint_no_data_pill(Scene& scene, const Affine& t, const OverlayText& text, const OverlayTheme& theme,
                        const Rect& pill) {
  paint_card(scene, t, pill, theme.surface.multiply_alpha(0.96f), theme.border, 16.0);
  fill_circle(scene, t, theme.muted, pill.x0 + 16.0, pill.y0 + 16.0, 3.6);
  draw_label(scene, text, t, kNoDataLabel, theme.foreground, pill.x0 + 27.0, pill.y0 + 8.5, 12.0f);
  return pill;
}

}  // namespace

double overlay_card_left(const Rect& b, const PanelFlags& side_panel) {
  if (is_narrow_layout(b) || side_panel.collapsed) return b.x0 + kLayoutMargin;
  return side_panel_rect(b).x1 + kLayoutGap;
}

std::optional<Rect> traffic_legend_rect(const Rect& b, const PanelFlags& side_panel, const TrafficData& traffic,
                                        const OverlayText& text) {
  if (!traffic.enabled || (is_narrow_layout(b) && side_panel.expanded)) return std::nullopt;
  const double left = overlay_card_left(b, side_panel);
  if (traffic.segments.empty()) {
    return Rect{left, b.y1 - 48.0, left + measure_text(text, kNoDataLabel, 12.0f) + 40.0, b.y1 - 16.0};
  }
  return Rect{left, b.y1 - kBottomMargin - kLegendHeight, left + kLegendWidth, b.y1 - kBottomMargin};
}

std::optional<Rect> paint_traffic_legend(const OverlayInputs& in, Scene& scene, const Affine& t,
                                         const OverlayText& text, const OverlayTheme& theme) {
  const std::optional<Rect> area = traffic_legend_rect(in.bounds, in.side_panel, in.traffic, text);
  if (!area) return std::nullopt;
  if (in.traffic.segments.empty()) return paint_no_data_pill(scene, t, text, theme, *area);
  const Rect card = *area;
  const double left = card.x0, top = card.y0, right = left + kLegendWidth - 12.0;
  paint_card(scene, t, card, theme.surface.multiply_alpha(0.96f), theme.border, 12.0);
  constexpr FontWeight kTitleWeight = FontWeight::Semibold;
  draw_label_weighted(scene, text, t, "Traffic", theme.foreground, left + 12.0, top + 12.0, 12.0f, kTitleWeight);
  if (in.traffic.source) {
    const double x = left + 12.0 + text.measure_weighted("Traffic", 12.0f, kTitleWeight) + 8.0;
    draw_text_ellipsized(scene, text, t, "· " + *in.traffic.source, theme.muted, x, top + 12.0, 10.0f, right - x);
  }
  const MapPalette palette = map_palette(theme);
  const auto counts = traffic_level_counts(in.traffic.segments);
  for (std::size_t level = 0; level < kTrafficLevelCount; ++level) {
    const double y = top + 34.0 + 19.0 * static_cast<double>(level);
    fill_rounded_rect(scene, t, {left + 12.0, y + 3.0, left + 30.0, y + 9.0},
                      traffic_color(palette, static_cast<TrafficLevel>(level)), 3.0);
    draw_label(scene, text, t, kLevelNames[level], theme.foreground, left + 38.0, y, 11.0f);
    draw_text_right(scene, text, t, std::to_string(counts[level]), theme.muted, right, y, 11.0f);
  }
  return card;
}

}  // namespace maps
