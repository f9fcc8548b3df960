#include "app/search_box_view.hpp"

#include "app/maps_app.hpp"
#include "app/ui_messages.hpp"
#include "search_box/search_box_input.hpp"
#include "search_box/search_box_tick.hpp"
#include "transitions/search.hpp"

namespace maps {
namespace {

void take_search_hits(MapsApp& app) {
  for (HitTarget& target : take_search_targets(app.search_box)) app.hit_targets.push_back(std::move(target));
}

}  // namespace

SearchBoxInputs search_box_inputs(const MapsApp& app) {
  return {.query = app.model.query,
          .bounds = app.bounds_rect,
          .reference = origin_or_centre(app.model),
          .selected = app.model.selected};
}

void paint_search_box(MapsApp& app, Scene& scene, const Affine& transform, const zarn_ui::widget::PaintCtx& ctx) {
  paint_search_box(app.search_box, search_box_inputs(app), scene, transform, ctx);
  take_search_hits(app);
}

void paint_search_suggestions(MapsApp& app, Scene& scene, const Affine& transform, const TextRenderer& text,
                              const zarn_ui::theme::Theme& theme) {
  paint_search_suggestions(app.search_box, search_box_inputs(app), scene, transform, text, theme);
  take_search_hits(app);
}

std::optional<UiMessage> search_box_key(MapsApp& app, const zarn_ui::widget::Event& event,
                                        const zarn_ui::widget::Key& key, std::uint32_t modifiers,
                                        zarn_ui::state::State& state, double scale) {
  return search_box_key(app.search_box, app.session(), event, key, app.field_ctx(modifiers, scale), state);
}

void search_box_field_event(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers,
                            zarn_ui::state::State* state, double scale) {
  search_box_field_event(app.search_box, app.session(), event, app.field_ctx(modifiers, scale), state);
}

void fire_search_deadline(MapsApp& app, zarn_ui::state::State& state) {
  if (auto ask = search_box_tick(app.search_box, app.model.query, app.backend.now())) route_message(app, *ask, state);
}

}  // namespace maps
