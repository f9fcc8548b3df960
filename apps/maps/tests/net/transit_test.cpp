#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/scoped_env.hpp"
#include "net/local_clock.hpp"
#include "net/polyline.hpp"
#include "net/transit.hpp"

namespace maps {
namespace {

using nlohmann::json;

using base::ScopedTz;

constexpr const char* kWorkedExample = "_p~iF~ps|U_ulLnnqC_mqNvxq`@";

void expect_points_near(const std::vector<LatLon>& got, const std::vector<LatLon>& want, double eps) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_NEAR(got[i].lat, want[i].lat, eps) << i;
    EXPECT_NEAR(got[i].lon, want[i].lon, eps) << i;
  }
}

TEST(DecodePolyline, WorkedExampleAtTwoPrecisions) {
  const std::vector<LatLon> five{{38.5, -120.2}, {40.7, -120.95}, {43.252, -126.453}};
  expect_points_near(decode_polyline(kWorkedExample, 5), five, 1e-9);
  const std::vector<LatLon> six{{3.85, -12.02}, {4.07, -12.095}, {4.3252, -12.6453}};
  expect_points_near(decode_polyline(kWorkedExample, 6), six, 1e-9);
}

TEST(DecodePolyline, MalformedInputEndsTheListEarly) {
  const std::string text = kWorkedExample;
  // Cut inside the third latitude: two points remain.
  EXPECT_EQ(decode_polyline(text.substr(0, 18), 5).size(), 2u);
  // A latitude without its longitude is dropped.
  EXPECT_EQ(decode_polyline("_p~iF", 5).size(), 0u);
  EXPECT_TRUE(decode_polyline("", 5).empty());
  // Bytes below 63 and an endless run of continuation bytes never crash.
  EXPECT_EQ(decode_polyline("!!", 5).size(), 1u);
  EXPECT_TRUE(decode_polyline(std::string(40, '~'), 5).empty());
  for (const auto& p : decode_polyline(kWorkedExample, 4000000000u)) {
    EXPECT_TRUE(std::isfinite(p.lat) && std::isfinite(p.lon));
  }
}

TEST(DecodePolylineDelta, AdvancesAndZigZags) {
  std::size_t pos = 0;
  EXPECT_EQ(decode_polyline_delta("_p~iF~ps|U", pos), 3850000);
  EXPECT_EQ(pos, 5u);
  EXPECT_EQ(decode_polyline_delta("_p~iF~ps|U", pos), -12020000);
  EXPECT_EQ(pos, 10u);
  EXPECT_EQ(decode_polyline_delta("_p~iF~ps|U", pos), std::nullopt);
  std::size_t p2 = 0;
  EXPECT_EQ(decode_polyline_delta("_p~", p2), std::nullopt);
}

TEST(IsoClockText, HourAndMinuteOrWholeText) {
  const std::pair<const char*, const char*> cases[] = {
      {"2026-12-08T14:05:00Z", "14:05"},
      {"2026-12-08T14:05", "14:05"},
      {"2026-12-08T14:0", "2026-12-08T14:0"},
      {"14:05", "14:05"},
      {"", ""},
      {"T1234\xC3\xA9", "T1234\xC3\xA9"},  // the fifth byte would split the é
      {"T123\xC3\xA9x", "123\xC3\xA9"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(iso_clock_text(in), out) << in;
}

// The planner's instants in the machine's local time: UTC, an offset of its own, summer time,
// a day boundary; texts without an offset or that do not parse keep the cut of iso_clock_text.
TEST(LocalClockText, InstantsInTheLocalTime) {
  struct Case {
    const char* tz;
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"Europe/Berlin", "2024-11-06T16:34:00Z", "17:34"},          // winter, +01:00
      {"Europe/Berlin", "2024-07-06T16:34:00Z", "18:34"},          // summer, +02:00
      {"Europe/Berlin", "2024-11-06T17:34:00+01:00", "17:34"},     // the planner's own offset
      {"Europe/Berlin", "2024-11-06T11:34:00-0500", "17:34"},      // an offset without a colon
      {"Europe/Berlin", "2024-11-06T16:34:59.750Z", "17:34"},      // fractions never round up
      {"Europe/Berlin", "2024-12-31T23:10:00Z", "00:10"},          // past midnight into the new year
      {"Europe/Berlin", "2024-03-31T00:59:00Z", "01:59"},          // the last minute before summer time
      {"Europe/Berlin", "2024-03-31T01:00:00Z", "03:00"},          // summer time has begun
      {"Europe/Berlin", "2024-10-27T00:30:00Z", "02:30"},          // the first 02:30 of the night
      {"Europe/Berlin", "2024-10-27T01:30:00Z", "02:30"},          // and the second
      {"America/New_York", "2024-11-06T16:34:00Z", "11:34"},       // -05:00
      {"America/New_York", "2024-11-07T03:10:00+01:00", "21:10"},  // back across midnight
      {"UTC0", "2024-11-06T17:34:00+01:00", "16:34"},
      {"Europe/Berlin", "2024-11-06T16:34", "16:34"},            // no offset: cut as before
      {"Europe/Berlin", "2024-13-06T16:34:00Z", "16:34"},        // no such month: cut as before
      {"Europe/Berlin", "2023-02-29T16:34:00Z", "16:34"},        // no such day
      {"Europe/Berlin", "2024-11-06T16:34:00+01:00x", "16:34"},  // trailing text
      {"Europe/Berlin", "2024-11-06T16:34:00+25:00", "16:34"},   // no such offset
      {"Europe/Berlin", "16:34", "16:34"},
      {"Europe/Berlin", "", ""},
  };
  for (const Case& c : cases) {
    ScopedTz tz(c.tz);
    EXPECT_EQ(local_clock_text(c.in), c.out) << c.tz << " " << c.in;
  }
}

TEST(ParseTransitPlan, JourneyAndLegTimesAreLocal) {
  ScopedTz tz("Europe/Berlin");
  const json plan = json::parse(R"({"itineraries": [
    {"startTime": "2024-11-06T22:51:00Z", "endTime": "2024-11-06T23:12:00Z",
     "legs": [{"mode": "BUS", "startTime": "2024-11-06T23:51:00+01:00", "endTime": "2024-11-07T00:12:00+01:00"}]}
  ]})");
  auto r = parse_transit_plan(plan);
  ASSERT_TRUE(r.is_ok()) << r.error();
  ASSERT_EQ(r->size(), 1u);
  EXPECT_EQ((*r)[0].dep, "23:51");
  EXPECT_EQ((*r)[0].arr, "00:12");
  ASSERT_EQ((*r)[0].legs.size(), 1u);
  EXPECT_EQ((*r)[0].legs[0].dep, "23:51");
  EXPECT_EQ((*r)[0].legs[0].arr, "00:12");
}

TEST(HexColourField, SixHexDigitsWithoutHash) {
  const std::pair<json, std::optional<std::string>> cases[] = {
      {"##0a64C8", "0a64C8"},    {"0A64C8", "0A64C8"}, {"#0A64C8FF", std::nullopt},
      {"#12345G", std::nullopt}, {"", std::nullopt},   {7, std::nullopt},
  };
  for (const auto& [value, want] : cases) {
    EXPECT_EQ(hex_colour_field(json{{"routeColor", value}}, "routeColor"), want) << value;
  }
  EXPECT_EQ(hex_colour_field(json::object(), "routeColor"), std::nullopt);
}

TEST(TransitModeKind, CodesIgnoringCase) {
  const std::pair<const char*, TransitMode> cases[] = {
      {"WALK", TransitMode::Walk},       {"LIGHT_RAIL", TransitMode::Tram},
      {"light_rail", TransitMode::Tram}, {"STREETCAR", TransitMode::Tram},
      {"METRO", TransitMode::Subway},    {"subway", TransitMode::Subway},
      {"NIGHT_RAIL", TransitMode::Rail}, {"REGIONAL_FAST_RAIL", TransitMode::Rail},
      {"FERRY", TransitMode::Ferry},     {"BUS", TransitMode::Bus},
      {"COACH", TransitMode::Bus},       {"", TransitMode::Bus},
      {"SUBURBAN", TransitMode::Rail},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(transit_mode_kind(in), out) << in;
}

const char* kPlan = R"({"itineraries": [
  {"startTime": "2026-12-08T14:05:00Z", "endTime": "2026-12-08T14:40:00Z", "duration": 2100, "transfers": 1,
   "legs": [
     {"mode": "WALK", "from": {"name": "Start"}, "to": {"name": "Marienplatz"}, "duration": 89,
      "startTime": "2026-12-08T14:05:00Z", "endTime": "2026-12-08T14:06:29Z"},
     {"mode": "SUBWAY", "routeShortName": "U3", "route": "ignored", "headsign": "Moosach",
      "from": {"name": "Marienplatz"}, "to": {"name": "Odeonsplatz"}, "duration": 90,
      "intermediateStops": [{}, {}], "legGeometry": {"points": "_p~iF~ps|U_ulLnnqC", "precision": 5},
      "routeColor": "#0A64C8", "routeTextColor": "ffffff", "agencyName": "MVG", "realTime": true},
     {"routeShortName": "", "route": "U6", "legGeometry": {"points": "_p~iF~ps|U", "precision": -1},
      "realTime": "yes", "duration": "5"},
     {"route": "S1", "mode": 3, "legGeometry": {"points": ""}}
   ]},
  {"duration": 150.0, "transfers": -2, "legs": {}},
  {"startTime": 5, "transfers": 1.5}
]})";

TEST(ParseTransitPlan, JourneysAndLegs) {
  ScopedTz utc("UTC0");
  auto r = parse_transit_plan(json::parse(kPlan));
  ASSERT_TRUE(r.is_ok()) << r.error();
  ASSERT_EQ(r->size(), 3u);
  const auto& j = (*r)[0];
  EXPECT_EQ(j.dep, "14:05");
  EXPECT_EQ(j.arr, "14:40");
  EXPECT_EQ(j.duration_min, 35u);
  EXPECT_EQ(j.transfers, 1u);
  ASSERT_EQ(j.legs.size(), 4u);

  const auto& walk = j.legs[0];
  EXPECT_EQ(walk.mode, TransitMode::Walk);
  EXPECT_EQ(walk.from_name, "Start");
  EXPECT_EQ(walk.to_name, "Marienplatz");
  EXPECT_EQ(walk.duration_min, 1u);
  EXPECT_EQ(walk.arr, "14:06");
  EXPECT_EQ(walk.color, std::nullopt);

  const auto& u3 = j.legs[1];
  EXPECT_EQ(u3.mode, TransitMode::Subway);
  EXPECT_EQ(u3.line, "U3");
  EXPECT_EQ(u3.headsign, "Moosach");
  EXPECT_EQ(u3.duration_min, 2u);
  EXPECT_EQ(u3.num_stops, 2u);
  EXPECT_EQ(u3.geometry.size(), 2u);
  EXPECT_EQ(u3.color, "0A64C8");
  EXPECT_EQ(u3.text_color, "ffffff");
  EXPECT_EQ(u3.agency, "MVG");
  EXPECT_TRUE(u3.realtime);

  const auto& u6 = j.legs[2];
  EXPECT_EQ(u6.mode, TransitMode::Walk);  // no mode text
  EXPECT_EQ(u6.line, "");                 // an empty short name still wins over the route
  EXPECT_FALSE(u6.realtime);
  EXPECT_EQ(u6.duration_min, 0u);
  ASSERT_EQ(u6.geometry.size(), 1u);  // precision -1 falls back to 5
  EXPECT_NEAR(u6.geometry[0].lat, 38.5, 1e-9);

  EXPECT_EQ(j.legs[3].line, "S1");
  EXPECT_EQ(j.legs[3].mode, TransitMode::Walk);
  EXPECT_TRUE(j.legs[3].geometry.empty());

  EXPECT_EQ((*r)[1].duration_min, 3u);  // 2.5 minutes round away from zero
  EXPECT_EQ((*r)[1].transfers, 0u);
  EXPECT_TRUE((*r)[1].legs.empty());
  EXPECT_EQ((*r)[2].dep, "");
  EXPECT_EQ((*r)[2].transfers, 0u);
}

// Encoded Polyline Algorithm Format of integer coordinates (already scaled).
std::string encode_polyline(const std::vector<std::pair<std::int64_t, std::int64_t>>& points) {
  std::string out;
  std::int64_t last_lat = 0, last_lon = 0;
  const auto put = [&](std::int64_t delta) {
    std::uint64_t v = delta < 0 ? ~(static_cast<std::uint64_t>(delta) << 1) : static_cast<std::uint64_t>(delta) << 1;
    while (v >= 0x20) {
      out.push_back(static_cast<char>((0x20 | (v & 0x1F)) + 63));
      v >>= 5;
    }
    out.push_back(static_cast<char>(v + 63));
  };
  for (const auto& [lat, lon] : points) {
    put(lat - last_lat);
    put(lon - last_lon);
    last_lat = lat;
    last_lon = lon;
  }
  return out;
}

TEST(DecodeLegGeometry, AMissingPrecisionIsFiveOrElseSevenAndLinesOffTheGlobeAreDropped) {
  // Marienplatz to Karlsplatz, written at precision 5 and at 7.
  const std::vector<LatLon> line{{48.13743, 11.57549}, {48.13906, 11.56592}};
  const auto at5 = encode_polyline({{4813743, 1157549}, {4813906, 1156592}});
  const auto at7 = encode_polyline({{481374300, 115754900}, {481390600, 115659200}});
  // Off the globe read at 5 and at 7 alike.
  const auto garbage = encode_polyline({{2000000000, 10}, {2000000001, 20}});
  const auto none = std::optional<std::uint32_t>();
  struct Case {
    const char* what;
    std::string points;
    std::optional<std::uint32_t> precision;
    std::vector<LatLon> want;
  };
  const Case cases[] = {
      {"stated 5", at5, 5u, line},
      {"stated 7", at7, 7u, line},
      {"missing, written at 5", at5, none, line},
      {"missing, written at 7: read at 5 it leaves the globe, so 7", at7, none, line},
      {"stated 5 but written at 7: no second guess, the line is dropped", at7, 5u, {}},
      {"off the globe at 5 and at 7", garbage, none, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    expect_points_near(decode_leg_geometry(c.points, c.precision), c.want, 1e-9);
  }
}

TEST(ParseTransitPlan, LegWithoutPrecisionIsReadAtSevenWhenFiveLeavesTheGlobe) {
  const auto at7 = encode_polyline({{481374300, 115754900}, {481390600, 115659200}});
  const json plan = {{"itineraries", {{{"legs", {{{"mode", "TRAM"}, {"legGeometry", {{"points", at7}}}}}}}}}};
  auto r = parse_transit_plan(plan);
  ASSERT_TRUE(r.is_ok()) << r.error();
  const auto& geometry = r->at(0).legs.at(0).geometry;
  expect_points_near(geometry, {{48.13743, 11.57549}, {48.13906, 11.56592}}, 1e-9);
}

// Without itineraries, the planner's walk-only journeys under "direct" are the answer; beside
// itineraries they are not listed, and an empty answer stays empty.
TEST(ParseTransitPlan, WalkOnlyJourneysComeFromDirect) {
  ScopedTz utc("UTC0");
  const json walk = json::parse(R"({"duration": 267, "startTime": "2024-11-06T16:34:00Z",
    "endTime": "2024-11-06T16:38:27Z", "transfers": 0,
    "legs": [{"mode": "WALK", "to": {"name": "END"}, "duration": 267}]})");
  const json ride = json::parse(R"({"duration": 600, "legs": [{"mode": "TRAM", "routeShortName": "19"}]})");
  struct Case {
    const char* name;
    json reply;
    std::size_t journeys;
    TransitMode first_leg;
  };
  const Case cases[] = {
      {"only the walk", json{{"itineraries", json::array()}, {"direct", json::array({walk})}}, 1, TransitMode::Walk},
      {"a ride beside the walk", json{{"itineraries", json::array({ride})}, {"direct", json::array({walk})}}, 1,
       TransitMode::Tram},
      {"nothing", json{{"itineraries", json::array()}, {"direct", json::array()}}, 0, TransitMode::Walk},
      {"no direct list", json{{"itineraries", json::array()}, {"direct", "x"}}, 0, TransitMode::Walk},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto r = parse_transit_plan(c.reply);
    ASSERT_TRUE(r.is_ok()) << r.error();
    ASSERT_EQ(r->size(), c.journeys);
    if (c.journeys == 0) continue;
    ASSERT_FALSE((*r)[0].legs.empty());
    EXPECT_EQ((*r)[0].legs[0].mode, c.first_leg);
  }
  auto only_walk = parse_transit_plan(cases[0].reply);
  EXPECT_EQ((*only_walk)[0].dep, "16:34");
  EXPECT_EQ((*only_walk)[0].arr, "16:38");
  EXPECT_EQ((*only_walk)[0].duration_min, 4u);
  EXPECT_EQ((*only_walk)[0].legs[0].to_name, "") << "the planner's stand-in for the asked coordinates";
}

// The planner names the asked coordinates "START" and "END"; a real stop of that name keeps it.
TEST(ParseTransitPlan, TheAskedEndpointsAreNoNames) {
  struct Case {
    const char* place;
    const char* name;
  };
  const Case cases[] = {
      {R"({"name": "END", "lat": 48.1, "lon": 11.5, "vertexType": "NORMAL"})", ""},
      {R"({"name": "START"})", ""},
      {R"({"name": "END", "stopId": "de:09162:2"})", "END"},
      {R"({"name": "Stachus", "stopId": "de:09162:1"})", "Stachus"},
      {R"({"name": "Ende"})", "Ende"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.place);
    json reply = json::parse(R"({"itineraries": [{"duration": 60, "legs": [{"mode": "WALK"}]}]})");
    reply["itineraries"][0]["legs"][0]["from"] = json::parse(c.place);
    reply["itineraries"][0]["legs"][0]["to"] = json::parse(c.place);
    auto r = parse_transit_plan(reply);
    ASSERT_TRUE(r.is_ok()) << r.error();
    EXPECT_EQ((*r)[0].legs[0].from_name, c.name);
    EXPECT_EQ((*r)[0].legs[0].to_name, c.name);
  }
}

TEST(ParseTransitPlan, ItinerariesMustBeAnArray) {
  EXPECT_TRUE(parse_transit_plan(json::parse(R"({"itineraries":[]})")).value().empty());
  for (const char* bad : {"{}", R"({"itineraries":{}})", "[]", "null"}) {
    auto r = parse_transit_plan(json::parse(bad));
    ASSERT_TRUE(r.is_err()) << bad;
    EXPECT_EQ(r.error(), "no itineraries");
  }
}

TEST(ParseTransitPlan, MinutesAreClamped) {
  auto r = parse_transit_plan(json::parse(R"({"itineraries":[{"duration":-600},{"duration":1e300},{"duration":29}]})"));
  ASSERT_TRUE(r.is_ok());
  EXPECT_EQ((*r)[0].duration_min, 0u);
  EXPECT_EQ((*r)[1].duration_min, 4294967295u);
  EXPECT_EQ((*r)[2].duration_min, 0u);
}

TEST(TransitPlanUrl, LeaveNowAndArriveBy) {
  ServiceHosts hosts;
  hosts.motis = "http://h";
  const LatLon from{48.1371, 11.5754}, to{48.15, 11.6};
  const std::string base =
      "http://h/api/v1/plan?fromPlace=48.137100,11.575400&toPlace=48.150000,11.600000&numItineraries=4";
  EXPECT_EQ(transit_plan_url(hosts, {}, from, to), base);
  EXPECT_EQ(transit_plan_url(hosts, {"2026-12-08T14:05:00+01:00", true}, from, to),
            base + "&time=2026-12-08T14%3A05%3A00%2B01%3A00&arriveBy=true");
  EXPECT_EQ(transit_plan_url(hosts, {"2026-12-08T14:05:00+01:00", false}, from, to),
            base + "&time=2026-12-08T14%3A05%3A00%2B01%3A00");
}

}  // namespace
}  // namespace maps
