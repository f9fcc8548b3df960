#include <gtest/gtest.h>

#include <string>

#include "json_fixtures.hpp"
#include "model/json_codec.hpp"

namespace maps {
namespace {

// "ok", or the error text.
template <class T>
std::string outcome(std::string_view text) {
  const auto r = deserialize_json<T>(text);
  return r.is_ok() ? "ok" : r.error();
}

struct Case {
  std::string input;
  std::string want;  // "ok" or the error text
};

template <class T>
void check_all(const std::vector<Case>& cases) {
  for (const auto& c : cases) EXPECT_EQ(outcome<T>(c.input), c.want) << c.input;
}

const std::string kLeg =
    R"("mode":"Bus","line":"52","headsign":"X","from_name":"A","to_name":"B","dep":"10:00","arr":"10:10",)"
    R"("duration_min":10,"num_stops":3,"geometry":[])";

// The smallest model text: every member without a default.
const std::string kModelCore =
    R"("places":[],"recents":["a"],"transit":[],"transit_choice":2,"panel":"Directions","mode":"Foot",)"
    R"("query":"q","results":[],"origin":null,"origin_name":"Home","center":{"lat":1,"lon":2},"zoom":12,)"
    R"("status":"")";

TEST(JsonRead, RecordMembersInAnyOrderAndUnknownOnesSkipped) {
  const auto p = deserialize_json<Place>(
      R"( {"saved":true,"pos":{"lon":11.5,"extra":[1,{"a":null}],"lat":48},"x":"y","address":"",)"
      R"("category":"Cafe","name":"N","id":"i","x":{"deep":[true,false,-1.5e3]}} )");
  ASSERT_TRUE(p.is_ok()) << p.error();
  EXPECT_EQ(*p, (Place{"i", "N", Category::Cafe, "", {48.0, 11.5}, true}));
}

TEST(JsonRead, TransitLegDefaults) {
  const auto leg = deserialize_json<TransitLeg>("{" + kLeg + "}");
  ASSERT_TRUE(leg.is_ok()) << leg.error();
  EXPECT_EQ(leg->color, std::nullopt);
  EXPECT_EQ(leg->text_color, std::nullopt);
  EXPECT_EQ(leg->agency, "");
  EXPECT_FALSE(leg->realtime);
  const auto colored = deserialize_json<TransitLeg>("{" + kLeg + R"(,"text_color":"ffffff"})");
  EXPECT_EQ(colored->color, std::nullopt);
  EXPECT_EQ(colored->text_color, "ffffff");
  check_all<TransitLeg>({
      {R"({"mode":"Bus","line":"","headsign":"","from_name":"","to_name":"","dep":"","arr":"",)"
       R"("duration_min":1,"num_stops":0})",
       "missing field `geometry`"},
      {"{" + kLeg + R"(,"agency":null})", "invalid type: null, expected a string"},
      {"{" + kLeg + R"(,"realtime":null})", "invalid type: null, expected a boolean"},
      {"{" + kLeg + R"(,"color":null,"text_color":null})", "ok"},
      {R"(["Walk","","","","","","",1,0,[]])", "ok"},
      {R"(["Walk","","","","","","",1,0,[],null,null,"VBB",true])", "ok"},
      {R"(["Walk","","","","","","",1,0])", "invalid length 9, expected struct TransitLeg with 14 elements"},
      {R"(["Walk","","","","","","",1,0,[],null,null,"",true,1])", "trailing characters"},
  });
}

TEST(JsonRead, MapModelDefaultsAndRequiredMembers) {
  const auto m = deserialize_map_model_str("{" + kModelCore + "}");
  ASSERT_TRUE(m.is_ok()) << m.error();
  EXPECT_EQ(m->selected, std::nullopt);
  EXPECT_EQ(m->route, std::nullopt);
  EXPECT_EQ(m->origin_query, "");
  EXPECT_EQ(m->dest_query, "");
  EXPECT_EQ(m->transit_time, (TransitTime{TransitTimeMode::Depart, 0}));
  EXPECT_EQ(m->dest, std::nullopt);
  EXPECT_EQ(m->dest_name, "");
  EXPECT_TRUE(m->regions.empty());
  EXPECT_EQ(m->transit_choice, 2u);
  EXPECT_EQ(m->panel, Panel::Directions);
  EXPECT_EQ(m->origin_name, "Home");
  EXPECT_EQ(m->center, (LatLon{1, 2}));

  const auto without = [](std::string_view member) {
    std::string text = "{" + kModelCore + "}";
    const auto at = text.find("\"" + std::string(member) + "\":");
    const auto value = text.find(':', at) + 1;
    // The model core's only object values are flat, so their end is the next '}'.
    const auto end = text[value] == '{' ? text.find('}', value) + 1 : text.find_first_of(",}", value);
    const auto stop = text[end] == ',' ? end + 1 : end;
    text.erase(at, stop - at);
    if (text[text.size() - 2] == ',') text.erase(text.size() - 2, 1);
    return text;
  };
  EXPECT_EQ(outcome<MapModel>(without("status")), "missing field `status`");
  EXPECT_EQ(outcome<MapModel>(without("zoom")), "missing field `zoom`");
  EXPECT_EQ(outcome<MapModel>(without("center")), "missing field `center`");
  EXPECT_EQ(outcome<MapModel>(without("origin")), "ok");
  EXPECT_EQ(outcome<MapModel>(without("panel")), "missing field `panel`");
  EXPECT_EQ(outcome<MapModel>("{" + kModelCore + R"(,"center":{"lat":0,"lon":0}})"), "duplicate field `center`");
  EXPECT_EQ(outcome<MapModel>("{" + kModelCore + R"(,"regions":null})"), "invalid type: null, expected a sequence");
  EXPECT_EQ(outcome<MapModel>(without("transit_choice").insert(1, R"("transit_choice":-1,)")),
            "invalid value: integer `-1`, expected u64");
  EXPECT_EQ(outcome<MapModel>("{" + kModelCore + R"(,"unknown":{"places":[1,2]}})"), "ok");
  EXPECT_EQ(outcome<MapModel>("[]"), "invalid length 0, expected struct MapModel with 21 elements");
  EXPECT_EQ(outcome<MapModel>("7"), "invalid type: integer `7`, expected struct MapModel");
}

TEST(JsonRead, MapModelArrayForm) {
  const std::string twenty =
      R"([[],[],null,null,[],0,"Explore","Car","","o","d",{"mode":"Arrive","offset_min":5},[],null,"Map centre",)"
      R"(null,"",{"lat":48,"lon":11},14.4,"")";
  const auto m = deserialize_map_model_str(twenty + "]");
  ASSERT_TRUE(m.is_ok()) << m.error();
  EXPECT_EQ(m->origin_query, "o");
  EXPECT_EQ(m->transit_time.offset_min, 5);
  EXPECT_TRUE(m->regions.empty());
  EXPECT_EQ(outcome<MapModel>(twenty + ",[]]"), "ok");
  EXPECT_EQ(outcome<MapModel>(twenty + ",[],1]"), "trailing characters");
  EXPECT_EQ(outcome<MapModel>(R"([[],[],null,null,[],0,"Explore","Car",""])"),
            "invalid length 12, expected struct MapModel with 21 elements");
  EXPECT_EQ(outcome<MapModel>(R"([[],[],null,null,[],0,"Explore","Car","","","",{"mode":"Depart","offset_min":0},)"
                              R"([],null,"x"])"),
            "invalid length 17, expected struct MapModel with 21 elements");
  // Optional members without a default still need their position.
  EXPECT_EQ(outcome<MapModel>(R"([[],[]])"), "invalid length 2, expected struct MapModel with 21 elements");
}

TEST(JsonRead, Enumerations) {
  check_all<TravelMode>({
      {R"("Car")", "ok"},
      {R"({"Car":null})", "ok"},
      {R"( { "Bike" : null } )", "ok"},
      {R"({"Car":{}})", "invalid type: map, expected unit"},
      {R"({"Car":null,"Bike":null})", "expected `}`"},
      {R"({})", "expected value"},
      {R"("car")", "unknown variant `car`, expected one of `Car`, `Transit`, `Bike`, `Foot`"},
      {R"({"Plane":null})", "unknown variant `Plane`, expected one of `Car`, `Transit`, `Bike`, `Foot`"},
      {"1", "invalid type: integer `1`, expected enum TravelMode"},
  });
  EXPECT_EQ(outcome<TransitTimeMode>(R"("Later")"), "unknown variant `Later`, expected `Depart` or `Arrive`");
  EXPECT_EQ(outcome<Panel>(R"("Directions")"), "ok");
  EXPECT_EQ(deserialize_json<Maneuver>(R"("SlightLeft")").value(), Maneuver::SlightLeft);
  EXPECT_EQ(deserialize_json<Category>(R"({"Other":null})").value(), Category::Other);
}

TEST(JsonRead, Integers) {
  check_all<TransitTime>({
      {R"({"mode":"Depart","offset_min":-30})", "ok"},
      {R"({"mode":"Depart","offset_min":-2147483648})", "ok"},
      {R"({"mode":"Depart","offset_min":2147483648})", "invalid value: integer `2147483648`, expected i32"},
      {R"({"mode":"Depart","offset_min":-2147483649})", "invalid value: integer `-2147483649`, expected i32"},
      {R"({"mode":"Depart","offset_min":60.0})", "invalid type: floating point `60.0`, expected i32"},
      {R"({"mode":"Depart","offset_min":6e1})", "invalid type: floating point `60.0`, expected i32"},
      {R"({"mode":"Depart","offset_min":-0})", "invalid type: floating point `-0.0`, expected i32"},
      {R"({"mode":"Depart","offset_min":"5"})", "invalid type: string \"5\", expected i32"},
      {R"({"mode":"Depart","offset_min":05})", "invalid number"},
      {R"({"mode":"Depart"})", "missing field `offset_min`"},
      {R"({"offset_min":1})", "missing field `mode`"},
      {R"(["Arrive",60])", "ok"},
      {R"(["Arrive"])", "invalid length 1, expected struct TransitTime with 2 elements"},
      {R"("Depart")", "invalid type: string \"Depart\", expected struct TransitTime"},
  });
  const std::string box = R"("id":"r","name":"n","min":[0,0],"max":[1,1])";
  check_all<DownloadedRegion>({
      {"{" + box + R"(,"z0":255,"z1":0,"tiles":4294967295})", "ok"},
      {"{" + box + R"(,"z0":256,"z1":0,"tiles":1})", "invalid value: integer `256`, expected u8"},
      {"{" + box + R"(,"z0":-1,"z1":0,"tiles":1})", "invalid value: integer `-1`, expected u8"},
      {"{" + box + R"(,"z0":1,"z1":0,"tiles":4294967296})", "invalid value: integer `4294967296`, expected u32"},
      {"{" + box + R"(,"z0":1,"z1":0,"tiles":18446744073709551616})",
       "invalid type: floating point `18446744073709552000.0`, expected u32"},
  });
  EXPECT_EQ(deserialize_json<DownloadedRegion>("{" + box + R"(,"z0":19,"z1":3,"tiles":9})")->z0, 19);
}

TEST(JsonRead, Floats) {
  check_all<LatLon>({
      {R"({"lat":1,"lon":-2})", "ok"},
      {R"({"lat":1e-400,"lon":-1.5E+2})", "ok"},
      {R"({"lat":1e400,"lon":0})", "number out of range"},
      {R"({"lat":null,"lon":0})", "invalid type: null, expected f64"},
      {R"({"lat":"1","lon":0})", "invalid type: string \"1\", expected f64"},
      {R"({"lat":true,"lon":0})", "invalid type: boolean `true`, expected f64"},
      {R"({"lat":1.,"lon":0})", "invalid number"},
      {R"({"lat":.5,"lon":0})", "expected value"},
      {R"({"lat":+1,"lon":0})", "expected value"},
      {R"([1])", "invalid length 1, expected struct LatLon with 2 elements"},
      {R"([1,2,3])", "trailing characters"},
      {R"([1,2,])", "trailing comma"},
      {R"({"lat":1,"lon":2,})", "trailing comma"},
      {R"({"lat":1,"lat":1,"lon":2})", "duplicate field `lat`"},
      {R"({"x":1,"x":2,"lat":1,"lon":2})", "ok"},
      {R"({"lat":1})", "missing field `lon`"},
      {R"([[1],2])", "invalid type: sequence, expected f64"},
      {R"("x")", "invalid type: string \"x\", expected struct LatLon"},
  });
  EXPECT_EQ(deserialize_json<LatLon>(R"({"lat":18446744073709551615,"lon":-9223372036854775808})")->lon,
            -9223372036854775808.0);
}

TEST(JsonRead, Actions) {
  check_all<MapsAction>({
      {R"("ClearRoute")", "ok"},
      {R"({"ClearRoute":null})", "ok"},
      {R"({"ClearRoute":{}})", "invalid type: map, expected unit"},
      {R"("SetRoute")", "invalid type: unit variant, expected struct variant"},
      {R"("AddRegion")", "invalid type: unit variant, expected newtype variant"},
      {R"("Nope")",
       "unknown variant `Nope`, expected one of `UpsertPlaces`, `SetPlaceSaved`, `CommitSearch`, "
       "`ClearRecents`, `SetTravelMode`, `SetTransitTime`, `ClearRoute`, `SetRoute`, `SetTransit`, "
       "`ClearTransit`, `AddRegion`, `DeleteRegion`, `ClearRegions`"},
      {R"({"ClearRoute":null,"ClearTransit":null})", "expected `}`"},
      {R"({})", "expected value"},
      {R"(5)", "invalid type: integer `5`, expected enum MapsAction"},
      {R"({"DeleteRegion":{"id":"r"}} )", "ok"},
      {"{\"DeleteRegion\":{\"id\":\"r\"}}\n\t ", "ok"},
      {R"({"DeleteRegion":{"id":"r"}} "ClearRoute")", "trailing characters"},
      {R"({"DeleteRegion":{"id":"r"}}x)", "trailing characters"},
      {R"({"DeleteRegion":{}})", "missing field `id`"},
      {R"({"DeleteRegion":["r"]})", "ok"},
      {R"({"DeleteRegion":[]})", "invalid length 0, expected struct variant MapsAction::DeleteRegion with 1 element"},
      {R"({"DeleteRegion":"r"})", "invalid type: string \"r\", expected struct variant MapsAction::DeleteRegion"},
      {R"({"SetPlaceSaved":{"id":"a","saved":true,"id":"a"}})", "duplicate field `id`"},
      {R"({"SetPlaceSaved":["a"]})",
       "invalid length 1, expected struct variant MapsAction::SetPlaceSaved with 2 elements"},
      {R"({"SetTravelMode":{"mode":"Bike","future":{"a":[[[]]]}}})", "ok"},
      {R"({"SetTransitTime":{"value":{"mode":"Arrive","offset_min":60}}})", "ok"},
      {R"({"SetTransitTime":{"value":"x"}})", "invalid type: string \"x\", expected struct TransitTime"},
      {R"({"AddRegion":{"id":"r","name":"n","min":[0,0],"max":[1,1],"z0":1,"z1":2,"tiles":3}})", "ok"},
      {R"({"AddRegion":{"region":{}}})", "missing field `id`"},
      {R"({"AddRegion":5})", "invalid type: integer `5`, expected struct DownloadedRegion"},
      {R"({"SetRoute":{"route":{"mode":"Car","distance_m":1,"duration_s":2,"geometry":[],"steps":[],)"
       R"("from":[0,0],"to":[1,1]},"origin_name":"","dest_name":"","mode":"Car"}})",
       "ok"},
      {R"({"SetRoute":[{"mode":"Car","distance_m":1,"duration_s":2,"geometry":[],"steps":[],)"
       R"("from":[0,0],"to":[1,1]},null,"",null,"","Car"]})",
       "ok"},
      {R"({"SetRoute":[{"mode":"Car","distance_m":1,"duration_s":2,"geometry":[],"steps":[],)"
       R"("from":[0,0],"to":[1,1]}]})",
       "invalid length 1, expected struct variant MapsAction::SetRoute with 6 elements"},
      {R"({"SetTransit":{"transit":[],"origin_name":"a"}})", "missing field `dest_name`"},
      {R"({"UpsertPlaces":{"places":[{"id":"a","name":"b","category":"Cafe","address":"","pos":[0,0]}]}})",
       "missing field `saved`"},
      {R"({"UpsertPlaces":{"places":[{"id":"a","name":"b","category":"Bakery","address":"","pos":[0,0],)"
       R"("saved":false}]}})",
       "unknown variant `Bakery`, expected one of `Landmark`, `Cafe`, `Restaurant`, `Bar`, `Museum`, `Park`, "
       "`Transit`, `Hotel`, `Shop`, `Hospital`, `Other`"},
      {"", "EOF while parsing a value"},
      {"   ", "EOF while parsing a value"},
      {R"({"CommitSearch":{"query":"a)", "EOF while parsing a string"},
      {R"({"CommitSearch":{"query":"a"})", "EOF while parsing an object"},
      {R"({"CommitSearch":{"query":"a","x":[1,}})", "expected value"},
      {R"({"CommitSearch":{"query":"a","x":nul}})", "expected ident"},
      {R"({"CommitSearch":{"query":"a","x":{"k" 1}}})", "expected `:`"},
      {R"({"CommitSearch":{"query":"a","x":{1:2}}})", "key must be a string"},
      {R"({"CommitSearch":{"query":"a","x":[1 2]}})", "expected `,` or `]`"},
      {R"({"CommitSearch":{"query":"a" "x":1}})", "expected `,` or `}`"},
  });
  const auto a = deserialize_maps_action_slice(std::string_view(R"({"CommitSearch":["caf\u00e9 \ud83d\ude00"]})"));
  ASSERT_TRUE(a.is_ok()) << a.error();
  EXPECT_EQ(std::get<MapsAction::CommitSearch>(a->value).query, "café 😀");
}

TEST(JsonRead, Plans) {
  check_all<ActivePlan>({
      {R"("None")", "ok"},
      {R"({"None":null})", "ok"},
      {R"("Route")", "invalid type: unit variant, expected struct variant"},
      {R"("Walk")", "unknown variant `Walk`, expected one of `None`, `Route`, `Transit`"},
      {R"({"Transit":{"transit":[],"origin_name":"","dest_name":""}})", "ok"},
      {R"({"Transit":["x"]})", "invalid type: string \"x\", expected a sequence"},
      {R"({"Transit":[[],null,"",null]})",
       "invalid length 4, expected struct variant ActivePlan::Transit with 5 elements"},
      {R"({"Route":7})", "invalid type: integer `7`, expected struct variant ActivePlan::Route"},
  });
}

TEST(JsonRead, StringsAndUtf8) {
  check_all<MapsAction>({
      {"{\"CommitSearch\":{\"query\":\"caf\xC3\xA9\"}}", "ok"},
      {"{\"CommitSearch\":{\"query\":\"caf\xC3\"}}", "invalid unicode code point"},
      {"{\"CommitSearch\":{\"query\":\"\xED\xA0\x80\"}}", "invalid unicode code point"},  // encoded surrogate
      {"{\"CommitSearch\":{\"query\":\"\xC0\xAF\"}}", "invalid unicode code point"},      // overlong
      {"{\"CommitSearch\":{\"query\":\"a\",\"x\":\"\xFF\"}}", "invalid unicode code point"},
      {"{\"CommitSearch\":{\"query\":\"a\nb\"}}", "control character (\\u0000-\\u001F) found while parsing a string"},
      {R"({"CommitSearch":{"query":"\q"}})", "invalid escape"},
      {R"({"CommitSearch":{"query":"\u12"}})", "invalid escape"},
      {R"({"CommitSearch":{"query":"\ud800"}})", "unexpected end of hex escape"},
      {R"({"CommitSearch":{"query":"\udc00"}})", "lone leading surrogate in hex escape"},
      {R"({"CommitSearch":{"query":"\ud800\u0041"}})", "lone leading surrogate in hex escape"},
      {R"({"CommitSearch":{"query":"\u0000\/"}})", "ok"},
      {R"({"CommitSearch":{"query":5}})", "invalid type: integer `5`, expected a string"},
  });
}

TEST(JsonRead, DeepUnknownMembersAreSkipped) {
  const std::string deep = std::string(1000, '[') + std::string(1000, ']');
  EXPECT_EQ(outcome<MapsAction>(R"({"CommitSearch":{"x":)" + deep + R"(,"query":"q"}})"), "ok");
  const std::string deep_objects = [] {
    std::string s;
    for (int i = 0; i < 100000; ++i) s += R"({"a":)";
    s += "1";
    s += std::string(100000, '}');
    return s;
  }();
  EXPECT_EQ(outcome<LatLon>(R"({"lat":1,"lon":2,"deep":)" + deep_objects + "}"), "ok");
  // Still checked: a broken skipped value fails the read.
  EXPECT_EQ(outcome<MapsAction>(R"({"CommitSearch":{"x":)" + std::string(1000, '[') + R"(,"query":"q"}})"),
            "expected value");
}

TEST(JsonRead, HostileNestingWhereRecordsAreExpected) {
  // Arrays there are read as records, so the nesting ends at the first member that is no list.
  EXPECT_EQ(outcome<MapsAction>(R"({"SetTransit":)" + std::string(100000, '[')),
            "invalid type: sequence, expected a string");
  EXPECT_EQ(outcome<MapModel>(std::string(100000, '[')), "invalid type: sequence, expected a string");
  EXPECT_EQ(outcome<MapModel>(std::string(100000, '{')), "key must be a string");
}

}  // namespace
}  // namespace maps
