// The outcome of a location request, polled once per tick.

#include <string>
#include <utility>

#include <fmt/format.h>

#include "app/tick_steps.hpp"
#include "transitions/plans.hpp"
#include "transitions/view.hpp"

namespace maps::tick_steps {
namespace {

void end_request(MapsApp& app) {
  app.backend.location.pending = false;
  app.backend.location.receiver.reset();
}

void on_fix(MapsApp& app, const LocationFix& fix) {
  const LatLon pos{fix.lat, fix.lon};
  app.transient.set_origin(app.model, pos, "Current location");
  app.backend.location.located_fix = pos;
  centre_view_on(app.session(), pos);
  app.set_status("Located");
  app.backend.start(ReverseGeocodeJob{fix.lat, fix.lon});
  // A plan to the destination now starts from where the device is.
  if (app.model.dest) request_plan(app.session());
  app.action_surface.locate_succeeded();
}

}  // namespace

void poll_location_outcome(MapsApp& app) {
  if (!app.backend.location.receiver) return;
  // A request started since the last tick: its answer wakes the window loop too.
  if (app.backend.waker && !app.backend.location.receiver->has_waker())
    app.backend.location.receiver->set_waker(app.backend.waker);
  auto next = app.backend.location.receiver->try_recv();
  switch (next.status) {
    case base::RecvStatus::Empty: return;
    case base::RecvStatus::Disconnected:
      end_request(app);
      app.set_status("Location unavailable", StatusKind::Failure);
      app.action_surface.locate_failed("location_channel_closed",
                                       "The location service disconnected before returning a fix");
      return;
    case base::RecvStatus::Value: break;
  }
  const LocationOutcome outcome = std::move(*next.value);
  end_request(app);
  if (outcome.is_err()) {
    app.report_failure("Location unavailable \u2014 ", Service::Location, outcome.failure());
    app.action_surface.locate_failed("location_unavailable", outcome.error());
    return;
  }
  on_fix(app, outcome.value());
}

}  // namespace maps::tick_steps
