#pragma once
// Text measured and drawn with Pango at absolute pixel sizes and fractional metrics (no hinting,
// no glyph rounding), so a measured width is the drawn width at any scale. One family, DejaVu
// Sans, so pictures repeat on every machine.

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "zarn_ui/color.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"

namespace zarn_ui::text_render {

class TextEngine;

class TextRenderer {
 public:
  // The Pango renderer. Copies share one layout cache.
  static TextRenderer create();
  // The same with its fonts set up and opened, each weight shaped and drawn once: made on
  // another thread while the window opens, then handed to the window's.
  static TextRenderer create_warm();
  // A fake for geometry tests: every character (code point) is `advance` wide at any size.
  // It still records text runs in the scene.
  static TextRenderer fixed(double advance);

  // Larger sizes are neither measured nor drawn (the font engine keeps sizes in 32-bit ints).
  static constexpr float kMaxSize = 4096.0f;

  // Width of one line of text; 0 for an empty text or a size that is not in (0, kMaxSize].
  double measure(std::string_view text, float size) const;
  double measure_weighted(std::string_view text, float size, FontWeight weight) const;

  // Draws one line whose line box (line_height(size) high) starts at the transform's origin:
  // the top-left corner of the text line is (0, 0) in the transform's space, and the font's
  // ascent-plus-descent is centred in the box, so the baseline sits at
  // (1.25 size - (ascent + descent)) / 2 + ascent. A width limit ends a longer text with "…".
  void draw_text(Scene& scene, const Affine& transform, std::string_view text, float size, const Color& color,
                 std::optional<double> max_width = std::nullopt) const;
  // Weights 1, 2, 3: medium, semibold, bold; 0 normal.
  void draw_text_weighted(Scene& scene, const Affine& transform, std::string_view text, float size, const Color& color,
                          FontWeight weight, std::optional<double> max_width = std::nullopt) const;

  static double line_height(float size) { return 1.25 * static_cast<double>(size); }

  // Whether the line reads right to left: its first strong character is right-to-left (Hebrew,
  // Arabic, ...). Such a line is laid out from the right.
  bool right_to_left(std::string_view text) const;
  // Where the caret before byte `index` stands in the line as laid out, from its left edge: in
  // right-to-left text it stands right of the characters before it. The fake mirrors a
  // right-to-left line.
  double caret_x(std::string_view text, float size, std::size_t index) const;
  // The caret position (a byte index on a character boundary) nearest to `x` from the line's
  // left edge.
  std::size_t index_at(std::string_view text, float size, double x) const;

  bool is_fixed() const { return !engine_; }
  // The Pango side, for the replay; null for the fake.
  TextEngine* engine() const { return engine_.get(); }

 private:
  std::shared_ptr<TextEngine> engine_;
  double advance_ = 0.0;
};

}  // namespace zarn_ui::text_render
