#include "directions/endpoint_input.hpp"

#include "app/maps_app.hpp"
#include "app/screen_geometry.hpp"
#include "transitions/plans.hpp"

namespace maps {

void endpoint_field_key(MapsApp& app, const zarn_ui::widget::Event& event, const zarn_ui::widget::Key& key,
                        std::uint32_t modifiers, double scale) {
  if (key.is(zarn_ui::widget::NamedKey::Escape)) {
    app.endpoint_editor.reset_endpoint_editor();
    handle_endpoint_editor_event(app, EndpointEvent{EndpointEvent::Nothing{}});
    return;
  }
  endpoint_field_event(app, event, modifiers, scale);
}

void endpoint_field_event(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers, double scale) {
  if (auto edited = app.endpoint_editor.field_key(event, app.field_ctx(modifiers, scale), app.mono_now())) {
    handle_endpoint_editor_event(app, *edited);
  }
}

bool endpoint_editor_press(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers, double scale,
                           zarn_ui::Point p, zarn_ui::state::State& state) {
  EndpointEditor& editor = app.endpoint_editor;
  const auto& hits = editor.hits();
  for (auto it = hits.rbegin(); it != hits.rend(); ++it) {
    if (!rect_contains_point(it->rect, p.x, p.y)) continue;
    const EndpointHit hit = *it;  // the lists below may change under the reference
    const EndpointField field = hit.field == EndpointField::Origin ? EndpointField::Origin : EndpointField::Destination;
    switch (hit.kind) {
      case EndpointHitKind::FieldBox: {
        editor.begin_endpoint_edit(field);
        editor.field_event(field, event, app.field_ctx(modifiers, scale));
        app.search_box.close_search_suggestions();
        handle_endpoint_editor_event(app, EndpointEvent{EndpointEvent::TextEdited{"", field}}, &state);
        return true;
      }
      case EndpointHitKind::SuggestionRow: {
        app.search_box.close_search_suggestions();
        const auto place = editor.take_suggestion(field, hit.index);
        if (!place) return true;
        editor.reset_endpoint_editor();
        handle_endpoint_editor_event(app, EndpointEvent{EndpointEvent::SuggestionChosen{*place, field}}, &state);
        return true;
      }
      case EndpointHitKind::SwapButton:
        editor.reset_endpoint_editor();
        app.search_box.close_search_suggestions();
        handle_endpoint_editor_event(app, EndpointEvent{EndpointEvent::Swap{}}, &state);
        return true;
      case EndpointHitKind::SuggestionCard:
        app.search_box.close_search_suggestions();
        handle_endpoint_editor_event(app, EndpointEvent{EndpointEvent::Nothing{}}, &state);
        return true;
      default: return false;
    }
  }
  return false;
}

}  // namespace maps
