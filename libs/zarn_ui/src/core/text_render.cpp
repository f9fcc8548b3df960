#include "zarn_ui/text_render.hpp"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
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

// A byte that starts no well-formed sequence reads as its own value.
std::uint32_t code_point_at(std::string_view s, std::size_t i) {
  const base::Utf8CodePoint d = base::utf8_decode(s, i);
  return d.length == 0 ? static_cast<unsigned char>(s[i]) : d.value;
}

// The fake's reading of a line's direction: its first letter of a right-to-left or a
// left-to-right script; digits, spaces and punctuation count for neither.
bool first_strong_is_rtl(std::string_view s) {
  for (std::size_t i = 0; i < s.size(); i = base::utf8_next_boundary(s, i)) {
    const std::uint32_t c = code_point_at(s, i);
    if ((c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF)) return true;
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 0xC0 && c < 0x0590)) return false;
  }
  return false;
}

// The byte index of the `n`th character boundary (the end for n past it).
std::size_t boundary_index(std::string_view s, std::size_t n) {
  std::size_t i = 0;
  for (; n > 0 && i < s.size(); --n) i = base::utf8_next_boundary(s, i);
  return i;
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
  for (FontWeight weight : {FontWeight::Normal, FontWeight::Medium, FontWeight::Semibold, FontWeight::Bold}) {
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

double TextRenderer::measure(std::string_view text, float size) const {
  return measure_weighted(text, size, FontWeight::Normal);
}

double TextRenderer::measure_weighted(std::string_view text, float size, FontWeight weight) const {
  if (text.empty() || !drawable_size(size)) return 0.0;
  if (!engine_) return advance_ * static_cast<double>(code_points(text));
  return engine_->layout(text, size, weight, std::nullopt).width;
}

bool TextRenderer::right_to_left(std::string_view text) const {
  if (text.empty()) return false;
  if (!engine_) return first_strong_is_rtl(text);
  PangoLayoutLine* line =
      pango_layout_get_line_readonly(engine_->layout(text, 12.0f, FontWeight::Normal, std::nullopt).layout, 0);
  return line && line->resolved_dir == PANGO_DIRECTION_RTL;
}

double TextRenderer::caret_x(std::string_view text, float size, std::size_t index) const {
  index = std::min(index, text.size());
  if (!engine_ || !drawable_size(size)) {
    const double k = static_cast<double>(code_points(text.substr(0, index)));
    const double n = static_cast<double>(code_points(text));
    return advance_ * (first_strong_is_rtl(text) ? n - k : k);
  }
  if (text.empty()) return 0.0;
  PangoLayout* layout = engine_->layout(text, size, FontWeight::Normal, std::nullopt).layout;
  // The layout holds the text made valid UTF-8; an index past its end stands at its end.
  const std::size_t laid = std::strlen(pango_layout_get_text(layout));
  PangoRectangle strong;
  pango_layout_get_cursor_pos(layout, static_cast<int>(std::min(index, laid)), &strong, nullptr);
  return static_cast<double>(strong.x) / PANGO_SCALE;
}

std::size_t TextRenderer::index_at(std::string_view text, float size, double x) const {
  if (text.empty()) return 0;
  if (!engine_ || !drawable_size(size)) {
    const auto n = static_cast<double>(code_points(text));
    const double k = advance_ > 0.0 && std::isfinite(x) ? std::clamp(std::round(x / advance_), 0.0, n) : 0.0;
    return boundary_index(text, static_cast<std::size_t>(first_strong_is_rtl(text) ? n - k : k));
  }
  const LaidText& laid = engine_->layout(text, size, FontWeight::Normal, std::nullopt);
  const double px = std::isfinite(x) ? std::clamp(x, -1e6, 1e6) : 0.0;
  int index = 0, trailing = 0;
  pango_layout_xy_to_index(laid.layout, static_cast<int>(px * PANGO_SCALE), 0, &index, &trailing);
  const char* s = pango_layout_get_text(laid.layout);
  const char* at = g_utf8_offset_to_pointer(s + index, trailing);
  return std::min(static_cast<std::size_t>(at - s), text.size());
}

void TextRenderer::draw_text(Scene& scene, const Affine& transform, std::string_view text, float size,
                             const Color& color, std::optional<double> max_width) const {
  draw_text_weighted(scene, transform, text, size, color, FontWeight::Normal, max_width);
}

void TextRenderer::draw_text_weighted(Scene& scene, const Affine& transform, std::string_view text, float size,
                                      const Color& color, FontWeight weight, std::optional<double> max_width) const {
  if (text.empty() || !drawable_size(size)) return;
  scene.add_text(scene::TextRun{std::string(text), size, weight, color, transform, max_width});
}

}  // namespace zarn_ui::text_render
