#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "net/host_limiter.hpp"
#include "net/host_schedule.hpp"
#include "net/workers.hpp"

namespace maps {
namespace {

using namespace std::chrono_literals;
using Ms = std::chrono::milliseconds;
using TimePoint = HostSchedule::TimePoint;

TimePoint at(long long ms) { return TimePoint{} + Ms(ms); }

// Keys as the spawner uses them: one per kind of query.
constexpr int kSearch = 0;
constexpr int kOrigin = 1;
constexpr int kArea = 3;

struct Event {
  long long t_ms;
  std::string name;  // a request's name, or "" for a hold
  std::string host;
  bool spaced = true;
  std::optional<int> key;
  long long hold_ms = 0;
};

Event geo(long long t, std::string name, std::optional<int> key, std::string host = "geo:443") {
  return {t, std::move(name), std::move(host), true, key, 0};
}
Event plain(long long t, std::string name, std::string host = "geo:443") {
  return {t, std::move(name), std::move(host), false, std::nullopt, 0};
}
Event hold(long long t, long long ms, std::string host = "geo:443") { return {t, "", std::move(host), false, {}, ms}; }

// Runs the events on a fake clock, asking about every waiting request whenever the time moves,
// as the waiting threads would, and tells what became of each: "sent@T", "replaced" or
// "refused(Ns)".
std::map<std::string, std::string> simulate(std::vector<Event> events) {
  HostSchedule schedule;
  std::map<std::string, std::string> fate;
  std::vector<std::pair<HostSchedule::Ticket, std::string>> waiting;
  std::size_t next_event = 0;
  long long now = 0;
  for (int step = 0; step < 10000; ++step) {
    while (next_event < events.size() && events[next_event].t_ms <= now) {
      const Event& e = events[next_event++];
      if (e.name.empty()) {
        schedule.hold(e.host, Ms(e.hold_ms), at(now));
      } else {
        const auto s = schedule.submit({e.host, e.spaced, e.key}, at(now));
        waiting.emplace_back(s.ticket, e.name);
      }
    }
    std::optional<long long> wake;
    for (bool changed = true; changed;) {
      changed = false;
      wake.reset();
      for (auto it = waiting.begin(); it != waiting.end();) {
        const auto d = schedule.poll(it->first, at(now));
        if (d.turn == HostSchedule::Turn::Wait) {
          if (d.until != TimePoint::max()) {
            const long long until = std::chrono::duration_cast<Ms>(d.until - TimePoint{}).count();
            wake = wake ? std::min(*wake, until) : until;
          }
          ++it;
          continue;
        }
        if (d.turn == HostSchedule::Turn::Send) fate[it->second] = "sent@" + std::to_string(now);
        if (d.turn == HostSchedule::Turn::Replaced) fate[it->second] = "replaced";
        if (d.turn == HostSchedule::Turn::Refused) {
          fate[it->second] =
              "refused(" + std::to_string(std::chrono::ceil<std::chrono::seconds>(d.hold_left).count()) + "s)";
        }
        it = waiting.erase(it);
        changed = true;
      }
    }
    std::optional<long long> next = wake;
    if (next_event < events.size()) {
      const long long t = events[next_event].t_ms;
      next = next ? std::min(*next, t) : t;
    }
    if (!next) break;
    now = std::max(now + 1, *next);
  }
  for (const auto& [ticket, name] : waiting) fate[name] = "stuck";
  EXPECT_EQ(schedule.waiting(), 0u);
  return fate;
}

TEST(HostSchedule, PacesGeocoderRequestsAndReplacesWaitingOnes) {
  struct Case {
    const char* what;
    std::vector<Event> events;
    std::map<std::string, std::string> want;
  };
  const Case cases[] = {
      {"the first request goes at once, the next one a second after it",
       {geo(0, "a", kSearch), geo(200, "b", std::nullopt)},
       {{"a", "sent@0"}, {"b", "sent@1000"}}},
      {"a request long after the last one goes at once",
       {geo(0, "a", kSearch), geo(1500, "b", kSearch)},
       {{"a", "sent@0"}, {"b", "sent@1500"}}},
      {"a newer query replaces the waiting one; the one sent already stays sent",
       {geo(0, "a", kSearch), geo(200, "b", kSearch), geo(500, "c", kSearch)},
       {{"a", "sent@0"}, {"b", "replaced"}, {"c", "sent@1000"}}},
      {"replacing works within one kind of query only",
       {geo(0, "a", kSearch), geo(100, "origin", kOrigin), geo(200, "area", kArea), geo(300, "search", kSearch),
        geo(400, "origin2", kOrigin)},
       {{"a", "sent@0"},
        {"origin", "replaced"},
        {"origin2", "sent@1000"},
        {"area", "sent@2000"},
        {"search", "sent@3000"}}},
      {"a replacement keeps the place in line of the one it replaced",
       {geo(0, "a", kSearch), geo(100, "area", kArea), geo(200, "reverse", std::nullopt), geo(300, "area2", kArea)},
       {{"a", "sent@0"}, {"area", "replaced"}, {"area2", "sent@1000"}, {"reverse", "sent@2000"}}},
      {"reverse lookups are never replaced, only spaced",
       {geo(0, "r1", std::nullopt), geo(10, "r2", std::nullopt), geo(20, "r3", std::nullopt)},
       {{"r1", "sent@0"}, {"r2", "sent@1000"}, {"r3", "sent@2000"}}},
      {"each host has its own pace",
       {geo(0, "a", kSearch), geo(100, "b", kSearch, "other:443")},
       {{"a", "sent@0"}, {"b", "sent@100"}}},
      {"requests of other services are not spaced, even to the geocoder's host",
       {geo(0, "a", kSearch), plain(10, "route"), plain(20, "route2"), geo(30, "b", kSearch)},
       {{"a", "sent@0"}, {"route", "sent@10"}, {"route2", "sent@20"}, {"b", "sent@1000"}}},
  };
  for (const auto& c : cases) EXPECT_EQ(simulate(c.events), c.want) << c.what;
}

TEST(HostSchedule, RetryAfterHoldsBackEveryRequestToItsHost) {
  struct Case {
    const char* what;
    std::vector<Event> events;
    std::map<std::string, std::string> want;
  };
  const Case cases[] = {
      {"nothing goes to a held host before the hold ends; other hosts are not held",
       {hold(0, 2000), plain(100, "route"), geo(100, "search", kSearch), plain(100, "elsewhere", "other:443")},
       {{"route", "sent@2000"}, {"search", "sent@2000"}, {"elsewhere", "sent@100"}}},
      {"a request already waiting for its turn waits for the hold too",
       {geo(0, "a", kSearch), geo(100, "b", kSearch), hold(200, 3000)},
       {{"a", "sent@0"}, {"b", "sent@3200"}}},
      {"a hold shorter than the spacing leaves the spacing",
       {geo(0, "a", kSearch), hold(100, 300), geo(200, "b", kSearch)},
       {{"a", "sent@0"}, {"b", "sent@1000"}}},
      {"a shorter hold does not cut an earlier longer one",
       {hold(0, 5000), hold(100, 1000), plain(200, "route")},
       {{"route", "sent@5000"}}},
      {"a hold past the longest wait refuses requests at once instead of keeping them",
       {geo(0, "a", kSearch), geo(100, "b", kSearch), hold(200, 60000), plain(300, "route")},
       {{"a", "sent@0"}, {"b", "refused(60s)"}, {"route", "refused(60s)"}}},
      {"an absurd Retry-After is read as ten minutes",
       {hold(0, 1000LL * 3600 * 24 * 365), plain(10, "route")},
       {{"route", "refused(600s)"}}},
  };
  for (const auto& c : cases) EXPECT_EQ(simulate(c.events), c.want) << c.what;
}

TEST(HostSchedule, WithdrawnAndForgottenTickets) {
  HostSchedule s;
  const auto a = s.submit({"h:1", true, kSearch}, at(0));
  EXPECT_EQ(s.poll(a.ticket, at(0)).turn, HostSchedule::Turn::Send);
  const auto b = s.submit({"h:1", true, kSearch}, at(10));
  const auto c = s.submit({"h:1", true, std::nullopt}, at(20));
  EXPECT_EQ(s.poll(b.ticket, at(20)).turn, HostSchedule::Turn::Wait);
  EXPECT_EQ(s.poll(c.ticket, at(20)).until, TimePoint::max()) << "behind b, it waits for b";
  s.withdraw(b.ticket);
  EXPECT_EQ(s.poll(c.ticket, at(20)).until, at(1000)) << "first in line now";
  EXPECT_EQ(s.waiting(), 1u);
  // Asking again about a ticket that has been answered is refused, never sent twice.
  EXPECT_EQ(s.poll(a.ticket, at(2000)).turn, HostSchedule::Turn::Refused);
}

// A host that asked (with a 429) for a longer pause than a request may wait refuses it with
// that status, so the person hears that the service is busy, not that it cannot be reached.
TEST(HostLimiter, ARequestBehindALongPauseIsRefusedAsTheServicesAnswer) {
  HostLimiter limiter;
  limiter.hold("h:1", 10min);
  const auto admission = limiter.wait(limiter.enter({"h:1", false, std::nullopt, "routing service"}));
  EXPECT_EQ(admission.outcome, HostLimiter::Outcome::Refused);
  EXPECT_EQ(admission.error.kind, base::ErrorKind::ServiceError);
  EXPECT_EQ(admission.error.http_status, 429);
  EXPECT_EQ(admission.error.message, "the routing service asks to wait 10 min \u2014 try again later");
}

TEST(HostKey, IsTheHostAndPortOfTheUrl) {
  const std::pair<const char*, const char*> cases[] = {
      {"https://nominatim.openstreetmap.org", "nominatim.openstreetmap.org:443"},
      {"https://Nominatim.OpenStreetMap.org/search?q=x", "nominatim.openstreetmap.org:443"},
      {"https://nominatim.openstreetmap.org:443/reverse", "nominatim.openstreetmap.org:443"},
      {"http://127.0.0.1:8080/search?q=a/b", "127.0.0.1:8080"},
      {"http://127.0.0.1/x", "127.0.0.1:80"},
      {"http://user@host:81/x", "host:81"},
      {"http://[::1]/x", "[::1]:80"},
      {"http://[::1]:9000?x", "[::1]:9000"},
  };
  for (const auto& [url, want] : cases) EXPECT_EQ(host_key(url), want) << url;
}

TEST(Pacing, EachKindOfQueryHasItsOwnPlaceAtTheGeocoder) {
  ServiceHosts hosts;
  hosts.nominatim = "https://geo.example";
  hosts.osrm = "https://route.example";
  const auto search = pacing_of(PlaceSearchJob{"a"}, hosts);
  const auto origin = pacing_of(EndpointSearchJob{"a", EndpointField::Origin}, hosts);
  const auto dest = pacing_of(EndpointSearchJob{"a", EndpointField::Destination}, hosts);
  const auto area = pacing_of(AreaSearchJob{"a"}, hosts);
  const auto reverse = pacing_of(ReverseGeocodeJob{1, 2}, hosts);
  const auto route = pacing_of(RouteJob{}, hosts);
  for (const auto& r : {search, origin, dest, area, reverse}) {
    EXPECT_EQ(r.host, "geo.example:443");
    EXPECT_TRUE(r.spaced);
  }
  EXPECT_EQ(reverse.replace_key, std::nullopt);
  std::vector<std::optional<int>> keys{search.replace_key, origin.replace_key, dest.replace_key, area.replace_key};
  std::sort(keys.begin(), keys.end());
  EXPECT_EQ(std::unique(keys.begin(), keys.end()), keys.end()) << "four kinds, four keys";
  EXPECT_EQ(route.host, "route.example:443");
  EXPECT_FALSE(route.spaced);
}

}  // namespace
}  // namespace maps
