#pragma once
// The route endpoint editor's steps of the frame tick.

#include "directions/endpoint_editor.hpp"
#include "model/records.hpp"
#include "transitions/session.hpp"

namespace maps {

// The model's two query texts reach the editor's copies.
void sync_endpoint_texts(EndpointEditor& editor, const MapModel& model);
// Once the typing deadline has passed, the field being edited submits its trimmed copy unless
// it is blank.
void fire_endpoint_deadline(EndpointEditor& editor, Session& session);

}  // namespace maps
