#include "directions/endpoint_input.hpp"

#include <functional>

#include "geo/screen_view.hpp"
#include "transitions/plans.hpp"

namespace maps {

namespace {

void close_search_suggestions(Session& session) { session.requests.push_back(view_request::CloseSearchSuggestions{}); }

// The edited field's suggestion `index` is chosen, as a press on its row chooses it.
void choose_suggestion(EndpointEditor& editor, Session& session, EndpointField field, std::uint64_t index,
                       zarn_ui::state::State& state) {
  close_search_suggestions(session);
  const auto place = editor.take_suggestion(field, index);
  if (!place) return;
  editor.reset_endpoint_editor();
  handle_endpoint_editor_event(session, EndpointEvent{EndpointEvent::SuggestionChosen{*place, field}}, &state);
}

}  // namespace

void endpoint_field_key(EndpointEditor& editor, Session& session, const zarn_ui::widget::Event& event,
                        const zarn_ui::widget::Key& key, const zarn_ui::widgets::EventCtx& ctx,
                        zarn_ui::state::State& state) {
  using zarn_ui::widget::NamedKey;
  if (key.is(NamedKey::Escape)) {
    editor.reset_endpoint_editor();
    handle_endpoint_editor_event(session, EndpointEvent{EndpointEvent::Nothing{}});
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
      choose_suggestion(editor, session, field, *editor.highlighted(), state);
      return;
    }
  }
  endpoint_field_event(editor, session, event, ctx);
}

void endpoint_field_event(EndpointEditor& editor, Session& session, const zarn_ui::widget::Event& event,
                          const zarn_ui::widgets::EventCtx& ctx) {
  if (auto edited = editor.field_key(event, ctx, session.backend.now())) {
    handle_endpoint_editor_event(session, *edited);
  }
}

void activate_endpoint_hit(EndpointEditor& editor, Session& session, const EndpointHit& hit,
                           zarn_ui::state::State& state, const std::function<void(EndpointField)>& on_field) {
  const EndpointField field = hit.field == EndpointField::Origin ? EndpointField::Origin : EndpointField::Destination;
  switch (hit.kind) {
    case EndpointHitKind::FieldBox:
      editor.begin_endpoint_edit(field);
      if (on_field) on_field(field);
      close_search_suggestions(session);
      handle_endpoint_editor_event(session, EndpointEvent{EndpointEvent::TextEdited{"", field}}, &state);
      return;
    case EndpointHitKind::SuggestionRow: choose_suggestion(editor, session, field, hit.index, state); return;
    case EndpointHitKind::SwapButton:
      editor.reset_endpoint_editor();
      close_search_suggestions(session);
      handle_endpoint_editor_event(session, EndpointEvent{EndpointEvent::Swap{}}, &state);
      return;
    case EndpointHitKind::SuggestionCard:
      close_search_suggestions(session);
      handle_endpoint_editor_event(session, EndpointEvent{EndpointEvent::Nothing{}}, &state);
      return;
  }
}

bool endpoint_editor_press(EndpointEditor& editor, Session& session, const zarn_ui::widget::Event& event,
                           const zarn_ui::widgets::EventCtx& ctx, zarn_ui::Point p, zarn_ui::state::State& state) {
  const auto& hits = editor.hits();
  for (auto it = hits.rbegin(); it != hits.rend(); ++it) {
    if (!rect_contains_point(it->rect, p.x, p.y)) continue;
    const EndpointHit hit = *it;  // the lists below may change under the reference
    activate_endpoint_hit(editor, session, hit, state,
                          [&](EndpointField field) { editor.field_event(field, event, ctx); });
    return true;
  }
  return false;
}

}  // namespace maps
