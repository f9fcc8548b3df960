#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "doc/readers.hpp"
#include "doc/writers.hpp"
#include "doc_fixtures.hpp"
#include "model/json_codec.hpp"

namespace maps::doc {
namespace {

using automerge::AutoCommit;
using automerge::ExId;
using automerge::ObjType;
using automerge::ScalarValue;
using testing::journey;
using testing::place;
using testing::route;

std::string plan_json(const ActivePlan& plan) {
  std::string out;
  serialize_active_plan_json(plan, out);
  return out;
}

struct LoaderCase {
  const char* name;
  std::function<void(AutoCommit&, const ExId& root)> setup;
  std::function<void(const MapModel&)> check;
};

TEST(Loader, EdgeCases) {
  const ActivePlan::Route car_plan{route(), std::nullopt, "Plan start", LatLon{9, 9}, "Plan end", TravelMode::Foot};
  const LoaderCase cases[] = {
      {"nothing readable gives the default model",
       [](AutoCommit& d, const ExId& r) { (void)d.put(r, kMode, ScalarValue::uint64(3)); },
       [](const MapModel& m) { EXPECT_EQ(m, default_map_model()); }},
      {"route_deleted with a Route plan takes the plan's route",
       [&](AutoCommit& d, const ExId& r) {
         (void)d.put(r, kRouteDeleted, ScalarValue::boolean(true));
         put_str(d, r, kRoutePlan, plan_json({car_plan}));
       },
       [](const MapModel& m) { EXPECT_EQ(m.route, route()); }},
      {"route_deleted hides the structured route",
       [](AutoCommit& d, const ExId& r) {
         write_route(d, r, route());
         (void)d.put(r, kRouteDeleted, ScalarValue::boolean(true));
       },
       [](const MapModel& m) { EXPECT_EQ(m.route, std::nullopt); }},
      {"None transit plan empties the structured journeys",
       [](AutoCommit& d, const ExId& r) {
         write_transit(d, r, {journey(), journey(), journey()});
         put_str(d, r, kTransitPlan, plan_json({}));
       },
       [](const MapModel& m) { EXPECT_TRUE(m.transit.empty()); }},
      {"Transit mode with only a Route plan keeps the endpoint keys",
       [&](AutoCommit& d, const ExId& r) {
         write_text(d, r, kMode, "transit");
         write_latlon(d, r, kOrigin, {1, 1});
         write_text(d, r, kOriginName, "Key start");
         put_str(d, r, kRoutePlan, plan_json({car_plan}));
       },
       [](const MapModel& m) {
         EXPECT_EQ(m.origin, (LatLon{1, 1}));
         EXPECT_EQ(m.origin_name, "Key start");
         EXPECT_EQ(m.dest, std::nullopt);
       }},
      {"Car mode takes the Route plan's endpoints, an absent origin too",
       [&](AutoCommit& d, const ExId& r) {
         write_text(d, r, kMode, "car");
         write_latlon(d, r, kOrigin, {1, 1});
         put_str(d, r, kRoutePlan, plan_json({car_plan}));
       },
       [](const MapModel& m) {
         EXPECT_EQ(m.origin, std::nullopt);
         EXPECT_EQ(m.origin_name, "Plan start");
         EXPECT_EQ(m.dest, (LatLon{9, 9}));
         EXPECT_EQ(m.mode, TravelMode::Car);  // the plan's own mode is not used
       }},
      {"a capitalised mode falls back to Car and hides the route",
       [](AutoCommit& d, const ExId& r) {
         write_text(d, r, kMode, "Bike");
         write_route(d, r, route());
         write_text(d, *get_map(d, r, kRoute), "mode", "Car");
       },
       [](const MapModel& m) {
         EXPECT_EQ(m.mode, TravelMode::Car);
         EXPECT_EQ(m.route, std::nullopt);
       }},
      {"a bad transit_time text leaves the two keys in charge",
       [](AutoCommit& d, const ExId& r) {
         write_text(d, r, kTransitTimeMode, "arrive");
         (void)d.put(r, kTransitTimeOffset, ScalarValue::int64(-15));
         put_str(d, r, kTransitTime, "{\"mode\":\"Later\"}");
       },
       [](const MapModel& m) {
         EXPECT_EQ(m.transit_time, (TransitTime{TransitTimeMode::Arrive, -15}));
       }},
      {"a Transit plan under route_plan is ignored",
       [](AutoCommit& d, const ExId& r) {
         write_route(d, r, route());
         put_str(d, r, kRoutePlan, plan_json({ActivePlan::Transit{{journey()}, {}, "x", {}, "y"}}));
       },
       [](const MapModel& m) { EXPECT_EQ(m.route, route()); }},
      {"an unknown manoeuvre drops only its step",
       [](AutoCommit& d, const ExId& r) {
         write_route(d, r, route());
         auto steps = *get_list(d, *get_map(d, r, kRoute), "steps");
         write_text(d, *list_item(d, steps, 1), "maneuver", "SlightLeft");
       },
       [](const MapModel& m) {
         ASSERT_TRUE(m.route);
         EXPECT_EQ(m.route->steps.size(), 2u);
       }},
      {"two records with one id both load, in key order; bad categories are skipped",
       [](AutoCommit& d, const ExId& r) {
         auto places = *ensure_map(d, r, kPlaces);
         write_place(d, *ensure_map(d, places, "k2"), place("same", "Second"));
         write_place(d, *ensure_map(d, places, "k1"), place("same", "First"));
         auto bad = *ensure_map(d, places, "k3");
         write_place(d, bad, place("bad", "Bad"));
         write_text(d, bad, "category", "Cafe");
         auto bare = *ensure_map(d, places, "k4");
         write_place(d, bare, place("bare", "Bare"));
         delete_key(d, bare, "address");
       },
       [](const MapModel& m) {
         ASSERT_EQ(m.places.size(), 3u);
         EXPECT_EQ(m.places[0].id, "bare");
         EXPECT_EQ(m.places[0].address, "");
         EXPECT_EQ(m.places[1].name, "First");
         EXPECT_EQ(m.places[2].name, "Second");
       }},
      {"recents: equal ranks by key, unranked last, no cap",
       [](AutoCommit& d, const ExId& r) {
         auto recents = *ensure_map(d, r, kRecents);
         const char* texts[] = {"b", "a", "z", "c", "d", "e", "f", "g", "h", "i"};
         for (std::size_t i = 0; i < 10; ++i) {
           auto rec = *ensure_map(d, recents, recent_search_key(texts[i]));
           write_text(d, rec, "text", texts[i]);
           if (i != 2) put_uint_if_changed(d, rec, "rank", i < 2 ? 2 : i);
         }
         (void)d.put(*get_map(d, recents, recent_search_key("i")), "rank", ScalarValue::int64(-1));
       },
       [](const MapModel& m) {
         EXPECT_EQ(m.recents, (std::vector<std::string>{"a", "b", "c", "d", "e", "f", "g", "h", "i", "z"}));
       }},
  };
  for (const LoaderCase& c : cases) {
    SCOPED_TRACE(c.name);
    AutoCommit doc;
    c.setup(doc, testing::root_of(doc));
    auto loaded = load_map_model(doc);
    ASSERT_TRUE(loaded);
    c.check(*loaded);
  }
}

const std::string kOlderModel =
    R"({"places":[{"id":"old","name":"Old place","category":"Park","address":"","pos":{"lat":1,"lon":2},"saved":true}],)"
    R"("recents":["older search"],"transit":[],"transit_choice":0,"panel":"Explore","mode":"Bike",)"
    R"("query":"","results":[],"origin":null,"origin_name":"Start","center":{"lat":1,"lon":2},"zoom":12,)"
    R"("status":"","selected":"old"})";

void put_older(AutoCommit& doc, const std::string& json, bool as_text_object = true) {
  if (!as_text_object) {
    ASSERT_TRUE(doc.put(automerge::ROOT, kOlderRootKey, ScalarValue::str(json)));
    return;
  }
  auto text = doc.put_object(automerge::ROOT, kOlderRootKey, ObjType::Text);
  ASSERT_TRUE(text);
  ASSERT_TRUE(doc.splice_text(*text, 0, 0, json));
}

TEST(OlderEntry, ReadOnlyAsATextObjectAndOnlyWithoutMapsV2) {
  {
    AutoCommit doc;
    put_older(doc, kOlderModel);
    auto m = load_map_model(doc);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->places.at(0).id, "old");
    EXPECT_EQ(m->selected, "old");  // taken whole
    EXPECT_EQ(m->mode, TravelMode::Bike);
  }
  {
    AutoCommit doc;
    put_older(doc, kOlderModel, false);
    EXPECT_EQ(load_map_model(doc), std::nullopt);
  }
  {
    AutoCommit doc;
    put_older(doc, "{\"places\":");
    EXPECT_EQ(load_map_model(doc), std::nullopt);
  }
  {
    AutoCommit doc;
    put_older(doc, kOlderModel);
    (void)maps_root(doc);
    EXPECT_EQ(load_map_model(doc), default_map_model());
  }
}

TEST(OlderEntry, CarriedIntoMapsV2BeforeTheFirstAction) {
  AutoCommit doc;
  put_older(doc, kOlderModel);
  EXPECT_TRUE(carry_older_model(doc));
  EXPECT_FALSE(carry_older_model(doc));
  maps_action_apply({MapsAction::CommitSearch{"new search"}}, doc);
  auto m = load_map_model(doc);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->places, std::vector<Place>{(Place{"old", "Old place", Category::Park, "", {1, 2}, true})});
  EXPECT_EQ(m->recents, (std::vector<std::string>{"new search", "older search"}));
  EXPECT_EQ(m->mode, TravelMode::Bike);
  EXPECT_EQ(m->origin_name, "Start");
  // The older entry is left as it was; nothing writes it.
  EXPECT_EQ(read_text(doc, automerge::ROOT, kOlderRootKey), kOlderModel);
}

TEST(Hydration, CopiesExactlyThePersistedFields) {
  AutoCommit doc;
  MapModel stored = testing::model_with_everything();
  save_map_model(doc, stored);
  MapModel state;
  state.selected = "keep";
  state.transit_choice = 4;
  state.panel = Panel::Directions;
  state.query = "q";
  state.origin_query = "oq";
  state.dest_query = "dq";
  state.results = {place("r", "R")};
  state.center = {1, 2};
  state.zoom = 3;
  state.status = "busy";
  MapModel expected = testing::persisted_part(stored);
  expected.selected = state.selected;
  expected.transit_choice = 4;
  expected.panel = Panel::Directions;
  expected.query = "q";
  expected.origin_query = "oq";
  expected.dest_query = "dq";
  expected.results = state.results;
  expected.center = {1, 2};
  expected.zoom = 3;
  expected.status = "busy";
  ASSERT_TRUE(hydrate_state(doc, state));
  EXPECT_EQ(state, expected);

  AutoCommit empty;
  MapModel untouched = state;
  EXPECT_FALSE(hydrate_state(empty, untouched));
  EXPECT_EQ(untouched, state);
}

}  // namespace
}  // namespace maps::doc
