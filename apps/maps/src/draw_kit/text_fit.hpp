#pragma once
// Text shortened with "…" to a width.

#include <string>
#include <string_view>

#include "draw_kit/primitives.hpp"

namespace maps {

// The text when it fits, else the longest prefix of whole characters that fits with "…"
// after it; "…" alone (which may not fit) when not even one character does.
std::string ellipsize_text(const TextRenderer& text, std::string_view s, float size, double max_width);
void draw_text_ellipsized(Scene& scene, const TextRenderer& text, const Affine& transform, std::string_view s,
                          const Color& color, double x, double y, float size, double max_width);

}  // namespace maps
