#pragma once
// Buttons drawn by the framework: a card button with a glyph (map controls), and the labelled
// action buttons of dialogs.

#include <string_view>

#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"

namespace zarn_ui::theme {
struct Theme;
}

namespace zarn_ui::widgets {

// A button on a card: `surface` (or `hover` while hovered) with a `border` outline, the glyph
// centred in `text`. Without a glyph the label is shown. A focused button gets a ring in
// `focus`.
struct Button {
  Rect rect{};
  std::string_view label{};  // the accessible name
  std::string_view glyph{};
  float glyph_size = 16.0f;
  double corner_radius = 10.0;
  bool hovered = false;
  bool focused = false;

  void paint(Scene& scene, const Affine& transform, const text_render::TextRenderer& text,
             const theme::Theme& theme) const;
};

// A dialog button: a primary one filled with `accent` and a white label (near-black on a light accent), a secondary one
// on `control` with a `border` outline and a `text` label; a focused one gets a ring in `focus`. The label is centred
// and shortened with "…" to the button.
void draw_action_button(Scene& scene, const Affine& transform, const text_render::TextRenderer& text,
                        const theme::Theme& theme, const Rect& rect, std::string_view label, bool primary,
                        bool focused);

}  // namespace zarn_ui::widgets
