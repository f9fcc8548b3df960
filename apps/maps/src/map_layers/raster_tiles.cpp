#include "map_layers/raster_tiles.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "draw_kit/primitives.hpp"

namespace maps {

namespace {

constexpr int kMaxTileZoom = 19;
constexpr int kChildDepth = 2;

std::vector<VisibleTile> tiles_of(const Rect& bounds, LatLon center, double zoom, double cx, double cy) {
  return visible_tiles(bounds.x0, bounds.y0, bounds.x1, bounds.y1, center.lat, center.lon, zoom, cx, cy);
}

Rect rect_of(const VisibleTile& t) { return {t.x0, t.y0, t.x1, t.y1}; }

constexpr double kHatchSpacing = 16.0;

// A tile that could not be loaded: a muted ground with diagonal hatching, so it reads as missing,
// not as one still on its way (those show the plain land colour).
void paint_failed_tile(Scene& scene, const Affine& transform, const Rect& r, const MapPalette& palette) {
  fill_rect(scene, transform, r, palette.grid_ground);
  BezPath hatch;
  const double w = r.width(), h = r.height();
  if (!(w > 0.0) || !(h > 0.0)) return;
  // Lines x - y = c across the tile, clipped to it.
  for (double c = -h + kHatchSpacing / 2.0; c < w; c += kHatchSpacing) {
    const double x_start = std::max(c, 0.0), x_end = std::min(c + h, w);
    hatch.move_to({r.x0 + x_start, r.y0 + x_start - c});
    hatch.line_to({r.x0 + x_end, r.y0 + x_end - c});
  }
  stroke_path(scene, transform, hatch, mix_color(palette.grid_ground, palette.grid_line, 0.85f), 1.0);
}

}  // namespace

std::size_t failed_tiles_in_view(const TileStore& store, const Rect& bounds, LatLon center, double zoom) {
  const Point mid{0.5 * (bounds.x0 + bounds.x1), 0.5 * (bounds.y0 + bounds.y1)};
  std::size_t n = 0;
  for (const VisibleTile& t : tiles_of(bounds, center, zoom, mid.x, mid.y)) n += tile_has_failed(store, t.key) ? 1 : 0;
  return n;
}

void draw_image_in_rect(Scene& scene, const Affine& transform, const zarn_ui::Image& image, const Rect& rect) {
  const double w = rect.width(), h = rect.height();
  if (!(w > 0.0) || !(h > 0.0)) return;
  const double sx = w / std::max<double>(image.width(), 1.0);
  const double sy = h / std::max<double>(image.height(), 1.0);
  const Affine brush = Affine::translate(rect.x0, rect.y0) * Affine::scale_non_uniform(sx, sy);
  scene.draw_image(image, brush, rect, transform);
}

void paint_tile_image(Scene& scene, const Affine& transform, const zarn_ui::Image& image, const TileKey& ancestor,
                      const TileKey& key, int levels_up, const Rect& rect) {
  const double w = rect.width(), h = rect.height();
  if (!(w > 0.0) || !(h > 0.0) || levels_up <= 0) {
    draw_image_in_rect(scene, transform, image, rect);
    return;
  }
  const double n = std::ldexp(1.0, levels_up);
  const double sw = image.width() / n, sh = image.height() / n;
  // Offsets in sub-squares; signed so a key outside the ancestor cannot wrap around.
  const double dx =
      static_cast<double>(static_cast<std::int64_t>(key.x) - (static_cast<std::int64_t>(ancestor.x) << levels_up));
  const double dy =
      static_cast<double>(static_cast<std::int64_t>(key.y) - (static_cast<std::int64_t>(ancestor.y) << levels_up));
  const Affine brush = Affine::translate(rect.x0, rect.y0) * Affine::scale_non_uniform(w / sw, h / sh) *
                       Affine::translate(-sw * dx, -sh * dy);
  scene.draw_image(image, brush, rect, transform);
}

bool paint_tile_children(Scene& scene, const Affine& transform, TileStore& store, const TileKey& key, const Rect& rect,
                         int depth) {
  const double w = rect.width(), h = rect.height();
  if (!(w > 0.0) || !(h > 0.0)) return false;
  for (int k = 1; k <= depth; ++k) {
    if (key.z + k > kMaxTileZoom) return false;
    const std::uint32_t n = 1u << k;
    const double cw = w / n, ch = h / n;
    bool drawn = false;
    for (std::uint32_t i = 0; i < n; ++i) {
      for (std::uint32_t j = 0; j < n; ++j) {
        const TileKey child{(key.x << k) + j, (key.y << k) + i, static_cast<std::uint8_t>(key.z + k)};
        const auto image = tile_image_handle(loaded_tile(store, child));
        if (!image) continue;
        const double x0 = rect.x0 + j * cw, y0 = rect.y0 + i * ch;
        draw_image_in_rect(scene, transform, *image, {x0, y0, x0 + cw, y0 + ch});
        drawn = true;
      }
    }
    if (drawn) return true;
  }
  return false;
}

bool paint_raster_tiles(Scene& scene, const Affine& transform, const Rect& bounds, TileStore& store, LatLon center,
                        double zoom, const MapPalette& palette, double center_x, double center_y) {
  const std::vector<VisibleTile> tiles = tiles_of(bounds, center, zoom, center_x, center_y);
  std::vector<TileKey> missing;
  bool drawn = false;
  Scene images;
  for (const VisibleTile& tile : tiles) {
    const Rect r = rect_of(tile);
    const zarn_ui::Image* own = loaded_tile(store, tile.key);
    if (!own) {
      bool substitute = false;
      if (const auto ancestor = find_loaded_ancestor(store, tile.key)) {
        if (const auto image = tile_image_handle(loaded_tile(store, ancestor->first))) {
          paint_tile_image(images, transform, *image, ancestor->first, tile.key, ancestor->second, r);
          substitute = true;
        }
      }
      if (paint_tile_children(images, transform, store, tile.key, r, kChildDepth)) substitute = true;
      if (substitute) {
        drawn = true;
      } else if (tile_has_failed(store, tile.key)) {
        paint_failed_tile(images, transform, r, palette);
      }
      missing.push_back(tile.key);
    } else if (const auto image = tile_image_handle(own)) {
      draw_image_in_rect(images, transform, *image, r);
      drawn = true;
    }
  }
  // Without imagery the city or the grid covers the bounds; with it, land shows wherever no image
  // lies, filled once under all of them rather than under each tile.
  if (drawn) {
    scene.push_layer(bounds, transform);
    fill_rect(scene, transform, bounds, palette.land);
    scene.append(images);
    scene.pop_layer();
  }
  request_view_tiles(store, missing);
  // Once the view has all it needs, the tiles a pan would show next go into the disk cache.
  if (missing.empty()) {
    prefetch_tiles(store, tiles_around_view(bounds.x0, bounds.y0, bounds.x1, bounds.y1, center.lat, center.lon, zoom,
                                            center_x, center_y));
  }
  return drawn;
}

void paint_tile_grid(Scene& scene, const Affine& transform, const Rect& bounds, LatLon center, double zoom,
                     const MapPalette& palette, double center_x, double center_y) {
  fill_rect(scene, transform, bounds, palette.grid_ground);
  const std::vector<VisibleTile> tiles = tiles_of(bounds, center, zoom, center_x, center_y);
  const Color minor = mix_color(palette.grid_ground, palette.grid_line, 0.4f);
  const Color major = mix_color(palette.grid_ground, palette.grid_line, 0.85f);
  scene.push_layer(bounds, transform);
  for (const VisibleTile& t : tiles) {
    for (int k = 1; k <= 3; ++k) {
      const double f = k * 0.25;
      const double x = t.x0 + (t.x1 - t.x0) * f, y = t.y0 + (t.y1 - t.y0) * f;
      stroke_line(scene, transform, minor, x, t.y0, x, t.y1, 0.5);
      stroke_line(scene, transform, minor, t.x0, y, t.x1, y, 0.5);
    }
    // Right and bottom edges come from the neighbouring tiles.
    stroke_line(scene, transform, major, t.x0, t.y0, t.x0, t.y1, 1.0);
    stroke_line(scene, transform, major, t.x0, t.y0, t.x1, t.y0, 1.0);
  }
  scene.pop_layer();
}

}  // namespace maps
