#include "directions/endpoint_tick.hpp"

#include <string>
#include <utility>

#include "base/text.hpp"
#include "transitions/plans.hpp"

namespace maps {

void sync_endpoint_texts(EndpointEditor& editor, const MapModel& model) {
  editor.set_endpoint_texts(model.origin_query, model.dest_query);
}

void fire_endpoint_deadline(EndpointEditor& editor, Session& session) {
  if (!editor.take_due_deadline(session.backend.now())) return;
  if (!editor.editing()) return;
  const EndpointField field = editor.active();
  std::string text(base::trim_white_space(editor.text(field)));
  if (text.empty()) return;
  handle_endpoint_editor_event(session, EndpointEvent{EndpointEvent::Submitted{std::move(text), field}});
}

}  // namespace maps
