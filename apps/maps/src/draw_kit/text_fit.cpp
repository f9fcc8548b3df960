#include "draw_kit/text_fit.hpp"

#include "base/utf8.hpp"
#include "draw_kit/primitives.hpp"

namespace maps {

namespace {

constexpr std::string_view kEllipsis = "…";

}  // namespace

std::string ellipsize_text(const TextRenderer& text, std::string_view s, float size, double max_width,
                           FontWeight weight) {
  const auto width = [&](std::string_view t) { return text.measure_weighted(t, size, weight); };
  if (!(width(s) > max_width)) return std::string(s);
  std::string prefix;
  std::string candidate;
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t n = base::utf8_next_boundary(s, i) - i;
    candidate.assign(prefix);
    candidate.append(s.substr(i, n));
    candidate.append(kEllipsis);
    if (width(candidate) > max_width) break;
    prefix.append(s.substr(i, n));
    i += n;
  }
  prefix.append(kEllipsis);
  return prefix;
}

void draw_text_ellipsized(Scene& scene, const TextRenderer& text, const Affine& transform, std::string_view s,
                          const Color& color, double x, double y, float size, double max_width) {
  const std::string shown = ellipsize_text(text, s, size, max_width);
  text.draw_text(scene, transform * Affine::translate(x, y), shown, size, color, max_width + 1.0);
}

void draw_text_ellipsized_weighted(Scene& scene, const TextRenderer& text, const Affine& transform, std::string_view s,
                                   const Color& color, double x, double y, float size, FontWeight weight,
                                   double max_width) {
  const std::string shown = ellipsize_text(text, s, size, max_width, weight);
  text.draw_text_weighted(scene, transform * Affine::translate(x, y), shown, size, color, weight, max_width + 1.0);
}

}  // namespace maps
