#pragma once
// Reading a recorded frame back: the texts drawn with their positions, and the fills, for the
// panel painters' tests.

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "zarn_ui/scene.hpp"

namespace maps::display_list {

struct DrawnText {
  std::string text;
  zarn_ui::Point at;  // top-left corner of the line
  float size = 0.0f;
  zarn_ui::FontWeight weight = zarn_ui::FontWeight::Normal;
  zarn_ui::Color color;
  std::optional<double> max_width;
};

inline std::vector<DrawnText> texts(const zarn_ui::Scene& scene) {
  std::vector<DrawnText> out;
  for (const auto& item : scene.items()) {
    if (const auto* run = std::get_if<zarn_ui::scene::TextRun>(&item)) {
      out.push_back(
          {run->text, {run->transform.e, run->transform.f}, run->size, run->weight, run->color, run->max_width});
    }
  }
  return out;
}

inline std::optional<DrawnText> find_text(const zarn_ui::Scene& scene, std::string_view s) {
  for (auto& t : texts(scene)) {
    if (t.text == s) return t;
  }
  return std::nullopt;
}

inline bool has_text(const zarn_ui::Scene& scene, std::string_view s) { return find_text(scene, s).has_value(); }

// The texts in drawing order, for checking the order of sections.
inline std::vector<std::string> text_order(const zarn_ui::Scene& scene) {
  std::vector<std::string> out;
  for (auto& t : texts(scene)) out.push_back(t.text);
  return out;
}

// Index of `s` in the drawing order; -1 when not drawn.
inline long index_of(const std::vector<std::string>& order, std::string_view s) {
  const auto it = std::find(order.begin(), order.end(), s);
  return it == order.end() ? -1 : static_cast<long>(it - order.begin());
}

// Rounded rectangles filled with `color`.
inline std::vector<zarn_ui::Rect> filled_rects(const zarn_ui::Scene& scene, const zarn_ui::Color& color) {
  std::vector<zarn_ui::Rect> out;
  for (const auto& item : scene.items()) {
    const auto* fill = std::get_if<zarn_ui::scene::Fill>(&item);
    if (!fill || !(fill->color == color)) continue;
    if (const auto* rr = std::get_if<zarn_ui::RoundedRect>(&fill->shape)) out.push_back(rr->rect);
    if (const auto* r = std::get_if<zarn_ui::Rect>(&fill->shape)) out.push_back(*r);
  }
  return out;
}

}  // namespace maps::display_list
