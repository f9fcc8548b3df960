#include "transitions/locating.hpp"

#include "location/location.hpp"
#include "transitions/session.hpp"

namespace maps {

void start_locating(Session& s) {
  if (s.backend.location.pending) return;
  s.backend.location.pending = true;
  s.set_status("Locating…", StatusKind::InProgress);
  if (s.backend.live) s.backend.location.receiver = spawn_location_worker();
}

}  // namespace maps
