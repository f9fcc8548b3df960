#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>

#include "json_fixtures.hpp"
#include "model/json_codec.hpp"

namespace maps {
namespace {

using testing::cafe;
using testing::journey;
using testing::region;
using testing::short_route;

template <class T>
std::string text_of(const T& v) {
  std::string out;
  serialize_json(v, out);
  return out;
}

std::vector<MapsAction> every_action() {
  using A = MapsAction;
  return {
      {A::UpsertPlaces{{cafe(), Place{"p2", "", Category::Other, "", {-33.9, 151.2}, false}}}},
      {A::SetPlaceSaved{"cafe-1", true}},
      {A::CommitSearch{"bäckerei\n\"neu\""}},
      {A::ClearRecents{}},
      {A::SetTravelMode{TravelMode::Foot}},
      {A::SetTransitTime{{TransitTimeMode::Arrive, -30}}},
      {A::ClearRoute{}},
      {A::SetRoute{short_route(), LatLon{48.1, 11.5}, "Home", std::nullopt, "Work", TravelMode::Bike}},
      {A::SetTransit{{journey(), journey()}, std::nullopt, "Map centre", LatLon{48.2, 11.6}, "Zoo"}},
      {A::ClearTransit{}},
      {A::AddRegion{region()}},
      {A::DeleteRegion{"region-demo-1"}},
      {A::ClearRegions{}},
  };
}

TEST(JsonRoundTrip, EveryActionVariant) {
  const auto actions = every_action();
  ASSERT_EQ(actions.size(), kMapsActionNames.size());
  for (std::size_t i = 0; i < actions.size(); ++i) {
    ASSERT_EQ(actions[i].value.index(), i);
    std::vector<std::uint8_t> bytes{'x'};  // appended after what is there
    serialize_maps_action_json(actions[i], bytes);
    ASSERT_EQ(bytes.front(), 'x');
    const auto back = deserialize_maps_action_slice(std::span(bytes).subspan(1));
    ASSERT_TRUE(back.is_ok()) << kMapsActionNames[i] << ": " << back.error();
    EXPECT_EQ(*back, actions[i]) << kMapsActionNames[i];
  }
}

TEST(JsonRoundTrip, EveryPlanVariantAndTransitTime) {
  const std::vector<ActivePlan> plans = {
      {ActivePlan::None{}},
      {ActivePlan::Route{short_route(), std::nullopt, "Map centre", LatLon{1, 2}, "Dest", TravelMode::Transit}},
      {ActivePlan::Transit{{journey()}, LatLon{3, 4}, "A", std::nullopt, "B"}},
  };
  for (const auto& plan : plans) {
    std::string text;
    serialize_active_plan_json(plan, text);
    const auto back = deserialize_active_plan_str(text);
    ASSERT_TRUE(back.is_ok()) << text << ": " << back.error();
    EXPECT_EQ(*back, plan);
  }
  for (const TransitTime t : {TransitTime{TransitTimeMode::Depart, 0}, TransitTime{TransitTimeMode::Arrive, 1440},
                              TransitTime{TransitTimeMode::Depart, std::numeric_limits<std::int32_t>::min()},
                              TransitTime{TransitTimeMode::Arrive, std::numeric_limits<std::int32_t>::max()}}) {
    std::string text;
    serialize_transit_time_json(t, text);
    EXPECT_EQ(deserialize_transit_time_str(text).value(), t) << text;
  }
}

TEST(JsonWrite, ExactTexts) {
  std::string out;
  serialize_transit_time_json({TransitTimeMode::Arrive, 60}, out);
  EXPECT_EQ(out, R"({"mode":"Arrive","offset_min":60})");
  out.clear();
  serialize_maps_action_json({MapsAction::DeleteRegion{"region-demo-1"}}, out);
  EXPECT_EQ(out, R"({"DeleteRegion":{"id":"region-demo-1"}})");
  out.clear();
  serialize_active_plan_json({ActivePlan::None{}}, out);
  EXPECT_EQ(out, R"("None")");

  EXPECT_EQ(text_of(MapsAction{MapsAction::ClearRoute{}}), R"("ClearRoute")");
  EXPECT_EQ(text_of(MapsAction{MapsAction::SetPlaceSaved{"a", false}}),
            R"({"SetPlaceSaved":{"id":"a","saved":false}})");
  EXPECT_EQ(text_of(MapsAction{MapsAction::AddRegion{region()}}),
            R"({"AddRegion":{"id":"region-demo-1","name":"Altstadt","min":{"lat":48.13,"lon":11.56},)"
            R"("max":{"lat":48.15,"lon":11.59},"z0":12,"z1":16,"tiles":420}})");
  EXPECT_EQ(text_of(MapsAction{MapsAction::SetTransitTime{{TransitTimeMode::Depart, -30}}}),
            R"({"SetTransitTime":{"value":{"mode":"Depart","offset_min":-30}}})");
  EXPECT_EQ(text_of(testing::tram_leg()),
            R"({"mode":"Tram","line":"19","headsign":"Pasing","from_name":"Stachus","to_name":"Hauptbahnhof",)"
            R"("dep":"09:05","arr":"09:09","duration_min":4,"num_stops":2,)"
            R"("geometry":[{"lat":48.139,"lon":11.566},{"lat":48.14,"lon":11.558}],)"
            R"("color":"e30613","text_color":null,"agency":"MVG","realtime":true})");
  EXPECT_EQ(text_of(ActivePlan{ActivePlan::Route{Route{}, std::nullopt, "", std::nullopt, "", TravelMode::Car}}),
            R"({"Route":{"route":{"mode":"Car","distance_m":0.0,"duration_s":0.0,"geometry":[],"steps":[],)"
            R"("from":{"lat":0.0,"lon":0.0},"to":{"lat":0.0,"lon":0.0}},"origin":null,"origin_name":"",)"
            R"("dest":null,"dest_name":"","mode":"Car"}})");
  EXPECT_EQ(text_of(Maneuver::SlightLeft), R"("SlightLeft")");
}

TEST(JsonWrite, ShortestFloatsAndNonFiniteAsNull) {
  const std::vector<std::pair<double, std::string>> cases = {
      {0.0, "0.0"},
      {-0.0, "-0.0"},
      {1.0, "1.0"},
      {0.1, "0.1"},
      {48.1371, "48.1371"},
      {-122.41941550000001, "-122.41941550000001"},
      {1e15, "1000000000000000.0"},
      {1e16, "1e16"},
      {1.5e17, "1.5e17"},
      {0.0001, "0.0001"},
      {0.00001, "0.00001"},
      {0.000001, "1e-6"},
      {1.25e-7, "1.25e-7"},
      {5e-324, "5e-324"},
      {1.7976931348623157e308, "1.7976931348623157e308"},
      {std::numeric_limits<double>::quiet_NaN(), "null"},
      {std::numeric_limits<double>::infinity(), "null"},
      {-std::numeric_limits<double>::infinity(), "null"},
  };
  for (const auto& [v, want] : cases) {
    std::string out;
    serialize_json(LatLon{v, 0.0}, out);
    EXPECT_EQ(out, R"({"lat":)" + want + R"(,"lon":0.0})") << want;
    if (std::isfinite(v)) {
      const auto back = deserialize_json<LatLon>(out);
      ASSERT_TRUE(back.is_ok()) << out;
      EXPECT_EQ(std::signbit(back->lat), std::signbit(v));
      EXPECT_EQ(back->lat, v) << want;
    }
  }
}

TEST(JsonWrite, NanDistanceIsNullAndThePlanDoesNotReadBack) {
  Route route = short_route();
  route.distance_m = std::nan("");
  std::string out;
  serialize_active_plan_json({ActivePlan::Route{route, std::nullopt, "", std::nullopt, "", TravelMode::Car}}, out);
  EXPECT_NE(out.find(R"("distance_m":null)"), std::string::npos) << out;
  const auto back = deserialize_active_plan_str(out);
  ASSERT_TRUE(back.is_err());
  EXPECT_EQ(back.error(), "invalid type: null, expected f64");
}

TEST(JsonWrite, StringEscapes) {
  std::string out;
  serialize_json(Place{"a\"b\\c", "\x01\b\f\n\r\t\x1f/\x7f", Category::Other, "Ünïcødé ✓ 😀", {}, false}, out);
  EXPECT_EQ(out,
            "{\"id\":\"a\\\"b\\\\c\",\"name\":\"\\u0001\\b\\f\\n\\r\\t\\u001f/\x7f\",\"category\":\"Other\","
            "\"address\":\"Ünïcødé ✓ 😀\",\"pos\":{\"lat\":0.0,\"lon\":0.0},\"saved\":false}");
  const auto back = deserialize_json<Place>(out);
  ASSERT_TRUE(back.is_ok()) << back.error();
  EXPECT_EQ(back->name, "\x01\b\f\n\r\t\x1f/\x7f");
  EXPECT_EQ(back->address, "Ünïcødé ✓ 😀");
}

TEST(JsonWrite, IllFormedUtf8IsReplacedSoTheTextStaysReadable) {
  std::string out;
  serialize_maps_action_json({MapsAction::CommitSearch{"caf\xC3"}}, out);
  EXPECT_EQ(out, "{\"CommitSearch\":{\"query\":\"caf\xEF\xBF\xBD\"}}");
  EXPECT_EQ(std::get<MapsAction::CommitSearch>(deserialize_maps_action_slice(out)->value).query, "caf\xEF\xBF\xBD");
}

TEST(JsonValue, SameShapeAsTheText) {
  for (const auto& action : every_action()) {
    const nlohmann::json v = serialize_maps_action_value(action);
    std::string text;
    serialize_maps_action_json(action, text);
    EXPECT_EQ(v, nlohmann::json::parse(text));
    const std::string_view name = action_name(action);
    if (v.is_string()) {
      EXPECT_EQ(v.get<std::string>(), name);
    } else {
      ASSERT_TRUE(v.is_object());
      ASSERT_EQ(v.size(), 1u);
      EXPECT_EQ(v.begin().key(), name);
    }
  }
  Route nan_route = short_route();
  nan_route.duration_s = std::numeric_limits<double>::infinity();
  const auto v = serialize_maps_action_value(
      {MapsAction::SetRoute{nan_route, std::nullopt, "", std::nullopt, "", TravelMode::Car}});
  EXPECT_TRUE(v["SetRoute"]["route"]["duration_s"].is_null());
}

}  // namespace
}  // namespace maps
