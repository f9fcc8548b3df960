#include "directions/directions_panel.hpp"

#include <array>
#include <string>

#include "directions/directions_plan.hpp"
#include "directions/journey_time.hpp"
#include "draw_kit/theme_colors.hpp"
#include "format/labels.hpp"
#include "model/place_ops.hpp"

namespace maps {
namespace {

using zarn_ui::theme::Theme;

void add_endpoint_hit(EndpointEditor& editor, const ListArea& list, const Rect& r, EndpointHitKind kind,
                      EndpointField field) {
  if (auto part = visible_part(list, r)) editor.add_hit({*part, kind, field, 0});
}

// The two fields, their text inputs and the swap button.
void paint_endpoints(EndpointEditor& editor, const MapModel& model, Scene& scene, const Affine& transform,
                     const zarn_ui::widget::PaintCtx& ctx, const ListArea& list, double y) {
  const Theme& theme = ctx.theme;
  const double left = list.left, right = list.right;
  const Rect origin_box{left, y, right - 42.0, y + 40.0};
  const Rect dest_box{left, y + 48.0, right - 42.0, y + 88.0};
  // A box scrolled out of view has no suggestion list to anchor.
  editor.set_boxes(visible_part(list, origin_box) ? std::optional<Rect>(origin_box) : std::nullopt,
                   visible_part(list, dest_box) ? std::optional<Rect>(dest_box) : std::nullopt);

  const struct {
    EndpointField field;
    Rect box;
    Color dot;
    std::string label;
  } fields[] = {
      {EndpointField::Origin, origin_box, theme.accent, origin_label(model)},
      {EndpointField::Destination, dest_box, theme.danger, destination_label(model)},
  };
  for (const auto& f : fields) {
    const Rect text_rect = paint_endpoint_box(editor, scene, transform, theme, list, f.box, f.dot, f.field);
    const std::string& shown = editor.active() == f.field ? editor.text(f.field) : f.label;
    editor.draw_field(f.field, shown, text_rect, scene, transform, ctx);
  }

  const Rect swap{right - 34.0, y + 20.0, right, y + 68.0};
  fill_rounded_rect(scene, transform, swap, theme.surface, 8.0);
  stroke_rounded_rect(scene, transform, swap, theme.border, 8.0, 1.0);
  draw_text_centered(scene, ctx.text, transform, "\u21c5", theme.text, swap.x0, swap.x1, y + 36.0, 16.0f);
  add_endpoint_hit(editor, list, swap, EndpointHitKind::SwapButton, EndpointField::Origin);
}

void paint_location_button(bool locating, std::vector<HitTarget>& targets, Scene& scene, const Affine& transform,
                           const TextRenderer& text, const Theme& theme, const ListArea& list, double t) {
  const std::string_view label = locating ? "Locating\u2026" : "Use my location";
  const double left = list.left;
  const Rect button{left, t, left + measure_text(text, label, 13.0f) + 44.0, t + 30.0};
  fill_rounded_rect(scene, transform, button, locating ? theme.accent.multiply_alpha(0.16f) : theme.background, 8.0);
  stroke_rounded_rect(scene, transform, button, theme.border, 8.0, 1.0);
  const double cx = left + 18.0, cy = t + 15.0;
  stroke_circle(scene, transform, theme.accent, cx, cy, 5.0, 1.6);
  fill_circle(scene, transform, theme.accent, cx, cy, 1.6);
  stroke_line(scene, transform, theme.accent, cx, cy - 5.6, cx, cy - 8.0, 1.4);
  stroke_line(scene, transform, theme.accent, cx, cy + 5.6, cx, cy + 8.0, 1.4);
  stroke_line(scene, transform, theme.accent, cx - 5.6, cy, cx - 8.0, cy, 1.4);
  stroke_line(scene, transform, theme.accent, cx + 5.6, cy, cx + 8.0, cy, 1.4);
  draw_label(scene, text, transform, label, theme.accent, left + 34.0, t + 6.875, 13.0f);
  add_list_target(targets, list, button, locating ? UiMessage{msg::Noop{}} : UiMessage{msg::UseMyLocation{}});
}

void paint_mode_tabs(TravelMode mode, std::vector<HitTarget>& targets, Scene& scene, const Affine& transform,
                     const TextRenderer& text, const Theme& theme, const ListArea& list, double y) {
  static constexpr std::array kModes = {TravelMode::Car, TravelMode::Transit, TravelMode::Bike, TravelMode::Foot};
  fill_rounded_rect(scene, transform, {list.left, y + 142.0, list.right, y + 182.0}, theme.background, 9.0);
  const double cell_w = list.width() / 4.0;
  for (std::size_t i = 0; i < kModes.size(); ++i) {
    const Rect cell{list.left + cell_w * static_cast<double>(i), y + 142.0,
                    list.left + cell_w * static_cast<double>(i + 1), y + 182.0};
    const bool chosen = mode == kModes[i];
    if (chosen) {
      fill_rounded_rect(scene, transform, {cell.x0 + 3.0, y + 145.0, cell.x1 - 3.0, y + 179.0}, theme.accent, 7.0);
    }
    draw_text_centered(scene, text, transform, travel_mode_label(kModes[i]),
                       chosen ? label_on(theme.accent) : theme.text_secondary, cell.x0, cell.x1, y + 154.5, 12.0f);
    add_list_target(targets, list, cell, UiMessage{msg::ChooseTravelMode{kModes[i]}});
  }
}

}  // namespace

std::string origin_label(const MapModel& model) {
  return model.origin && !model.origin_name.empty() ? model.origin_name : std::string();
}

std::string destination_label(const MapModel& model) {
  if (!model.dest_name.empty()) return model.dest_name;
  if (auto place = selected_place(model)) return place->name;
  return {};
}

Rect paint_endpoint_box(EndpointEditor& editor, Scene& scene, const Affine& transform, const Theme& theme,
                        const ListArea& list, const Rect& box, const Color& dot, EndpointField field) {
  fill_rounded_rect(scene, transform, box, theme.background, 9.0);
  stroke_rounded_rect(scene, transform, box, editor.active() == field ? theme.focus : theme.border, 9.0, 1.0);
  fill_circle(scene, transform, dot, box.x0 + 16.0, (box.y0 + box.y1) / 2.0, 4.0);
  add_endpoint_hit(editor, list, box, EndpointHitKind::FieldBox, field);
  return {box.x0 + 26.0, box.y0, box.x1 - 12.0, box.y1};
}

double paint_directions_panel(EndpointEditor& editor, const DirectionsInputs& in, std::vector<HitTarget>& targets,
                              Scene& scene, const Affine& transform, const zarn_ui::widget::PaintCtx& ctx,
                              const ListArea& list, double y) {
  const Theme& theme = ctx.theme;
  const TextRenderer& text = ctx.text;
  paint_endpoints(editor, in.model, scene, transform, ctx, list, y);
  paint_location_button(in.locating, targets, scene, transform, text, theme, list, y + 98.0);
  paint_mode_tabs(in.model.mode, targets, scene, transform, text, theme, list, y);
  const double r =
      paint_journey_time(in.model.transit_time, in.now, targets, scene, transform, text, theme, list, y + 194.0) + 18.0;
  if (in.model.mode == TravelMode::Transit)
    return paint_transit_plan(in, targets, scene, transform, text, theme, list, r);
  return paint_road_route(in, targets, scene, transform, text, theme, list, r);
}

}  // namespace maps
