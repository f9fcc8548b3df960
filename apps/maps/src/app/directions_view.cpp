#include "app/directions_view.hpp"

#include "app/maps_app.hpp"
#include "directions/endpoint_input.hpp"
#include "directions/endpoint_suggestions.hpp"
#include "directions/endpoint_tick.hpp"
#include "transitions/plans.hpp"

namespace maps {

DirectionsInputs directions_inputs(const MapsApp& app) {
  return {.model = app.model,
          .plan = app.backend.plans.latest,
          .locating = app.backend.location.pending,
          .journeys_awaited = journeys_awaited(app.backend),
          .route_is_estimate = route_is_estimate(app.transient),
          .now = app.now_local()};
}

void paint_endpoint_suggestions(MapsApp& app, Scene& scene, const Affine& transform, const TextRenderer& text,
                                const zarn_ui::theme::Theme& theme) {
  paint_endpoint_suggestions(app.endpoint_editor, app.model, scene, transform, text, theme);
}

void endpoint_field_key(MapsApp& app, const zarn_ui::widget::Event& event, const zarn_ui::widget::Key& key,
                        std::uint32_t modifiers, zarn_ui::state::State& state, double scale) {
  endpoint_field_key(app.endpoint_editor, app.session(), event, key, app.field_ctx(modifiers, scale), state);
}

void endpoint_field_event(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers, double scale) {
  endpoint_field_event(app.endpoint_editor, app.session(), event, app.field_ctx(modifiers, scale));
}

void activate_endpoint_hit(MapsApp& app, const EndpointHit& hit, zarn_ui::state::State& state) {
  activate_endpoint_hit(app.endpoint_editor, app.session(), hit, state);
}

bool endpoint_editor_press(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers, double scale,
                           zarn_ui::Point p, zarn_ui::state::State& state) {
  return endpoint_editor_press(app.endpoint_editor, app.session(), event, app.field_ctx(modifiers, scale), p, state);
}

void sync_endpoint_texts(MapsApp& app) { sync_endpoint_texts(app.endpoint_editor, app.model); }

void fire_endpoint_deadline(MapsApp& app) { fire_endpoint_deadline(app.endpoint_editor, app.session()); }

}  // namespace maps
