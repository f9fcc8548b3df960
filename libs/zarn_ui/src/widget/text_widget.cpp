// The text block: layout, wrapping and drawing.

#include "zarn_ui/text_widget.hpp"

#include <cmath>

#include "text_edit.hpp"
#include "zarn_ui/layout.hpp"
#include "zarn_ui/theme.hpp"

namespace zarn_ui::widgets {
namespace {

using text_render::TextRenderer;

// Greedy wrapping of one paragraph (no line breaks in it) into `out`.
void wrap_paragraph(std::string_view para, const TextRenderer& text, float size, double width,
                    std::vector<std::string>& out) {
  std::string line;
  const auto fits = [&](std::string_view s) { return text.measure(s, size) <= width; };
  std::size_t i = 0;
  while (i <= para.size()) {
    const std::size_t space = para.find(' ', i);
    const std::size_t end = space == std::string_view::npos ? para.size() : space;
    std::string_view word = para.substr(i, end - i);
    const std::string candidate = line.empty() ? std::string(word) : line + " " + std::string(word);
    if (fits(candidate)) {
      line = candidate;
    } else {
      if (!line.empty()) out.push_back(std::move(line));
      line.clear();
      // A word wider than the line is broken between characters.
      while (!word.empty() && !fits(word)) {
        // The longest prefix that fits, and at least one character.
        std::size_t cut = text_edit::next_char(word, 0);
        while (true) {
          const std::size_t next = text_edit::next_char(word, cut);
          if (next == cut || !fits(word.substr(0, next))) break;
          cut = next;
        }
        out.emplace_back(word.substr(0, cut));
        word.remove_prefix(cut);
      }
      line = std::string(word);
    }
    if (space == std::string_view::npos) break;
    i = space + 1;
  }
  out.push_back(std::move(line));
}

}  // namespace

std::optional<layout::NodeId> Text::build_layout(layout::LayoutTree& tree, const theme::Theme&,
                                                 layout::NodeWidgetMap& widgets) {
  auto node = tree.new_leaf(layout::Style{});
  if (!node) return std::nullopt;
  widgets.insert(*node, this);
  return *node;
}

void Text::apply_layout(const layout::LayoutTree& tree, layout::NodeId node, Point origin) {
  const auto l = tree.layout(node);
  if (!l) return;
  const double x0 = origin.x + l->left, y0 = origin.y + l->top;
  bounds_ = {x0, y0, x0 + l->width, y0 + l->height};
}

float Text::drawn_size(float text_scale) const {
  float size = text_size.value_or(kDefaultTextSize);
  if (!std::isfinite(size) || size <= 0.0f) size = kDefaultTextSize;
  if (std::isfinite(text_scale) && text_scale > 0.0f) size *= text_scale;
  return std::min(size, TextRenderer::kMaxSize);
}

std::vector<std::string> wrap_text(std::string_view all, const TextRenderer& text, float size, double width) {
  std::vector<std::string> lines;
  std::string_view rest = all;
  while (true) {
    const std::size_t nl = rest.find('\n');
    std::string_view para = rest.substr(0, nl);
    if (!para.empty() && para.back() == '\r') para.remove_suffix(1);
    wrap_paragraph(para, text, size, width, lines);
    if (nl == std::string_view::npos) break;
    rest.remove_prefix(nl + 1);
  }
  return lines;
}

std::vector<std::string> Text::wrap(const TextRenderer& text, float size, double width) const {
  return wrap_text(text_, text, size, width);
}

void Text::draw(Scene& scene, const Affine& transform, const widget::PaintCtx& ctx) {
  const Rect b = bounds_;
  if (!b.is_finite() || !(b.width() > 0.0 && b.height() > 0.0)) return;
  const float size = drawn_size(ctx.theme.text_scale);
  const double pitch = kLineSpacing * size;
  const double line = TextRenderer::line_height(size);
  const Color c = color.value_or(ctx.theme.text);
  double y = b.y0;
  for (const std::string& l : wrap(ctx.text, size, b.width())) {
    if (y + line > b.y1) break;
    ctx.text.draw_text(scene, transform * Affine::translate(b.x0, y), l, size, c);
    y += pitch;
  }
}

}  // namespace zarn_ui::widgets
