// The side panel's card: collapsed to its title, or open with its header and the list area,
// which shows the explore lists or the directions panel.

#include "draw_kit/card.hpp"
#include "draw_kit/layout_metrics.hpp"
#include "draw_kit/list_area.hpp"
#include "draw_kit/primitives.hpp"
#include "side_panel/explore_lists.hpp"
#include "side_panel/side_panel.hpp"

namespace maps {
namespace {

using zarn_ui::theme::Theme;

// The wide layout's title card with its expand button.
void paint_collapsed_card(const SidePanelInputs& in, std::vector<HitTarget>& hits, Scene& scene,
                          const Affine& transform, const TextRenderer& text, const Theme& theme, const Rect& p) {
  const Rect card{p.x0, p.y0, p.x1, p.y0 + 60.0};
  paint_card(scene, transform, card, theme.surface, theme.border, 14.0);
  hits.push_back({card, UiMessage{msg::Noop{}}});
  draw_label_weighted(scene, text, transform, in.model.panel == Panel::Directions ? "Directions" : "Places", theme.text,
                      p.x0 + 14.0, p.y0 + 20.625, 15.0f, FontWeight::Semibold);
  const Rect expand{p.x1 - 50.0, p.y0 + 10.0, p.x1 - 10.0, p.y0 + 50.0};
  fill_rounded_rect(scene, transform, expand, theme.background, 8.0);
  draw_text_centered(scene, text, transform, "\u00bb", theme.text, expand.x0, expand.x1, p.y0 + 20.0, 16.0f);
  hits.push_back({expand, UiMessage{msg::TogglePanelCollapsed{}}});
}

// The title, the back button in Directions mode and, in the wide layout, the collapse button;
// returns the header's empty part right of the title.
Rect paint_header(const SidePanelInputs& in, std::vector<HitTarget>& hits, Scene& scene, const Affine& transform,
                  const TextRenderer& text, const Theme& theme, const Rect& p, bool narrow) {
  double h = p.x0 + 10.0;
  const bool directions = in.model.panel == Panel::Directions;
  if (directions) {
    const Rect back{p.x0 + 10.0, p.y0 + 10.0, p.x0 + 50.0, p.y0 + 50.0};
    fill_rounded_rect(scene, transform, back, theme.background, 8.0);
    draw_text_centered(scene, text, transform, "\u2039", theme.text, back.x0, back.x1, p.y0 + 18.75, 18.0f);
    hits.push_back({back, UiMessage{msg::BackToPlaces{}}});
    h = p.x0 + 58.0;
  }
  const std::string_view title = directions ? "Directions" : "Places";
  draw_label_weighted(scene, text, transform, title, theme.text, h + 2.0, p.y0 + 20.0, 16.0f, FontWeight::Bold);
  const double title_end = h + 2.0 + text.measure_weighted(title, 16.0f, FontWeight::Bold);
  const Rect room{title_end + 12.0, p.y0 + 15.0, narrow ? p.x1 - 10.0 : p.x1 - 58.0, p.y0 + 45.0};
  if (!narrow) {
    const Rect collapse{p.x1 - 50.0, p.y0 + 10.0, p.x1 - 10.0, p.y0 + 50.0};
    fill_rounded_rect(scene, transform, collapse, theme.background, 8.0);
    draw_text_centered(scene, text, transform, "\u00ab", theme.text_secondary, collapse.x0, collapse.x1, p.y0 + 20.0,
                       16.0f);
    hits.push_back({collapse, UiMessage{msg::TogglePanelCollapsed{}}});
  }
  return room;
}

}  // namespace

void SidePanel::paint(const SidePanelInputs& in, Scene& scene, const Affine& transform,
                      const zarn_ui::widget::PaintCtx& ctx) {
  hits_.clear();
  const Theme& theme = ctx.theme;
  const TextRenderer& text = ctx.text;
  const Rect p = side_panel_rect(in.bounds);
  const bool narrow = is_narrow_layout(in.bounds);
  if (!narrow && in.panel.collapsed) {
    paint_collapsed_card(in, hits_, scene, transform, text, theme, p);
    set_heights(0.0, 0.0);
    return;
  }

  paint_card(scene, transform, p, theme.surface, theme.border, 14.0);
  hits_.push_back({p, UiMessage{msg::Noop{}}});
  set_header_room(paint_header(in, hits_, scene, transform, text, theme, p, narrow));

  const Rect l{p.x0 + 10.0, p.y0 + 60.0, p.x1 - 10.0, p.y1 - 10.0};
  const ListArea list{l, l.x0, l.x1};
  const double top = l.y0 - scroll_;
  scene.push_layer(l, transform);
  const double end = in.model.panel == Panel::Directions
                         ? in.directions_page(list, top, hits_)
                         : paint_explore_lists({in, scene, transform, text, theme, list, hits_}, top);
  scene.pop_layer();
  set_heights(end - top, l.height());
  set_list_panel(p);
}

}  // namespace maps
