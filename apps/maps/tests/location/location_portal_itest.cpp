// The portal exchange against a fake portal on a private bus.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "base_testing/private_bus.hpp"
#include "fake_portal.hpp"
#include "location/location.hpp"

namespace maps {
namespace {

using base_testing::PrivateBus;
using testing::FakePortal;
using testing::PortalRecord;
using testing::PortalScript;
using testing::UpdateValues;
using testing::VariantMap;

constexpr std::chrono::milliseconds kShortLimit{300};
constexpr std::chrono::seconds kOutcomeWait{10};

UpdateValues munich_update() {
  return {{"Latitude", 48.1371}, {"Longitude", 11.5754}, {"Accuracy", 35.5}, {"Altitude", 520.0}};
}

struct Scenario {
  const char* name = "";
  bool portal_present = true;
  PortalScript script;
  std::optional<LocationFix> fix;  // expected fix, or else
  std::string error;               // the expected error text (a prefix when `error_is_prefix`)
  bool error_is_prefix = false;
  bool session_created = true;
  base::ErrorKind kind = base::ErrorKind::Other;  // of the error
};

void PrintTo(const Scenario& s, std::ostream* os) { *os << s.name; }

// Aggregate designators with omitted members trip g++ 12's warnings; build scripts by hand.
PortalScript script(std::optional<std::uint32_t> response, std::optional<UpdateValues> update = std::nullopt) {
  PortalScript p;
  p.response = response;
  p.update = std::move(update);
  return p;
}

PortalScript failing(std::optional<std::string> create_session, std::optional<std::string> start) {
  PortalScript p;
  p.create_session_error = std::move(create_session);
  p.start_error = std::move(start);
  return p;
}

Scenario answer(const char* name, PortalScript p, LocationFix fix) {
  Scenario s;
  s.name = name;
  s.script = std::move(p);
  s.fix = fix;
  return s;
}

Scenario refusal(const char* name, PortalScript p, std::string error, base::ErrorKind kind,
                 bool session_created = true) {
  Scenario s;
  s.name = name;
  s.script = std::move(p);
  s.error = std::move(error);
  s.kind = kind;
  s.session_created = session_created;
  return s;
}

std::vector<Scenario> scenarios() {
  using K = base::ErrorKind;
  const LocationFix munich{48.1371, 11.5754, 35.5};
  const std::string timed_out = "timed out waiting for a location fix";
  PortalScript foreign_first = script(0u, munich_update());
  foreign_first.foreign_update_first = true;

  std::vector<Scenario> s;
  s.push_back(answer("fix", script(0u, munich_update()), munich));
  s.push_back(answer("fix_after_foreign_update", foreign_first, munich));
  s.push_back(refusal("denied", script(1u), "permission denied", K::ServiceError));
  s.push_back(refusal("cancelled", script(2u), "permission denied", K::ServiceError));
  s.push_back(refusal("denied_with_update", script(1u, munich_update()), "permission denied", K::ServiceError));
  s.push_back(refusal("silence", script(0u), timed_out, K::TimedOut));
  s.push_back(refusal("no_response", script(std::nullopt), timed_out, K::TimedOut));
  s.push_back(refusal("update_without_response", script(std::nullopt, munich_update()), timed_out, K::TimedOut));
  s.push_back(
      refusal("update_without_coordinates", script(0u, UpdateValues{{"Accuracy", 5.0}}), timed_out, K::TimedOut));
  s.push_back(refusal("update_with_impossible_latitude",
                      script(0u, UpdateValues{{"Latitude", 200.0}, {"Longitude", 11.0}, {"Accuracy", 5.0}}), timed_out,
                      K::TimedOut));
  s.push_back(refusal("start_fails", failing(std::nullopt, "org.freedesktop.portal.Error.Failed"),
                      "org.freedesktop.portal.Error.Failed: start refused", K::Other));
  s.push_back(refusal("create_session_fails", failing("org.freedesktop.portal.Error.NotAllowed", std::nullopt),
                      "org.freedesktop.portal.Error.NotAllowed: session refused", K::Other, false));
  Scenario absent =
      refusal("portal_absent", PortalScript{}, "location portal unavailable: org.freedesktop.DBus.Error.ServiceUnknown",
              K::Unreachable, false);
  absent.portal_present = false;
  absent.error_is_prefix = true;
  s.push_back(absent);
  return s;
}

class PortalExchange : public ::testing::TestWithParam<Scenario> {};

TEST_P(PortalExchange, SendsOneOutcomeAndClosesTheSession) {
  const Scenario& sc = GetParam();
  auto bus = PrivateBus::start();
  ASSERT_NE(bus, nullptr) << "dbus-daemon did not start";
  std::optional<FakePortal> portal;
  if (sc.portal_present) portal.emplace(bus->address(), sc.script);

  auto rx = spawn_location_worker(LocationOptions{bus->address(), kShortLimit});
  auto got = rx.recv_for(kOutcomeWait);
  ASSERT_TRUE(got.has_value()) << "no outcome in time";
  const LocationOutcome& outcome = *got.value;

  if (sc.fix) {
    ASSERT_TRUE(outcome.is_ok()) << outcome.error();
    EXPECT_EQ(outcome.value(), *sc.fix);
  } else {
    ASSERT_TRUE(outcome.is_err());
    if (sc.error_is_prefix) {
      EXPECT_EQ(outcome.error().rfind(sc.error, 0), 0u) << outcome.error();
    } else {
      EXPECT_EQ(outcome.error(), sc.error);
    }
    EXPECT_EQ(outcome.error_kind(), sc.kind);
  }
  // Exactly one outcome: the channel ends after it.
  EXPECT_EQ(rx.recv_for(kOutcomeWait).status, base::RecvStatus::Disconnected);

  if (!portal) return;
  PortalRecord record = portal->record();
  if (sc.session_created) {
    ASSERT_EQ(record.sessions.size(), 1u);
    EXPECT_EQ(record.closed, record.sessions);
  } else {
    EXPECT_TRUE(record.sessions.empty());
    EXPECT_TRUE(record.closed.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Scenarios, PortalExchange, ::testing::ValuesIn(scenarios()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PortalExchangeRequest, AsksForAnExactSessionAndStartsWithoutParentWindow) {
  auto bus = PrivateBus::start();
  ASSERT_NE(bus, nullptr);
  FakePortal portal(bus->address(), script(0u, munich_update()));
  auto got = spawn_location_worker(LocationOptions{bus->address(), std::chrono::seconds(5)}).recv_for(kOutcomeWait);
  ASSERT_TRUE(got.has_value());
  ASSERT_TRUE(got.value->is_ok());

  PortalRecord record = portal.record();
  ASSERT_EQ(record.create_options.size(), 1u);
  const VariantMap& create = record.create_options[0];
  EXPECT_EQ(create.size(), 2u);  // no distance or time thresholds
  ASSERT_TRUE(create.count("accuracy"));
  EXPECT_EQ(create.at("accuracy").get<std::uint32_t>(), 5u);
  ASSERT_TRUE(create.count("session_handle_token"));
  const std::string session_token = create.at("session_handle_token").get<std::string>();
  EXPECT_FALSE(session_token.empty());

  ASSERT_EQ(record.start_options.size(), 1u);
  EXPECT_EQ(record.start_parent_windows[0], "");
  ASSERT_TRUE(record.start_options[0].count("handle_token"));
  EXPECT_NE(record.start_options[0].at("handle_token").get<std::string>(), session_token);
}

TEST(PortalExchangeRequest, EveryRequestConnectsAnewWithFreshTokens) {
  auto bus = PrivateBus::start();
  ASSERT_NE(bus, nullptr);
  FakePortal portal(bus->address(), script(0u, munich_update()));
  for (int i = 0; i < 2; ++i) {
    auto got = spawn_location_worker(LocationOptions{bus->address(), std::chrono::seconds(5)}).recv_for(kOutcomeWait);
    ASSERT_TRUE(got.has_value());
    EXPECT_TRUE(got.value->is_ok());
  }
  PortalRecord record = portal.record();
  ASSERT_EQ(record.sessions.size(), 2u);
  EXPECT_NE(record.sessions[0], record.sessions[1]);
  EXPECT_EQ(record.closed, record.sessions);
}

TEST(PortalExchangeRequest, BusGoingAwayDuringTheWaitEndsWithoutFix) {
  auto bus = PrivateBus::start();
  ASSERT_NE(bus, nullptr);
  auto portal = std::make_unique<FakePortal>(bus->address(), script(0u));
  auto rx = spawn_location_worker(LocationOptions{bus->address(), std::chrono::seconds(10)});
  // Bounded wait until the request is past Start, then take the bus away.
  for (int i = 0; i < 500 && portal->record().start_options.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_EQ(portal->record().start_options.size(), 1u);
  bus.reset();
  auto got = rx.recv_for(kOutcomeWait);
  ASSERT_TRUE(got.has_value());
  ASSERT_TRUE(got.value->is_err());
  EXPECT_EQ(got.value->error(), "no location fix available");
  portal.reset();
}

// A portal that answers in shapes the real one never uses: each step's reply of another type is
// refused without a crash, and a session that exists is still closed.
TEST(PortalExchangeRequest, RepliesOfAnotherShapeAreRefused) {
  enum class Fault { SessionAsText, StartAsNumber, ResponseAsText, CoordinatesAsText };
  struct Case {
    const char* name;
    Fault fault;
    std::string error;
    bool session_closed;
  };
  const std::string malformed = "org.freedesktop.DBus.Error.InvalidSignature: ";
  const std::vector<Case> cases = {
      {"a session path as a string", Fault::SessionAsText,
       malformed + "the CreateSession reply has an unexpected shape", false},
      {"a request path as a number", Fault::StartAsNumber, malformed + "the Start reply has an unexpected shape", true},
      {"a response code as a string", Fault::ResponseAsText,
       malformed + "the request's Response has an unexpected shape", true},
      {"coordinates as strings", Fault::CoordinatesAsText, "timed out waiting for a location fix", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto bus = PrivateBus::start();
    ASSERT_NE(bus, nullptr);
    auto connection = sdbus::createSessionBusConnectionWithAddress(bus->address());
    auto desktop = sdbus::createObject(*connection, testing::kPortalPath);
    std::unique_ptr<sdbus::IObject> session;
    std::unique_ptr<sdbus::IObject> request;
    std::atomic<int> closed{0};
    const std::string session_path = std::string(testing::kPortalPath) + "/session/x/y";
    desktop->registerProperty("version").onInterface(testing::kLocationIface).withGetter([] {
      return std::uint32_t{1};
    });
    desktop->registerSignal("LocationUpdated")
        .onInterface(testing::kLocationIface)
        .withParameters<sdbus::ObjectPath, VariantMap>();
    if (c.fault == Fault::SessionAsText) {
      desktop->registerMethod("CreateSession")
          .onInterface(testing::kLocationIface)
          .implementedAs([&](const VariantMap&) { return session_path; });
    } else {
      desktop->registerMethod("CreateSession")
          .onInterface(testing::kLocationIface)
          .implementedAs([&](const VariantMap&) {
            session = sdbus::createObject(*connection, session_path);
            session->registerMethod("Close").onInterface("org.freedesktop.portal.Session").implementedAs([&] {
              ++closed;
            });
            session->finishRegistration();
            return sdbus::ObjectPath(session_path);
          });
    }
    if (c.fault == Fault::StartAsNumber) {
      desktop->registerMethod("Start")
          .onInterface(testing::kLocationIface)
          .implementedAs(
              [](const sdbus::ObjectPath&, const std::string&, const VariantMap&) { return std::uint32_t{7}; });
    } else {
      desktop->registerMethod("Start")
          .onInterface(testing::kLocationIface)
          .implementedAs([&](sdbus::Result<sdbus::ObjectPath>&& result, const sdbus::ObjectPath& s, const std::string&,
                             const VariantMap& options) {
            std::string sender = desktop->getCurrentlyProcessedMessage()->getSender().substr(1);
            std::replace(sender.begin(), sender.end(), '.', '_');
            const std::string path = std::string(testing::kPortalPath) + "/request/" + sender + "/" +
                                     options.at("handle_token").get<std::string>();
            request = sdbus::createObject(*connection, path);
            request->registerSignal("Response")
                .onInterface("org.freedesktop.portal.Request")
                .withParameters<std::string>();
            request->finishRegistration();
            result.returnResults(sdbus::ObjectPath(path));
            if (c.fault == Fault::ResponseAsText) {
              request->emitSignal("Response")
                  .onInterface("org.freedesktop.portal.Request")
                  .withArguments(std::string("0"));
              return;
            }
            auto response = request->createSignal("org.freedesktop.portal.Request", "Response");
            response << std::uint32_t{0} << VariantMap{};
            response.send();
            VariantMap values{{"Latitude", sdbus::Variant(std::string("48.1"))},
                              {"Longitude", sdbus::Variant(std::string("11.5"))},
                              {"Accuracy", sdbus::Variant(std::string("5"))}};
            desktop->emitSignal("LocationUpdated").onInterface(testing::kLocationIface).withArguments(s, values);
          });
    }
    desktop->finishRegistration();
    connection->requestName(testing::kPortalName);
    connection->enterEventLoopAsync();

    auto got = spawn_location_worker(LocationOptions{bus->address(), kShortLimit}).recv_for(kOutcomeWait);
    ASSERT_TRUE(got.has_value());
    ASSERT_TRUE(got.value->is_err());
    EXPECT_EQ(got.value->error(), c.error);
    EXPECT_EQ(closed, c.session_closed ? 1 : 0);
    connection->leaveEventLoop();
  }
}

TEST(PortalExchangeRequest, UnreachableBusIsReportedAsUnavailablePortal) {
  auto got = spawn_location_worker(LocationOptions{"unix:path=/nonexistent/maps-test-bus", kShortLimit})
                 .recv_for(kOutcomeWait);
  ASSERT_TRUE(got.has_value());
  ASSERT_TRUE(got.value->is_err());
  EXPECT_EQ(got.value->error().rfind("location portal unavailable: ", 0), 0u) << got.value->error();
}

}  // namespace
}  // namespace maps
