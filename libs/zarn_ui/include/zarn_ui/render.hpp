#pragma once
// Replays a Scene onto a Cairo context. Cairo's limits are guarded: geometry beyond ±1e6 device
// pixels is clipped before it reaches Cairo, and an item with a non-finite or non-invertible
// transform (or non-finite geometry) is skipped alone, so one bad item never loses the frame.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "base/result.hpp"
#include "base/work_pool.hpp"
#include "zarn_ui/image.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace zarn_ui::render {

struct ReplayReport {
  std::size_t drawn = 0;
  std::size_t skipped = 0;  // items the guards refused
  bool operator==(const ReplayReport&) const = default;
};

// Draws `scene` onto `cr` in device pixels: everything is scaled by `device_scale` (HiDPI)
// before the items' own transforms. Text is laid out by `text` (its cache is reused) or, when it
// is null or the fixed-advance fake, by a renderer made for this call. The context's state is
// left as it was found. Fails only when the context is, or ends up, in an error state.
base::Result<ReplayReport> replay(cairo_t* cr, const Scene& scene, double device_scale = 1.0,
                                  const text_render::TextRenderer* text = nullptr);

// The same onto a surface (an image surface or a window's). Should a context fail after all,
// a fresh one replaces it and the replay goes on with the next item outside any layer. Items
// before `first` are left out (see `covering_item`).
base::Result<ReplayReport> replay_to_surface(cairo_surface_t* surface, const Scene& scene, double device_scale,
                                             const text_render::TextRenderer* text = nullptr, std::size_t first = 0);

// The last item outside any layer that alone paints every pixel of a width x height target
// opaquely (an opaque fill or opaque image over an axis-aligned rectangle that holds the
// target), if any. Nothing drawn before it shows, and what the target held before does not
// either: a replay may start there without clearing the target.
std::optional<std::size_t> covering_item(const Scene& scene, double device_scale, std::uint32_t width,
                                         std::uint32_t height);

// Rasterises `scene` (scaled by `device_scale`) into a new image of width x height pixels that
// starts transparent, to be drawn again later with a DrawImage item. Empty when no such image can
// be made (a side of 0 or beyond Cairo's limit, no memory, a failed replay).
Image render_to_image(const Scene& scene, std::uint32_t width, std::uint32_t height, double device_scale = 1.0,
                      const text_render::TextRenderer* text = nullptr);

// The same, except that `scene` is replayed only inside `fresh` (rectangles of the new image's
// pixels, each clipping a replay of its own); every other pixel is copied from `previous` placed
// with its top-left corner at the whole pixel (dx, dy), and stays transparent where that does not
// reach. For a picture that moved: what it already holds is kept, only the uncovered part drawn.
// With `Content::Opaque` the image is opaque throughout (RGB24; black where nothing reaches),
// which the caller promises its scene makes true.
Image render_to_image_reusing(const Image& previous, std::int32_t dx, std::int32_t dy, std::span<const Rect> fresh,
                              const Scene& scene, std::uint32_t width, std::uint32_t height, double device_scale = 1.0,
                              const text_render::TextRenderer* text = nullptr,
                              ImageBuilder::Content content = ImageBuilder::Content::WithAlpha);

// `render_to_image_reusing` of an opaque picture, drawn in horizontal bands side by side on
// `pool` (each band a surface of its own over the image's rows): the same pixels, sooner. The
// scene must hold no text.
Image render_opaque_in_bands(base::WorkPool& pool, const Image& previous, std::int32_t dx, std::int32_t dy,
                             std::span<const Rect> fresh, const Scene& scene, std::uint32_t width, std::uint32_t height,
                             double device_scale);

}  // namespace zarn_ui::render
