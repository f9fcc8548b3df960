// The tick's handling of a location request's outcome and of the asynchronous locate action.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tick_fixture.hpp"
#include "transitions/plans.hpp"

namespace maps {
namespace {

using testing::TickFixture;

constexpr LocateRequestId kRequest = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};

// A request in flight whose outcome the test sends, or whose sender it drops.
base::Sender<LocationOutcome> start_request(TickFixture& f, bool locate_action) {
  auto [tx, rx] = base::channel<LocationOutcome>();
  f.app->backend.location.receiver = std::move(rx);
  f.app->backend.location.pending = true;
  f.app->set_status("Locating\u2026", StatusKind::InProgress);
  if (locate_action) {
    f.app->action_surface.await_locate(kRequest);
  }
  return std::move(tx);
}

TEST(TickLocation, NothingYetKeepsTheRequestRunning) {
  TickFixture f;
  auto sender = start_request(f, true);
  f.tick();
  EXPECT_TRUE(f.app->backend.location.pending);
  EXPECT_TRUE(f.app->backend.location.receiver.has_value());
  EXPECT_FALSE(f.app->action_surface.result().has_value());
  EXPECT_EQ(f.model().status, "Locating\u2026");
}

TEST(TickLocation, FailuresEndTheRequestAndFailTheWaitingAction) {
  struct Case {
    const char* name;
    std::optional<base::Error> error;  // none: the thread ended without answering
    const char* status;
    const char* code;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"channel closed", std::nullopt, "Location unavailable", "location_channel_closed",
       "The location service disconnected before returning a fix"},
      {"denied", base::err(base::ErrorKind::ServiceError, "permission denied"),
       "Location unavailable \u2014 permission denied", "location_unavailable", "permission denied"},
      {"timed out", base::err(base::ErrorKind::TimedOut, "timed out waiting for a location fix"),
       "Location unavailable \u2014 no location fix in time", "location_unavailable",
       "timed out waiting for a location fix"},
      // The portal missing from the bus: the person reads that the location service cannot be
      // reached, the action (and the log) the full text.
      {"no portal",
       base::err(base::ErrorKind::Unreachable,
                 "location portal unavailable: org.freedesktop.DBus.Error.ServiceUnknown: The name is not activatable"),
       "Location unavailable \u2014 cannot reach the location service", "location_unavailable",
       "location portal unavailable: org.freedesktop.DBus.Error.ServiceUnknown: The name is not activatable"},
  };
  for (const Case& c : cases) {
    for (bool locate_action : {false, true}) {
      SCOPED_TRACE(::testing::Message() << c.name << (locate_action ? " with action" : ""));
      TickFixture f;
      {
        auto sender = start_request(f, locate_action);
        if (c.error) {
          ASSERT_TRUE(sender.send(*c.error));
        }
      }
      f.tick();
      EXPECT_FALSE(f.app->backend.location.pending);
      EXPECT_FALSE(f.app->backend.location.receiver.has_value());
      EXPECT_EQ(f.model().status, c.status);
      if (locate_action) {
        EXPECT_EQ(f.app->action_surface.result(),
                  std::optional(AsyncActionResult::failure(kRequest, c.code, c.message)));
        EXPECT_TRUE(f.app->action_surface.locate_pending());  // taken by poll_action, not here
      } else {
        EXPECT_FALSE(f.app->action_surface.result().has_value());
      }
      EXPECT_EQ(f.model().origin, std::nullopt);
    }
  }
}

TEST(TickLocation, FixMovesOriginAndCentreAndAsksForItsAddressWhenLive) {
  for (bool live : {true, false}) {
    SCOPED_TRACE(live ? "live" : "not live");
    TickFixture f(live);
    f.tick();
    auto sender = start_request(f, true);
    ASSERT_TRUE(sender.send(LocationFix{48.2, 11.6, 15.0}));
    f.tick();
    const LatLon fix{48.2, 11.6};
    EXPECT_FALSE(f.app->backend.location.pending);
    EXPECT_FALSE(f.app->backend.location.receiver.has_value());
    EXPECT_EQ(f.model().origin, std::optional(fix));
    EXPECT_EQ(f.model().origin_name, "Current location");
    EXPECT_EQ(f.model().center, fix);
    EXPECT_EQ(f.model().status, "Located");
    EXPECT_EQ(f.app->action_surface.result(), std::optional(AsyncActionResult::success(kRequest)));
    const std::vector<ReverseGeocodeJob> expected =
        live ? std::vector<ReverseGeocodeJob>{{48.2, 11.6}} : std::vector<ReverseGeocodeJob>{};
    EXPECT_EQ(f.jobs->of_kind<ReverseGeocodeJob>(), expected);
    EXPECT_EQ(f.app->backend.pending_jobs, live ? 1u : 0u);
  }
}

TEST(TickLocation, FixStaysShownAcrossHydrationAndTakesItsAddress) {
  TickFixture f;
  f.tick();  // seeds the document with no origin
  auto sender = start_request(f, false);
  ASSERT_TRUE(sender.send(LocationFix{48.2, 11.6, 15.0}));
  for (int i = 0; i < 3; ++i) f.tick();
  EXPECT_EQ(f.model().origin, std::optional(LatLon{48.2, 11.6}));
  EXPECT_EQ(f.model().origin_name, "Current location");

  f.send(worker::ReverseGeocode{std::string("Leopoldstraße 10, München")});
  for (int i = 0; i < 3; ++i) f.tick();
  EXPECT_EQ(f.model().origin_name, "Leopoldstraße 10, München");
  EXPECT_EQ(f.app->backend.pending_jobs, 0u);
}

TEST(TickLocation, FixWithADestinationAsksForAPlanFromTheFix) {
  const LatLon fix{48.2, 11.6};
  const LatLon dest{48.13, 11.57};
  for (TravelMode mode : {TravelMode::Car, TravelMode::Transit}) {
    SCOPED_TRACE(enum_name(mode));
    TickFixture f;
    f.tick();
    f.model().mode = mode;
    f.app->transient.set_dest(f.model(), dest, "Museum");
    auto sender = start_request(f, false);
    ASSERT_TRUE(sender.send(LocationFix{fix.lat, fix.lon, 5.0}));
    f.tick();
    EXPECT_EQ(f.jobs->of_kind<ReverseGeocodeJob>().size(), 1u);
    if (mode == TravelMode::Transit) {
      f.advance(kJourneyAskPause);
      f.tick();
      ASSERT_EQ(f.jobs->of_kind<TransitJob>().size(), 1u);
      EXPECT_EQ(f.jobs->of_kind<TransitJob>()[0].from, fix);
      EXPECT_EQ(f.jobs->of_kind<TransitJob>()[0].to, dest);
    } else {
      ASSERT_EQ(f.jobs->of_kind<RouteJob>().size(), 1u);
      EXPECT_EQ(f.jobs->of_kind<RouteJob>()[0].from, fix);
      EXPECT_EQ(f.jobs->of_kind<RouteJob>()[0].to, dest);
    }
    // Hydration later in the same tick did not take the fix back.
    EXPECT_EQ(f.model().origin, std::optional(fix));
  }
}

}  // namespace
}  // namespace maps
