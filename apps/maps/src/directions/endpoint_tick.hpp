#pragma once
// The route endpoint editor's steps of the frame tick.

namespace maps {

class MapsApp;

// The model's two query texts reach the editor's copies.
void sync_endpoint_texts(MapsApp& app);
// Once the typing deadline has passed, the field being edited submits its trimmed copy unless
// it is blank.
void fire_endpoint_deadline(MapsApp& app);

}  // namespace maps
