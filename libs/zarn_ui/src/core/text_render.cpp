#include "zarn_ui/text_render.hpp"

#include <cairo.h>

#include <cmath>
#include <string>

#include "base/utf8.hpp"
#include "text_engine.hpp"
#include "zarn_ui/render.hpp"

namespace zarn_ui::text_render {
namespace {

bool drawable_size(float size) { return size > 0.0f && size <= TextRenderer::kMaxSize; }

std::size_t code_points(std::string_view text) {
  std::size_t n = 0;
  for (char c : text) n += !base::is_utf8_continuation(c);
  return n;
}

}  // namespace

TextRenderer TextRenderer::create() {
  TextRenderer r;
  r.engine_ = std::make_shared<TextEngine>();
  return r;
}

TextRenderer TextRenderer::create_warm() {
  TextRenderer r = create();
  // Every weight once: fontconfig is set up and each font file opened and shaped with. The rest
  // (sizes, glyphs) is quick once they are.
  Scene scene;
  for (std::uint8_t weight = 0; weight <= kWeightBold; ++weight) {
    r.draw_text_weighted(scene, Affine::identity(), "Loading map\u2026 0123456789", 13.0f, Color::rgba(0, 0, 0),
                         weight);
  }
  if (cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 64, 16)) {
    (void)render::replay_to_surface(scratch, scene, 1.0, &r);
    cairo_surface_destroy(scratch);
  }
  return r;
}

TextRenderer TextRenderer::fixed(double advance) {
  TextRenderer r;
  r.advance_ = advance;
  return r;
}

double TextRenderer::measure(std::string_view text, float size) const { return measure_weighted(text, size, 0); }

double TextRenderer::measure_weighted(std::string_view text, float size, std::uint8_t weight) const {
  if (text.empty() || !drawable_size(size)) return 0.0;
  if (!engine_) return advance_ * static_cast<double>(code_points(text));
  return engine_->layout(text, size, weight, std::nullopt).width;
}

void TextRenderer::draw_text(Scene& scene, const Affine& transform, std::string_view text, float size,
                             const Color& color, std::optional<double> max_width) const {
  draw_text_weighted(scene, transform, text, size, color, 0, max_width);
}

void TextRenderer::draw_text_weighted(Scene& scene, const Affine& transform, std::string_view text, float size,
                                      const Color& color, std::uint8_t weight, std::optional<double> max_width) const {
  if (text.empty() || !drawable_size(size)) return;
  scene.add_text(scene::TextRun{std::string(text), size, weight, color, transform, max_width});
}

}  // namespace zarn_ui::text_render
