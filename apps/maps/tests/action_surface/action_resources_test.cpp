// The resource tree built from the document: the sample and "--offline" trees, every action's
// encoded result and contract, and the caps and titles at their edges.

#include "action_surface/action_resources.hpp"

#include <gtest/gtest.h>

#include <fmt/format.h>

#include "../offline_panel/panel_fixture.hpp"
#include "action_surface/action_encoding.hpp"
#include "app/startup.hpp"
#include "doc/writers.hpp"
#include "model/json_codec.hpp"
#include "model/place_ops.hpp"
#include "resource_rows.hpp"
#include "transitions/commit.hpp"

namespace maps {
using zarn_actions::resource::ActionKind;
namespace {

using namespace maps::testing;
namespace zr = zarn_actions::resource;

const std::vector<std::string> kHistoryRows = {
    "  maps.search-history:Marienplatz | maps.search-history | Marienplatz | search-again",
    "  maps.search-history:coffee near me | maps.search-history | coffee near me | search-again",
    "  maps.search-history:Hauptbahnhof | maps.search-history | Hauptbahnhof | search-again",
    "  maps.place:cafe-glueck | maps.place | Caf\u00e9 Gl\u00fcck | unsave",
    "  maps.place:hofgarten | maps.place | Hofgarten | unsave",
};
const std::string kPlanRow =
    "  maps.plan-settings | maps.plan-settings | Route planning settings | travel-mode-drive travel-mode-transit "
    "travel-mode-cycle travel-mode-walk travel-time-earlier travel-time-now travel-time-later";

std::vector<std::string> joined(std::vector<std::vector<std::string>> parts) {
  std::vector<std::string> out;
  for (auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

TEST(ActionResources, TreesOfTheSampleAndTheOfflineStates) {
  PanelFixture sample;
  EXPECT_EQ(resource_rows(app_action_resources(sample.state.doc())),
            joined({{"maps.workspace | maps.workspace | Maps | search clear-search-history"},
                    kHistoryRows,
                    {"  maps.route:active | maps.route | Route to Marienplatz | clear",
                     "  maps.transit:active | maps.transit | 3 transit option(s) | clear", kPlanRow}}));

  auto app = new_sample_app();
  apply_launch_offline(*app);
  PanelFixture offline(std::move(app));
  EXPECT_EQ(
      resource_rows(app_action_resources(offline.state.doc())),
      joined({{"maps.workspace | maps.workspace | Maps | clear-regions search clear-search-history"},
              kHistoryRows,
              {"  maps.transit:active | maps.transit | 3 transit option(s) | clear",
               "  maps.region:region-demo-1 | maps.region | M\u00fcnchen Altstadt \u00b7 z13\u201316 | delete",
               "  maps.region:region-demo-2 | maps.region | Hauptbahnhof \u00b7 z14\u201317 | delete", kPlanRow}}));
}

TEST(ActionResources, EveryActionProducesItsPayloadUnderItsContract) {
  auto app = new_sample_app();
  apply_launch_offline(*app);
  PanelFixture f(std::move(app));
  commit_action(
      f.app->model, f.app->transient, f.app->commits, f.state,
      MapsAction{MapsAction::SetRoute{Route{}, std::nullopt, "", std::nullopt, "Marienplatz", TravelMode::Car}});
  commit_action(f.app->model, f.app->transient, f.app->commits, f.state,
                MapsAction{MapsAction::SetTransitTime{{TransitTimeMode::Arrive, 30}}});

  struct Case {
    std::string resource;
    std::string action;
    std::string label;
    std::string type;
    std::string payload;
    ActionKind kind;
    bool destructive;
  };
  const std::vector<Case> cases = {
      {"maps.workspace", "clear-regions", "Clear offline areas", "maps.action", R"("ClearRegions")",
       ActionKind::Command, true},
      {"maps.workspace", "clear-search-history", "Clear search history", "maps.action", R"("ClearRecents")",
       ActionKind::Command, false},
      {"maps.search-history:coffee near me", "search-again", "Search again", "maps.search", R"("coffee near me")",
       ActionKind::Interface, false},
      {"maps.place:hofgarten", "unsave", "Remove from saved", "maps.action",
       R"({"SetPlaceSaved":{"id":"hofgarten","saved":false}})", ActionKind::Command, false},
      {"maps.route:active", "clear", "Clear route", "maps.action", R"("ClearRoute")", ActionKind::Command, false},
      {"maps.transit:active", "clear", "Clear transit options", "maps.action", R"("ClearTransit")", ActionKind::Command,
       false},
      {"maps.region:region-demo-2", "delete", "Delete region", "maps.action",
       R"({"DeleteRegion":{"id":"region-demo-2"}})", ActionKind::Command, true},
      {"maps.plan-settings", "travel-mode-drive", "Travel by Drive", "maps.action",
       R"({"SetTravelMode":{"mode":"Car"}})", ActionKind::Command, false},
      {"maps.plan-settings", "travel-mode-transit", "Travel by Transit", "maps.action",
       R"({"SetTravelMode":{"mode":"Transit"}})", ActionKind::Command, false},
      {"maps.plan-settings", "travel-mode-cycle", "Travel by Cycle", "maps.action",
       R"({"SetTravelMode":{"mode":"Bike"}})", ActionKind::Command, false},
      {"maps.plan-settings", "travel-mode-walk", "Travel by Walk", "maps.action",
       R"({"SetTravelMode":{"mode":"Foot"}})", ActionKind::Command, false},
      {"maps.plan-settings", "travel-time-earlier", "Plan 15 minutes earlier", "maps.action",
       R"({"SetTransitTime":{"value":{"mode":"Arrive","offset_min":15}}})", ActionKind::Command, false},
      {"maps.plan-settings", "travel-time-now", "Leave now", "maps.action",
       R"({"SetTransitTime":{"value":{"mode":"Depart","offset_min":0}}})", ActionKind::Command, false},
      {"maps.plan-settings", "travel-time-later", "Plan 15 minutes later", "maps.action",
       R"({"SetTransitTime":{"value":{"mode":"Arrive","offset_min":45}}})", ActionKind::Command, false},
  };
  const auto roots = app_action_resources(f.state.doc());
  ASSERT_EQ(roots.size(), 1u);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.resource + " / " + c.action);
    const zr::Resource* r = roots[0].find(c.resource);
    ASSERT_NE(r, nullptr);
    const zr::ActionSpec* spec = r->find_action(c.action);
    ASSERT_NE(spec, nullptr);
    EXPECT_EQ(spec->label, c.label);
    EXPECT_EQ(spec->kind, c.kind);
    const auto encoded = spec->invoke({});
    ASSERT_TRUE(encoded.is_ok()) << encoded.error().message;
    EXPECT_EQ(encoded.value().type_name, c.type);
    EXPECT_EQ(encoded.value().payload_text(), c.payload);
    ASSERT_TRUE(spec->contract.has_value());
    if (c.type == "maps.action") {
      EXPECT_EQ(spec->contract->input_type, std::optional<std::string>("maps.action"));
      EXPECT_EQ(spec->contract->scopes, (std::vector<std::string>{"maps", "workspace"}));
      EXPECT_EQ(spec->contract->effect == zr::Effect::Destructive, c.destructive);
      EXPECT_EQ(spec->contract->confirmation == zr::Confirmation::Required, c.destructive);
    } else {
      EXPECT_EQ(spec->contract->input_type, std::nullopt);
      EXPECT_TRUE(spec->contract->scopes.empty());
    }
    // The decoder takes back every "maps.action" payload.
    if (c.type == "maps.action") {
      EXPECT_TRUE(deserialize_maps_action_slice(c.payload).is_ok());
    }
  }
}

TEST(ActionResources, SearchTrimsItsArgumentAndCarriesNoContract) {
  const zr::Resource w = workspace_resource(default_map_model());
  const zr::ActionSpec* search = w.find_action("search");
  ASSERT_NE(search, nullptr);
  EXPECT_EQ(search->label, "Search maps");
  EXPECT_EQ(search->kind, ActionKind::Interface);
  EXPECT_FALSE(search->contract.has_value());
  ASSERT_EQ(search->params.size(), 1u);
  EXPECT_EQ(search->params[0].name, "value");
  EXPECT_EQ(search->params[0].placeholder, "Place, address, or category");
  EXPECT_EQ(search->params[0].example, "e.g. museum near me");
  struct Case {
    zr::ActionArgs args;
    std::string payload;
  } cases[] = {{zr::ActionArgs().set("value", std::string("  museum \t")), R"("museum")"},
               {zr::ActionArgs(), R"("")"},
               {zr::ActionArgs().set("value", std::int64_t{3}), R"("")"},
               {zr::ActionArgs().set("value", std::string("say \"hi\"")), R"("say \"hi\"")"}};
  for (const Case& c : cases) {
    const auto encoded = search->invoke(c.args);
    ASSERT_TRUE(encoded.is_ok());
    EXPECT_EQ(encoded.value().type_name, "maps.search");
    EXPECT_EQ(encoded.value().payload_text(), c.payload);
  }
  // Held to another operation type, the search is refused.
  EXPECT_TRUE(search_action_check("x", "maps.action").is_err());
}

TEST(ActionResources, CapsTitlesAndLookups) {
  PanelFixture f(new_empty_app());
  MapModel m = default_map_model();
  for (int i = 0; i < 15; ++i) m.recents.push_back(fmt::format("q{}", i));
  for (int i = 0; i < 14; ++i) {
    Place p = new_place(fmt::format("p{:02}", i), fmt::format("Place {}", i), Category::Cafe, "", {48.1, 11.5});
    p.saved = i != 13;
    m.places.push_back(p);
  }
  m.route = Route{};
  m.dest_name = " \t ";
  m.transit = {TransitJourney{}};
  m.regions = {{"r", "Altstadt", {48.1, 11.5}, {48.2, 11.6}, 12, 16, 9}};
  m.transit_time = {TransitTimeMode::Depart, 1430};
  automerge::AutoCommit doc;
  EXPECT_TRUE(app_action_resources(doc).empty());
  EXPECT_EQ(resolve_action_resource(doc, "maps.workspace"), std::nullopt);
  doc::save_map_model(doc, m);

  const auto roots = app_action_resources(doc);
  ASSERT_EQ(roots.size(), 1u);
  std::size_t history = 0, places = 0;
  for (const zr::Resource& c : roots[0].children) {
    history += c.kind == "maps.search-history";
    places += c.kind == "maps.place";
  }
  EXPECT_EQ(history, 12u);
  EXPECT_EQ(places, 12u);
  EXPECT_EQ(roots[0].find("maps.search-history:q13"), nullptr);
  EXPECT_TRUE(resolve_action_resource(doc, "maps.search-history:q13").has_value());
  EXPECT_EQ(roots[0].find("maps.place:p12"), nullptr);
  EXPECT_TRUE(resolve_action_resource(doc, "maps.place:p12").has_value());
  EXPECT_EQ(resolve_action_resource(doc, "maps.place:p13"), std::nullopt);  // not saved
  EXPECT_EQ(resolve_action_resource(doc, "maps.route:active")->title, "Active route");
  EXPECT_EQ(resolve_action_resource(doc, "maps.transit:active")->title, "1 transit option(s)");
  EXPECT_EQ(resolve_action_resource(doc, "maps.region:r")->title, "Altstadt \u00b7 z12\u201316");
  EXPECT_EQ(resolve_action_resource(doc, "maps.search"), std::nullopt);
  EXPECT_EQ(resolve_action_resource(doc, "maps.region:nope"), std::nullopt);

  struct Offset {
    std::int32_t now, earlier, later;
  } offsets[] = {{1430, 1415, 1440}, {5, 0, 20}, {0, 0, 15}};
  for (const Offset& o : offsets) {
    MapModel t = default_map_model();
    t.transit_time = {TransitTimeMode::Arrive, o.now};
    const zr::Resource plan = plan_settings_resource(t);
    EXPECT_EQ(plan.find_action("travel-time-earlier")->invoke({}).value().payload_text(),
              fmt::format(R"({{"SetTransitTime":{{"value":{{"mode":"Arrive","offset_min":{}}}}}}})", o.earlier));
    EXPECT_EQ(plan.find_action("travel-time-later")->invoke({}).value().payload_text(),
              fmt::format(R"({{"SetTransitTime":{{"value":{{"mode":"Arrive","offset_min":{}}}}}}})", o.later));
  }

  // Without regions and recents: neither the clear actions nor such children.
  const zr::Resource bare = workspace_resource(default_map_model());
  EXPECT_EQ(bare.find_action("clear-regions"), nullptr);
  EXPECT_EQ(bare.find_action("clear-search-history"), nullptr);
  ASSERT_EQ(bare.children.size(), 1u);
  EXPECT_EQ(bare.children[0].id, "maps.plan-settings");
}

}  // namespace
}  // namespace maps
