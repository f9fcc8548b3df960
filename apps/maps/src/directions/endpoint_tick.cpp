#include "directions/endpoint_tick.hpp"

#include <string>
#include <utility>

#include "app/maps_app.hpp"
#include "base/text.hpp"
#include "transitions/plans.hpp"

namespace maps {

void sync_endpoint_texts(MapsApp& app) {
  app.endpoint_editor.set_endpoint_texts(app.model.origin_query, app.model.dest_query);
}

void fire_endpoint_deadline(MapsApp& app) {
  EndpointEditor& editor = app.endpoint_editor;
  if (!editor.take_due_deadline(app.backend.now())) return;
  if (!editor.editing()) return;
  const EndpointField field = editor.active();
  std::string text(base::trim_white_space(editor.text(field)));
  if (text.empty()) return;
  handle_endpoint_editor_event(app.session(), EndpointEvent{EndpointEvent::Submitted{std::move(text), field}});
}

}  // namespace maps
