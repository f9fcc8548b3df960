// The status line's own timer: a failure is told for a while, not until something else happens.

#include "app/tick_steps.hpp"

namespace maps::tick_steps {

void expire_failure_status(MapsApp& app) {
  if (app.status_expires && app.mono_now() >= *app.status_expires) app.clear_status();
}

}  // namespace maps::tick_steps
