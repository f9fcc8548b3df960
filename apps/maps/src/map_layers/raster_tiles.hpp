#pragma once
// The raster tile layer: loaded tiles, or the best substitute already in memory (an ancestor
// scaled up, descendants scaled down), and the plain grid shown when there is nothing at all.

#include "draw_kit/palette.hpp"
#include "model/records.hpp"
#include "tiles/tile_store.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/image.hpp"
#include "zarn_ui/scene.hpp"

namespace maps {

// Paints the visible tiles of the view and asks the store for the missing ones, after painting;
// once none is missing, the ring around the view is fetched ahead into the disk cache.
// A tile that failed and has nothing to stand in for it is drawn hatched. True when any raster
// image (own, ancestor or descendant) was drawn.
bool paint_raster_tiles(zarn_ui::Scene& scene, const zarn_ui::Affine& transform, const zarn_ui::Rect& bounds,
                        TileStore& store, LatLon center, double zoom, const MapPalette& palette, double center_x,
                        double center_y);

// The visible tiles of the view that could not be loaded (see tile_has_failed), the map's centre
// drawn in the middle of `bounds`.
std::size_t failed_tiles_in_view(const TileStore& store, const zarn_ui::Rect& bounds, LatLon center, double zoom);

// Loaded descendants of `key` up to `depth` levels down, into its rectangle; the first level that
// has any wins. True when any was drawn.
bool paint_tile_children(zarn_ui::Scene& scene, const zarn_ui::Affine& transform, TileStore& store, const TileKey& key,
                         const zarn_ui::Rect& rect, int depth);

// The part of an ancestor's image that covers `key`, `levels_up` levels below it.
void paint_tile_image(zarn_ui::Scene& scene, const zarn_ui::Affine& transform, const zarn_ui::Image& image,
                      const TileKey& ancestor, const TileKey& key, int levels_up, const zarn_ui::Rect& rect);

// The whole image stretched over the rectangle; nothing for an empty rectangle.
void draw_image_in_rect(zarn_ui::Scene& scene, const zarn_ui::Affine& transform, const zarn_ui::Image& image,
                        const zarn_ui::Rect& rect);

// Tile outlines with quarter lines, for a map with neither tiles nor a vector map.
void paint_tile_grid(zarn_ui::Scene& scene, const zarn_ui::Affine& transform, const zarn_ui::Rect& bounds,
                     LatLon center, double zoom, const MapPalette& palette, double center_x, double center_y);

}  // namespace maps
