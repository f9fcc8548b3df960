#include "offline_panel/offline_panel_paint.hpp"

#include <algorithm>
#include <string>

#include <fmt/format.h>

#include "draw_kit/card.hpp"
#include "draw_kit/primitives.hpp"
#include "draw_kit/text_fit.hpp"
#include "draw_kit/theme_colors.hpp"
#include "format/labels.hpp"
#include "format/units.hpp"
#include "geo/screen_view.hpp"
#include "offline_panel/offline_area.hpp"
#include "tiles/tile_geometry.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

namespace {

using zarn_ui::theme::Theme;

// Everything the panel's rows share: the scale, the content edges and the drawing context.
struct PanelPen {
  Scene& scene;
  const Affine& transform;
  const TextRenderer& text;
  const Theme& theme;
  double s;
  double cl;
  double cr;

  double cw() const { return cr - cl; }
  float size(double base) const { return static_cast<float>(base * s); }
  void label(std::string_view t, const Color& c, double x, double y, double base,
             FontWeight weight = FontWeight::Medium) const {
    draw_label_weighted(scene, text, transform, t, c, x, y, size(base), weight);
  }
  void fitted(std::string_view t, const Color& c, double x, double y, double base, double room) const {
    draw_text_ellipsized(scene, text, transform, t, c, x, y, size(base), room);
  }
  void centred(std::string_view t, const Color& c, double x0, double x1, double y, double base) const {
    draw_text_centered(scene, text, transform, t, c, x0, x1, y, size(base));
  }
};

// A running download, else what the last deletion or clearing did, else the finished download,
// else the estimate for the area.
std::string status_line(const TileStore& tiles, const OfflinePanel& panel, const OfflineDownloadArea& area) {
  const std::uint32_t total = tiles.download_total, done = tiles.download_done, failed = tiles.download_failed;
  if (!download_in_progress(tiles) && panel.cache_report()) return *panel.cache_report();
  if (total == 0) {
    const GeoBox& b = area.box;
    const std::size_t t = region_tile_count(TileBox{{b.min_lat, b.min_lon}, {b.max_lat, b.max_lon}}, area.z0, area.z1);
    return fmt::format("\u2248 {} ({})", counted(t, "tile", "tiles"),
                       format_bytes(std::uint64_t{t} * kEstimatedTileBytes));
  }
  if (done < total) return fmt::format("Downloading {}/{} tiles\u2026", done, total);
  // The tiles that failed are not among those downloaded: "Downloaded 33 tiles (33 failed)" said
  // that a download which got nothing had got everything.
  return fmt::format("Downloaded {}{}", counted(total - std::min(failed, total), "tile", "tiles"),
                     failed > 0 ? fmt::format(" ({} failed)", failed) : std::string());
}

void paint_waste_bin(const PanelPen& pen, double c, double cy) {
  const Color danger = pen.theme.danger;
  const double s = pen.s, w = 1.6 * s;
  auto line = [&](double x0, double y0, double x1, double y1) {
    stroke_line(pen.scene, pen.transform, danger, c + x0 * s, cy + y0 * s, c + x1 * s, cy + y1 * s, w);
  };
  line(-5, -4, 5, -4);      // lid
  line(-2, -6.5, 2, -6.5);  // handle
  line(-3.6, -3, -2.8, 5);  // sides
  line(3.6, -3, 2.8, 5);
  line(-2.8, 5, 2.8, 5);  // bottom
}

// One downloaded area: its name, zoom range and tile count, and its delete button.
void paint_region_row(OfflinePanel& panel, const PanelPen& pen, const DownloadedRegion& r, double y) {
  const double s = pen.s;
  fill_rounded_rect(pen.scene, pen.transform, {pen.cl, y, pen.cr, y + 34 * s}, pen.theme.background, 8);
  const double room = std::max(pen.cw() - 54 * s, 40.0);
  pen.fitted(r.name, pen.theme.text, pen.cl + 12 * s, y + 5 * s, 13, room);
  pen.fitted(fmt::format("z{}\u2013z{} \u00b7 {}", r.z0, r.z1, counted(r.tiles, "tile", "tiles")),
             pen.theme.text_secondary, pen.cl + 12 * s, y + 20 * s, 11, room);
  // The button keeps its shape at every text size: both sides grow with the scale.
  const double cy = y + 17 * s;
  const Rect button{pen.cr - 34 * s, cy - 13 * s, pen.cr - 8 * s, cy + 13 * s};
  fill_rounded_rect(pen.scene, pen.transform, button, pen.theme.surface, 7);
  stroke_rounded_rect(pen.scene, pen.transform, button, pen.theme.border, 7, 1);
  paint_waste_bin(pen, pen.cr - 21 * s, cy);
  panel.add_hit({button, OfflineCommand{OfflineCommand::DeleteRegion{r.id}}});
}

// The area line under the field: the chosen area with its label, or a hint.
void paint_area_line(const PanelPen& pen, const std::optional<AreaCandidate>& chosen, double y) {
  if (!chosen) {
    pen.fitted("Search a city or place above, or download the current view.", pen.theme.text_secondary, pen.cl, y, 11.5,
               pen.cw());
    return;
  }
  pen.label(chosen->name, pen.theme.accent, pen.cl, y, 13, FontWeight::Semibold);
  if (chosen->label.empty()) return;
  // Measured as drawn: a semibold name is wider than the same name set normal.
  const double name_w = pen.text.measure_weighted(chosen->name, pen.size(13), FontWeight::Semibold);
  const double gap = 10 * pen.s;
  pen.fitted(chosen->label, pen.theme.text_secondary, pen.cl + name_w + gap, y, 11.5,
             std::max(pen.cw() - (name_w + gap), 20.0));
}

// The list's height at scale 1: the rows shown and "+N more", or the hint of an empty list.
double list_height(std::size_t regions) {
  const std::size_t listed = std::min(regions, kMaxListedRegions);
  return regions == 0 ? 22 : 42 * static_cast<double>(listed) + (regions > kMaxListedRegions ? 18 : 0);
}

// Everything in the card grows with the text scale, but a larger text size never pushes the
// card's content out of the window: the scale stops where the whole card still fits.
double card_scale(double text_scale, const Rect& b, double list_h1) {
  return std::max(1.0, std::min<double>(text_scale, (b.height() - 24) / (350 + list_h1)));
}

// The scrim over the window (a press on it closes the panel) and the card, centred; a press on
// the card's empty parts does nothing.
Rect paint_scrim_and_card(OfflinePanel& panel, Scene& scene, const Affine& transform, const Theme& theme, const Rect& b,
                          double s, double list_h1) {
  fill_rect(scene, transform, b, Color::black().with_alpha(0.45f));
  panel.add_hit({b, OfflineCommand{OfflineCommand::Close{}}});
  const double list_h = list_h1 * s;
  const double w = std::min(440 + 180 * (s - 1), b.width() - 40);
  const double h = std::min(350 * s + list_h, b.height() - 24);
  const Point c = b.center();
  const Rect card{c.x - w / 2, c.y - h / 2, c.x + w / 2, c.y + h / 2};
  paint_card(scene, transform, card, theme.surface, theme.border, 16);
  panel.add_hit({card, OfflineCommand{OfflineCommand::FocusSearch{}}});
  return card;
}

// The title and the close button.
void paint_header(OfflinePanel& panel, const PanelPen& pen, double top) {
  const double s = pen.s, cl = pen.cl, cr = pen.cr;
  pen.label("Offline maps", pen.theme.text, cl, top + 20 * s, 18, FontWeight::Bold);
  pen.centred("\u2715", pen.theme.text_secondary, cr - 26 * s, cr, top + 18 * s - 1, 14);
  panel.add_hit({{cr - 26 * s, top + 12 * s, cr, top + 38 * s}, OfflineCommand{OfflineCommand::Close{}}});
}

// The area search: its heading, the field (placed here every frame) and the area line.
void paint_search_field(OfflinePanel& panel, const PanelPen& pen, const zarn_ui::widget::PaintCtx& ctx, double top) {
  const double s = pen.s;
  pen.label("Area to download", pen.theme.text, pen.cl, top + 50 * s, 13, FontWeight::Semibold);
  panel.place_search_field({pen.cl, top + 72 * s, pen.cr, top + 108 * s});
  panel.area_input().draw(pen.scene, pen.transform, ctx);
  paint_area_line(pen, panel.chosen_area(), top + 116 * s);
}

// The detail stepper: the area's zoom range between a minus and a plus button.
void paint_detail_stepper(OfflinePanel& panel, const PanelPen& pen, const OfflineDownloadArea& area, double top) {
  const double s = pen.s, cr = pen.cr;
  pen.label("Detail (zoom levels)", pen.theme.text, pen.cl, top + 140 * s, 13, FontWeight::Semibold);
  const double z = top + 136 * s;
  const std::string range = fmt::format("z{}\u2013z{}", area.z0, area.z1);
  // The range sits between the two buttons; the gap grows when the text needs more than 32 px,
  // so the minus button never covers it.
  const double gap = std::max(32 * s, measure_text(pen.text, range, pen.size(13)) + 12 * s);
  const Rect plus{cr - 26 * s, z, cr, z + 26 * s};
  const Rect minus{plus.x0 - gap - 26 * s, z, plus.x0 - gap, z + 26 * s};
  for (const auto& [rect, glyph] : {std::pair{minus, "\u2013"}, std::pair{plus, "+"}}) {
    fill_rounded_rect(pen.scene, pen.transform, rect, pen.theme.background, 7);
    pen.centred(glyph, pen.theme.text, rect.x0, rect.x1, z + 4 * s - 1, 18);
  }
  pen.centred(range, pen.theme.accent, minus.x1, plus.x0, z + 6.5 * s - 1, 13);
  panel.add_hit({minus, OfflineCommand{OfflineCommand::Zoom{-1}}});
  panel.add_hit({plus, OfflineCommand{OfflineCommand::Zoom{1}}});
}

// The status line and the progress track; the track fills only while a download counts.
void paint_progress(const OfflinePanel& panel, const PanelPen& pen, const TileStore& tiles,
                    const OfflineDownloadArea& area, double top) {
  const double s = pen.s, cl = pen.cl;
  pen.fitted(status_line(tiles, panel, area), pen.theme.text_secondary, cl, top + 174 * s, 12, pen.cw());
  const Rect track{cl, top + 196 * s, pen.cr, top + 204 * s};
  fill_rounded_rect(pen.scene, pen.transform, track, pen.theme.background, 4);
  const bool reported = !download_in_progress(tiles) && panel.cache_report();
  if (!reported && tiles.download_total > 0 && tiles.download_done > 0) {
    const double share = std::min(1.0, double(tiles.download_done) / double(tiles.download_total));
    fill_rounded_rect(pen.scene, pen.transform, {cl, track.y0, cl + std::max(pen.cw() * share, 4.0), track.y1},
                      pen.theme.accent, 4);
  }
}

// The cache figure and the downloaded areas; returns where the list ends.
double paint_region_list(OfflinePanel& panel, const PanelPen& pen, const std::vector<DownloadedRegion>& regions,
                         double top) {
  const double s = pen.s, cl = pen.cl;
  const std::size_t n = regions.size();
  pen.label(fmt::format("Cached on disk: {}", format_bytes(panel.disk_usage())), pen.theme.text, cl, top + 220 * s, 12);
  pen.label("Downloaded areas", pen.theme.text, cl, top + 250 * s, 13, FontWeight::Semibold);
  double y = top + 274 * s;
  if (n == 0) {
    pen.fitted("No saved areas yet \u2014 search a place above to download it.", pen.theme.text_secondary, cl, y, 11.5,
               pen.cw());
    return y + 22 * s;
  }
  for (std::size_t i = 0; i < std::min(n, kMaxListedRegions); ++i) {
    paint_region_row(panel, pen, regions[i], y);
    y += 42 * s;
  }
  if (n > kMaxListedRegions) {
    pen.label(fmt::format("+{} more", n - kMaxListedRegions), pen.theme.text_secondary, cl, y, 11);
    y += 18 * s;
  }
  return y;
}

// The two buttons under the list: download (the chosen area or the view) and clear all.
void paint_footer(OfflinePanel& panel, const PanelPen& pen, double y) {
  const Theme& theme = pen.theme;
  const double s = pen.s, cl = pen.cl, cr = pen.cr;
  const double bw = (pen.cw() - 10) / 2, by = y + 12 * s, bh = 38 * s;
  const Rect dl{cl, by, cl + bw, by + bh};
  const Rect clear{cl + bw + 10, by, cr, by + bh};
  fill_rounded_rect(pen.scene, pen.transform, dl, theme.accent, 9);
  const auto& chosen = panel.chosen_area();
  const std::string dl_label = chosen ? fmt::format("Download {}", chosen->name) : std::string("Download current view");
  const std::string fitted = ellipsize_text(pen.text, dl_label, pen.size(13), bw - 20);
  pen.centred(fitted, label_on(theme.accent), dl.x0, dl.x1, by + 12.5 * s - 1, 13);
  panel.add_hit({dl, OfflineCommand{OfflineCommand::Download{}}});
  fill_rounded_rect(pen.scene, pen.transform, clear, theme.background, 9);
  stroke_rounded_rect(pen.scene, pen.transform, clear, theme.border, 9, 1);
  pen.centred("Clear all", readable_on(theme.danger, theme.background), clear.x0, clear.x1, by + 12.5 * s - 1, 13);
  panel.add_hit({clear, OfflineCommand{OfflineCommand::ClearCache{}}});
}

}  // namespace

void paint_offline_panel(OfflinePanel& panel, const OfflinePanelInputs& in, Scene& scene, const Affine& transform,
                         const zarn_ui::widget::PaintCtx& ctx) {
  panel.clear_hits();
  if (!panel.is_open()) return;
  const double list_h1 = list_height(in.model.regions.size());
  const double s = card_scale(ctx.theme.text_scale, in.bounds, list_h1);
  const Rect card = paint_scrim_and_card(panel, scene, transform, ctx.theme, in.bounds, s, list_h1);
  const double pad = 22 + 8 * (s - 1);
  const PanelPen pen{scene, transform, ctx.text, ctx.theme, s, card.x0 + pad, card.x1 - pad};
  paint_header(panel, pen, card.y0);
  paint_search_field(panel, pen, ctx, card.y0);
  const GeoBox visible = visible_bounds(in.bounds, in.model.center, in.model.zoom);
  const OfflineDownloadArea area = offline_download_area(panel, visible, download_zoom(in.model.zoom), in.bounds);
  paint_detail_stepper(panel, pen, area, card.y0);
  paint_progress(panel, pen, in.tiles, area, card.y0);
  paint_footer(panel, pen, paint_region_list(panel, pen, in.model.regions, card.y0));
  panel.area_input().draw_overlay(scene, transform, ctx);
}

}  // namespace maps
