// How long the window loop may sleep before the next frame, and the function that wakes it.

#include <utility>

#include "app/maps_app.hpp"

namespace maps {

// Frames back to back only while the panel moves; otherwise the soonest timer. Answers of jobs,
// tiles and the location request wake the loop through the channels, so waiting for them costs
// nothing (and a job that never answers keeps nothing running).
std::optional<std::chrono::milliseconds> MapsApp::next_deadline() const {
  using std::chrono::milliseconds;
  if (!commits.doc_initialised || navigation.dragging() || navigation.animating(reduce_motion) ||
      backend.status.tile_notice_waiting) {
    return milliseconds{0};
  }
  // Nothing would tell the loop that an answer arrived.
  if (!backend.waker && has_pending_work()) return milliseconds{0};
  std::optional<base::MonoTime> soonest;
  const std::optional<base::MonoTime> journey_at =
      backend.plans.journey_wait ? std::optional(backend.plans.journey_wait->at) : std::nullopt;
  for (const std::optional<base::MonoTime>& at :
       {search_box.deadline(), endpoint_editor.deadline(), backend.view_pois.idle_deadline, journey_at,
        offline_panel.deadline(), overlay.tooltips().due(), backend.status.expires}) {
    if (at && (!soonest || *at < *soonest)) soonest = at;
  }
  if (!soonest) return std::nullopt;
  const base::MonoTime now = backend.now();
  if (*soonest <= now) return milliseconds{0};
  return std::chrono::ceil<milliseconds>(*soonest - now);
}

void MapsApp::set_waker(std::function<void()> wake) { backend.set_waker(std::move(wake)); }

}  // namespace maps
