#include "app/maps_app.hpp"

namespace maps {

void MapsApp::tick(zarn_ui::state::State& /*state*/) {
  // Worker results, timers and the document sync arrive with the frame-tick work.
  doc_initialised = true;
}

}  // namespace maps
