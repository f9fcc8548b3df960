#pragma once
// Text shortened with "…" to a width.

#include <cstdint>
#include <string>
#include <string_view>

#include "draw_kit/primitives.hpp"

namespace maps {

// The text when it fits, else the longest prefix of whole characters that fits with "…"
// after it; "…" alone (which may not fit) when not even one character does.
std::string ellipsize_text(const TextRenderer& text, std::string_view s, float size, double max_width,
                           FontWeight weight = FontWeight::Normal);
void draw_text_ellipsized(Scene& scene, const TextRenderer& text, const Affine& transform, std::string_view s,
                          const Color& color, double x, double y, float size, double max_width);
// The same at a weight (1 medium, 2 semibold, 3 bold), measured at that weight.
void draw_text_ellipsized_weighted(Scene& scene, const TextRenderer& text, const Affine& transform, std::string_view s,
                                   const Color& color, double x, double y, float size, FontWeight weight,
                                   double max_width);

}  // namespace maps
