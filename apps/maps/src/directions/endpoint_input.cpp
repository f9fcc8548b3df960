#include "directions/endpoint_input.hpp"

#include <functional>

#include "app/maps_app.hpp"
#include "geo/screen_view.hpp"
#include "transitions/plans.hpp"

namespace maps {

namespace {

// The edited field's suggestion `index` is chosen, as a press on its row chooses it.
void choose_suggestion(MapsApp& app, EndpointField field, std::uint64_t index, zarn_ui::state::State& state) {
  EndpointEditor& editor = app.endpoint_editor;
  app.search_box.close_search_suggestions();
  const auto place = editor.take_suggestion(field, index);
  if (!place) return;
  editor.reset_endpoint_editor();
  handle_endpoint_editor_event(app.session(), EndpointEvent{EndpointEvent::SuggestionChosen{*place, field}}, &state);
}

}  // namespace

void endpoint_field_key(MapsApp& app, const zarn_ui::widget::Event& event, const zarn_ui::widget::Key& key,
                        std::uint32_t modifiers, zarn_ui::state::State& state, double scale) {
  using zarn_ui::widget::NamedKey;
  EndpointEditor& editor = app.endpoint_editor;
  if (key.is(NamedKey::Escape)) {
    editor.reset_endpoint_editor();
    handle_endpoint_editor_event(app.session(), EndpointEvent{EndpointEvent::Nothing{}});
    return;
  }
  // The arrow keys walk the suggestions under the field; Enter then chooses the one pointed at,
  // and without one submits the typed text.
  const EndpointField field = editor.active();
  if (!editor.suggestions(field).empty()) {
    if (key.is(NamedKey::ArrowDown) || key.is(NamedKey::ArrowUp)) {
      editor.move_highlight(key.is(NamedKey::ArrowDown) ? 1 : -1);
      return;
    }
    if (key.is(NamedKey::Enter) && editor.highlighted()) {
      choose_suggestion(app, field, *editor.highlighted(), state);
      return;
    }
  }
  endpoint_field_event(app, event, modifiers, scale);
}

void endpoint_field_event(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers, double scale) {
  if (auto edited = app.endpoint_editor.field_key(event, app.field_ctx(modifiers, scale), app.backend.now())) {
    handle_endpoint_editor_event(app.session(), *edited);
  }
}

void activate_endpoint_hit(MapsApp& app, const EndpointHit& hit, zarn_ui::state::State& state,
                           const std::function<void(EndpointField)>& on_field) {
  EndpointEditor& editor = app.endpoint_editor;
  const EndpointField field = hit.field == EndpointField::Origin ? EndpointField::Origin : EndpointField::Destination;
  switch (hit.kind) {
    case EndpointHitKind::FieldBox:
      editor.begin_endpoint_edit(field);
      if (on_field) on_field(field);
      app.search_box.close_search_suggestions();
      handle_endpoint_editor_event(app.session(), EndpointEvent{EndpointEvent::TextEdited{"", field}}, &state);
      return;
    case EndpointHitKind::SuggestionRow: choose_suggestion(app, field, hit.index, state); return;
    case EndpointHitKind::SwapButton:
      editor.reset_endpoint_editor();
      app.search_box.close_search_suggestions();
      handle_endpoint_editor_event(app.session(), EndpointEvent{EndpointEvent::Swap{}}, &state);
      return;
    case EndpointHitKind::SuggestionCard:
      app.search_box.close_search_suggestions();
      handle_endpoint_editor_event(app.session(), EndpointEvent{EndpointEvent::Nothing{}}, &state);
      return;
  }
}

bool endpoint_editor_press(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers, double scale,
                           zarn_ui::Point p, zarn_ui::state::State& state) {
  const auto& hits = app.endpoint_editor.hits();
  for (auto it = hits.rbegin(); it != hits.rend(); ++it) {
    if (!rect_contains_point(it->rect, p.x, p.y)) continue;
    const EndpointHit hit = *it;  // the lists below may change under the reference
    // A press on a field also places its caret.
    activate_endpoint_hit(app, hit, state, [&](EndpointField field) {
      app.endpoint_editor.field_event(field, event, app.field_ctx(modifiers, scale));
    });
    return true;
  }
  return false;
}

}  // namespace maps
