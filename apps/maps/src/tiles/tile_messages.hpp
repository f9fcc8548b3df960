#pragma once
// What the tile store and its worker thread say to each other.

#include <variant>

#include "tiles/tile_key.hpp"
#include "zarn_ui/image.hpp"

namespace maps {

enum class TileRequestKind {
  Display,   // load for painting: disk cache, else network; answer with the pixels
  Download,  // make sure the file is in the disk cache; answer whether it is
};

struct TileRequest {
  TileRequestKind kind = TileRequestKind::Display;
  TileKey key;
  bool operator==(const TileRequest&) const = default;
};

// The image is built (and premultiplied for drawing) on the worker thread.
struct TileLoaded {
  TileKey key;
  zarn_ui::Image image;
};
struct TileFailed {
  TileKey key;
};
// Carries its key so the store counts each tile of a download once, and only tiles of the
// download it is running.
struct TileDownloaded {
  TileKey key;
  bool ok = false;
};

using TileResult = std::variant<TileLoaded, TileFailed, TileDownloaded>;

}  // namespace maps
