#pragma once
// A block of text laid out in the space its layout node gets: line breaks kept, long lines
// wrapped between words (a word wider than the space is broken between characters), and
// lines that do not fit under the last whole one left out.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "zarn_ui/color.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/text_render.hpp"
#include "zarn_ui/widget.hpp"

namespace zarn_ui::widgets {

// `text` as lines of at most `width`: its line breaks kept, each paragraph wrapped between words,
// a word wider than the width broken between characters.
std::vector<std::string> wrap_text(std::string_view text, const text_render::TextRenderer& renderer, float size,
                                   double width);

class Text : public widget::Widget {
 public:
  static constexpr float kDefaultTextSize = 14.0f;
  // Line pitch as a multiple of the text size.
  static constexpr double kLineSpacing = 1.4;

  static Text create(std::string text) {
    Text t;
    t.text_ = std::move(text);
    return t;
  }
  void set_text(std::string text) { text_ = std::move(text); }
  const std::string& text() const { return text_; }

  // A leaf that fills the space it is given.
  std::optional<layout::NodeId> build_layout(layout::LayoutTree& tree, const theme::Theme& theme,
                                             layout::NodeWidgetMap& widgets) override;
  // Takes the node's size, its top-left corner at `origin` plus the node's offset.
  void apply_layout(const layout::LayoutTree& tree, layout::NodeId node, Point origin) override;
  void draw(Scene& scene, const Affine& transform, const widget::PaintCtx& ctx) override;
  Rect bounds() const override { return bounds_; }
  std::string_view type_name() const override { return "Text"; }

  // The size drawn: `text_size` times the theme's text scale.
  float drawn_size(float text_scale) const;
  // The lines as drawn within `width`.
  std::vector<std::string> wrap(const text_render::TextRenderer& text, float size, double width) const;

  // Members set directly by the application.
  std::optional<float> text_size;
  std::optional<Color> color;  // the theme's text colour when unset

 private:
  std::string text_;
  Rect bounds_;
};

}  // namespace zarn_ui::widgets
