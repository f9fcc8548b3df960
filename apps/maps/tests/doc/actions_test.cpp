#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "doc/action_path.hpp"
#include "doc/readers.hpp"
#include "doc/writers.hpp"
#include "doc_fixtures.hpp"
#include "zarn_actions/registry.hpp"
#include "zarn_ui/action_host.hpp"

namespace maps::doc {
namespace {

using automerge::AutoCommit;
using testing::journey;
using testing::place;
using testing::region;
using testing::route;

struct ActionCase {
  const char* name;
  MapsAction action;
  // Checks the document after the action, on the raw records and on the loaded model.
  std::function<void(AutoCommit& doc, const MapModel& loaded)> check;
};

MapModel seed_model() {
  MapModel m = testing::model_with_everything();
  m.mode = TravelMode::Transit;
  return m;
}

std::vector<ActionCase> action_cases() {
  ActivePlan::Route plan_route{route(TravelMode::Bike), LatLon{1, 2}, "From", LatLon{3, 4}, "To", TravelMode::Bike};
  return {
      {"UpsertPlaces", MapsAction{MapsAction::UpsertPlaces{{place("c", "Gamma"), place("a", "Alpha renamed")}}},
       [](AutoCommit&, const MapModel& m) {
         ASSERT_EQ(m.places.size(), 3u);
         EXPECT_EQ(m.places[0].name, "Alpha renamed");
         EXPECT_TRUE(m.places[0].saved);  // a search does not un-save
         EXPECT_EQ(m.places[2].id, "c");
       }},
      {"SetPlaceSaved", MapsAction{MapsAction::SetPlaceSaved{"b", true}},
       [](AutoCommit&, const MapModel& m) { EXPECT_TRUE(m.places[1].saved); }},
      {"CommitSearch", MapsAction{MapsAction::CommitSearch{"  Cafe "}},
       [](AutoCommit&, const MapModel& m) {
         EXPECT_EQ(m.recents, (std::vector<std::string>{"Cafe", "museum"}));
       }},
      {"ClearRecents", MapsAction{MapsAction::ClearRecents{}},
       [](AutoCommit&, const MapModel& m) { EXPECT_TRUE(m.recents.empty()); }},
      {"SetTravelMode", MapsAction{MapsAction::SetTravelMode{TravelMode::Foot}},
       [](AutoCommit& doc, const MapModel& m) {
         EXPECT_EQ(m.mode, TravelMode::Foot);
         EXPECT_EQ(read_text(doc, testing::root_of(doc), kMode), "foot");
       }},
      {"SetTransitTime", MapsAction{MapsAction::SetTransitTime{{TransitTimeMode::Depart, -30}}},
       [](AutoCommit& doc, const MapModel& m) {
         EXPECT_EQ(m.transit_time, (TransitTime{TransitTimeMode::Depart, -30}));
         EXPECT_EQ(read_text(doc, testing::root_of(doc), kTransitTimeMode), "arrive");  // overridden, not rewritten
       }},
      {"ClearRoute", MapsAction{MapsAction::ClearRoute{}},
       [](AutoCommit& doc, const MapModel& m) {
         EXPECT_EQ(m.route, std::nullopt);
         EXPECT_TRUE(get_map(doc, testing::root_of(doc), kRoute).has_value());  // the structured map stays
       }},
      {"SetRoute",
       MapsAction{
           MapsAction::SetRoute{plan_route.route, plan_route.origin, "From", plan_route.dest, "To", TravelMode::Bike}},
       [](AutoCommit&, const MapModel& m) {
         EXPECT_EQ(m.mode, TravelMode::Bike);
         EXPECT_EQ(m.route, route(TravelMode::Bike));
         EXPECT_EQ(m.origin, (LatLon{1, 2}));
         EXPECT_EQ(m.origin_name, "From");
         EXPECT_EQ(m.dest_name, "To");
       }},
      {"SetTransit",
       MapsAction{MapsAction::SetTransit{{journey("10:00")}, std::nullopt, "Here", LatLon{5, 6}, "There"}},
       [](AutoCommit&, const MapModel& m) {
         EXPECT_EQ(m.mode, TravelMode::Transit);
         EXPECT_EQ(m.transit, std::vector<TransitJourney>{journey("10:00")});
         EXPECT_EQ(m.origin, std::nullopt);
         EXPECT_EQ(m.origin_name, "Here");
         EXPECT_EQ(m.dest, (LatLon{5, 6}));
       }},
      {"ClearTransit", MapsAction{MapsAction::ClearTransit{}},
       [](AutoCommit&, const MapModel& m) { EXPECT_TRUE(m.transit.empty()); }},
      {"AddRegion", MapsAction{MapsAction::AddRegion{region("r0", "North")}},
       [](AutoCommit&, const MapModel& m) {
         ASSERT_EQ(m.regions.size(), 3u);
         EXPECT_EQ(m.regions[0], region("r0", "North"));
       }},
      {"DeleteRegion", MapsAction{MapsAction::DeleteRegion{"r1"}},
       [](AutoCommit&, const MapModel& m) {
         ASSERT_EQ(m.regions.size(), 1u);
         EXPECT_EQ(m.regions[0].id, "r2");
       }},
      {"ClearRegions", MapsAction{MapsAction::ClearRegions{}},
       [](AutoCommit&, const MapModel& m) { EXPECT_TRUE(m.regions.empty()); }},
  };
}

TEST(MapsActionRoundTrip, EveryActionTravelsThroughTheRegistryIntoTheDocument) {
  const auto cases = action_cases();
  ASSERT_EQ(cases.size(), kMapsActionNames.size());
  zarn_actions::ActionRegistry registry;
  register_maps_action(registry);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const ActionCase& c = cases[i];
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.action.value.index(), i);
    AutoCommit doc;
    save_map_model(doc, seed_model());

    auto encoded = encode_action_payload(kMapsActionType, c.action);
    ASSERT_TRUE(encoded.is_ok());
    EXPECT_EQ(encoded->type_name, "maps.action");
    auto decoded = registry.decode(encoded.value());
    ASSERT_TRUE(decoded.is_ok()) << decoded.error().message;
    const auto* object = dynamic_cast<const MapsActionObject*>(decoded.value().get());
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->action(), c.action);
    EXPECT_FALSE(object->is_read_only());

    zarn_ui::action_host::ActionHost host;
    auto status =
        host.dispatch_typed_action(doc, *object, encoded, action_context_for(kMapsAppId, kMapsAppName, c.action));
    ASSERT_TRUE(status.is_ok()) << status.error().message;

    auto loaded = load_map_model(doc);
    ASSERT_TRUE(loaded);
    c.check(doc, *loaded);

    // The document's content survives a save and load.
    auto bytes = doc.save();
    auto reloaded = AutoCommit::load(bytes);
    ASSERT_TRUE(reloaded);
    EXPECT_EQ(load_map_model(*reloaded), loaded);
  }
}

TEST(MapsActionRoundTrip, ActionsOnADocumentWithoutAModel) {
  struct Case {
    MapsAction action;
    bool creates_root;
  };
  const Case cases[] = {
      {MapsAction{MapsAction::CommitSearch{" \t "}}, false},
      {MapsAction{MapsAction::SetPlaceSaved{"nowhere", true}}, true},
      {MapsAction{MapsAction::DeleteRegion{"nowhere"}}, true},
      {MapsAction{MapsAction::ClearRegions{}}, true},
  };
  for (const Case& c : cases) {
    AutoCommit doc;
    maps_action_apply(c.action, doc);
    EXPECT_EQ(holds_model_map(doc), c.creates_root) << action_name(c.action);
    if (c.creates_root) {
      auto loaded = load_map_model(doc);
      ASSERT_TRUE(loaded);
      EXPECT_TRUE(loaded->places.empty());
      EXPECT_TRUE(loaded->regions.empty());
    } else {
      EXPECT_TRUE(doc.keys(automerge::ROOT).empty());
    }
  }
}

}  // namespace
}  // namespace maps::doc
