#pragma once
// Off-screen rendering of scenes to pixels and PNG, for shots and tests.

#include <cstdint>
#include <memory>
#include <vector>

#include "base/result.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"

typedef struct _cairo_surface cairo_surface_t;

namespace zarn_ui::offscreen {

class OffscreenRenderer {
 public:
  // A transparent ARGB32 surface of width x height pixels (1 .. 32767 each).
  static base::Result<OffscreenRenderer> create(std::uint32_t width, std::uint32_t height);
  // Lays text out with `text` (sharing its cache) instead of a renderer of its own.
  void set_text_renderer(const text_render::TextRenderer& text) { text_ = text; }

  std::uint32_t width() const { return width_; }
  std::uint32_t height() const { return height_; }

  // Clears the surface, replays `scene` and then each extra layer on top, and returns the pixels:
  // RGBA8, straight (not premultiplied) alpha, rows top to bottom, width * height * 4 bytes.
  // Items the guards refuse are left out; the rest of the frame is drawn.
  std::vector<std::uint8_t> render_resilient(const Scene& scene, const std::vector<Scene>& extra_layers = {});

  // PNG bytes of RGBA8 straight pixels of this renderer's size.
  base::Result<std::vector<std::uint8_t>> encode_png(const std::vector<std::uint8_t>& rgba) const;

  cairo_surface_t* surface() const { return surface_.get(); }

 private:
  std::uint32_t width_ = 0;
  std::uint32_t height_ = 0;
  std::shared_ptr<cairo_surface_t> surface_;
  text_render::TextRenderer text_;
};

// RGBA8 straight pixels of an ARGB32 image surface.
std::vector<std::uint8_t> surface_rgba8(cairo_surface_t* surface);

// Decodes PNG bytes to RGBA8 straight pixels with the image's size.
struct DecodedPng {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> rgba;
};
base::Result<DecodedPng> decode_png(const std::vector<std::uint8_t>& bytes);

}  // namespace zarn_ui::offscreen
