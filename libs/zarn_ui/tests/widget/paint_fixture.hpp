#pragma once
// Painting into a recording scene with the fixed-advance fake renderer (10 px per character)
// and the light theme, with the items of each kind at hand.

#include <vector>

#include "zarn_ui/permissions.hpp"
#include "zarn_ui/presence.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"
#include "zarn_ui/theme.hpp"
#include "zarn_ui/widget.hpp"

namespace zarn_ui::testing {

struct PaintFixture {
  static constexpr double kAdvance = 10.0;

  text_render::TextRenderer text = text_render::TextRenderer::fixed(kAdvance);
  theme::Theme theme = theme::Theme::light();
  presence::PresenceCtx presence = presence::PresenceCtx::empty();
  permissions::PermissionContext permissions = permissions::PermissionContext::permissive();
  widget::TextInputFocus focus;
  Scene scene;

  widget::PaintCtx ctx() { return {text, theme, presence, permissions, &focus}; }

  template <class T>
  std::vector<T> all() const {
    std::vector<T> out;
    for (const auto& item : scene.items()) {
      if (const auto* x = std::get_if<T>(&item)) out.push_back(*x);
    }
    return out;
  }
  std::vector<scene::TextRun> runs() const { return all<scene::TextRun>(); }
  std::vector<scene::Fill> fills() const { return all<scene::Fill>(); }
  std::vector<scene::Stroke> strokes() const { return all<scene::Stroke>(); }
};

}  // namespace zarn_ui::testing
