// The window's interface actions by kind and id, the asynchronous locate, and the resources the
// window adds on top of the document's tree.

#include "action_surface/ui_actions.hpp"

#include <gtest/gtest.h>

#include <fmt/format.h>

#include "../offline_panel/panel_fixture.hpp"
#include "action_surface/surface_resources.hpp"
#include "app/action_surface_view.hpp"
#include "doc/readers.hpp"
#include "model/place_ops.hpp"
#include "resource_rows.hpp"
#include "sample/sample_data.hpp"
#include "transitions/commit.hpp"

namespace maps {
using zarn_actions::resource::ActionKind;
namespace {

using namespace maps::testing;
using zarn_ui::ui_action::ActionOutcome;
using zarn_ui::ui_action::AsyncResult;
using zarn_ui::ui_action::BeginOutcome;
using zarn_ui::ui_action::RequestId;
namespace zr = zarn_actions::resource;

TEST(UiActions, KindAndIdDecideWhatRuns) {
  struct Case {
    ActionKind kind;
    std::string id;
    std::string argument;
    ActionOutcome want;
  };
  const std::string parser_error = "invalid type: integer `42`, expected a string";
  const std::vector<Case> cases = {
      {ActionKind::Command, "maps.search", R"("museum")", ActionOutcome::not_handled()},
      {ActionKind::Command, "maps.locate", "", ActionOutcome::not_handled()},
      {ActionKind::Device, "maps.search", R"("museum")", ActionOutcome::not_handled()},
      {ActionKind::Interface, "maps.locate", "", ActionOutcome::not_handled()},
      {ActionKind::Interface, "maps.unknown", R"("x")", ActionOutcome::not_handled()},
      {ActionKind::Interface, "maps.search", R"("museum")", ActionOutcome::performed()},
      {ActionKind::Interface, "maps.toggle-traffic", "", ActionOutcome::performed()},
      {ActionKind::Interface, "maps.open-place", R"("hofgarten")", ActionOutcome::performed()},
      {ActionKind::Interface, "maps.open-place", R"("gone")",
       ActionOutcome::failed("Map place is no longer available")},
      {ActionKind::Interface, "maps.open-place", "42", ActionOutcome::failed(parser_error)},
      {ActionKind::Interface, "maps.directions", R"("stadtmuseum")", ActionOutcome::performed()},
      {ActionKind::Interface, "maps.open-poi", R"("osm-node-203")", ActionOutcome::performed()},
      {ActionKind::Interface, "maps.open-poi", R"("nope")",
       ActionOutcome::failed("Map point of interest is no longer in this viewport")},
      {ActionKind::Interface, "maps.directions-poi", R"("osm-node-203")", ActionOutcome::performed()},
      {ActionKind::Interface, "maps.search", "not json", ActionOutcome::failed("expected ident")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(fmt::format("{} {} {}", static_cast<int>(c.kind), c.id, c.argument));
    PanelFixture f;
    f.app->backend.view_pois.pois = sample_pois();
    EXPECT_EQ(perform_ui_action(f.app->session(), f.state, c.kind, c.id, c.argument), c.want);
  }
}

TEST(UiActions, EffectsOfTheActions) {
  PanelFixture f;
  f.app->backend.view_pois.pois = sample_pois();
  const bool traffic = f.app->backend.traffic.enabled;
  perform_ui_action(f.app->session(), f.state, ActionKind::Interface, "maps.toggle-traffic", "");
  EXPECT_NE(f.app->backend.traffic.enabled, traffic);

  perform_ui_action(f.app->session(), f.state, ActionKind::Interface, "maps.search", R"("  Hofgarten ")");
  EXPECT_EQ(f.app->model.query, "  Hofgarten ");
  // The recent search is in the document: the next change of it keeps the entry.
  EXPECT_EQ(f.app->model.recents.front(), "Hofgarten");
  ASSERT_TRUE(doc::load_map_model(f.state.doc()).has_value());
  EXPECT_EQ(doc::load_map_model(f.state.doc())->recents.front(), "Hofgarten");
  commit_action(f.app->model, f.app->transient, f.app->commits, f.state,
                MapsAction{MapsAction::SetTravelMode{TravelMode::Foot}});
  EXPECT_EQ(f.app->model.recents.front(), "Hofgarten");

  perform_ui_action(f.app->session(), f.state, ActionKind::Interface, "maps.open-place", R"("hofgarten")");
  EXPECT_EQ(f.app->model.selected, std::optional<std::string>("hofgarten"));
  perform_ui_action(f.app->session(), f.state, ActionKind::Interface, "maps.directions", R"("stadtmuseum")");
  EXPECT_EQ(f.app->model.selected, std::optional<std::string>("stadtmuseum"));
  EXPECT_EQ(f.app->model.panel, Panel::Directions);

  perform_ui_action(f.app->session(), f.state, ActionKind::Interface, "maps.open-poi", R"("osm-node-203")");
  EXPECT_EQ(f.app->selected_poi, std::optional<std::string>("osm-node-203"));

  EXPECT_EQ(perform_ui_action(f.app->session(), f.state, ActionKind::Device, "maps.locate", ""),
            ActionOutcome::performed());
  EXPECT_TRUE(f.app->backend.location.pending);
  auto [tx, rx] = base::channel<LocationOutcome>();
  f.app->backend.location.receiver = std::move(rx);
  EXPECT_EQ(perform_ui_action(f.app->session(), f.state, ActionKind::Device, "maps.locate", ""),
            ActionOutcome::failed("A location request is already in progress"));
}

TEST(UiActions, AsynchronousLocateAnswersOnceForItsOwnRequest) {
  const RequestId first = {1}, other = {2};
  PanelFixture offline;
  EXPECT_EQ(begin_ui_action(offline.app->action_surface, offline.app->session(), offline.state, first,
                            ActionKind::Device, "maps.locate", ""),
            BeginOutcome::refused("The location service is unavailable in this session"));

  PanelFixture f(PanelFixture::live_sample());
  // A location request the window already asked for: no second portal request is started here.
  f.app->backend.location.pending = true;
  EXPECT_EQ(
      begin_ui_action(f.app->action_surface, f.app->session(), f.state, first, ActionKind::Device, "maps.locate", ""),
      BeginOutcome::started());
  EXPECT_EQ(
      begin_ui_action(f.app->action_surface, f.app->session(), f.state, other, ActionKind::Device, "maps.locate", ""),
      BeginOutcome::refused("A location request is already in progress"));
  EXPECT_EQ(f.app->action_surface.take_result(first), std::nullopt);  // nothing yet
  f.app->action_surface.locate_succeeded();
  EXPECT_EQ(f.app->action_surface.take_result(other), std::nullopt);
  EXPECT_TRUE(f.app->action_surface.locate_pending());
  EXPECT_EQ(f.app->action_surface.take_result(first), std::optional(AsyncResult::success(first)));
  EXPECT_EQ(f.app->action_surface.take_result(first), std::nullopt);
  EXPECT_FALSE(f.app->action_surface.locate_pending());

  // Other actions answer at once.
  EXPECT_EQ(begin_ui_action(f.app->action_surface, f.app->session(), f.state, other, ActionKind::Interface,
                            "maps.toggle-traffic", ""),
            BeginOutcome::completed({}));
  EXPECT_EQ(begin_ui_action(f.app->action_surface, f.app->session(), f.state, other, ActionKind::Interface,
                            "maps.open-place", R"("gone")"),
            BeginOutcome::refused("Map place is no longer available"));
  EXPECT_EQ(begin_ui_action(f.app->action_surface, f.app->session(), f.state, other, ActionKind::Command,
                            "maps.open-place", R"("gone")"),
            BeginOutcome::not_handled());
}

TEST(SurfaceResources, InterfaceActionsOnTopOfTheDocumentsTree) {
  PanelFixture f;
  f.app->backend.view_pois.pois = sample_pois();
  const auto roots = surface_resources(resource_inputs(*f.app), f.state);
  ASSERT_EQ(roots.size(), 1u);
  const zr::Resource& w = roots[0];
  std::vector<std::string> ids;
  for (const auto& a : w.actions) ids.push_back(a.id);
  EXPECT_EQ(ids, (std::vector<std::string>{"search", "clear-search-history", "locate", "toggle-traffic"}));
  const zr::ActionSpec* locate = w.find_action("locate");
  EXPECT_EQ(locate->kind, ActionKind::Device);
  EXPECT_EQ(locate->invoke({}).error().code, "location_service_offline");
  EXPECT_EQ(w.find_action("toggle-traffic")->label, "Show traffic");

  const zr::Resource* saved = w.find("maps.place:hofgarten");
  ASSERT_NE(saved, nullptr);
  ids.clear();
  for (const auto& a : saved->actions) ids.push_back(a.id);
  EXPECT_EQ(ids, (std::vector<std::string>{"directions", "open", "unsave"}));
  const auto open = saved->find_action("open")->invoke({});
  EXPECT_EQ(open.value().type_name, "maps.open-place");
  EXPECT_EQ(open.value().payload_text(), R"("hofgarten")");

  const zr::Resource* poi = w.find("maps.poi:osm-node-203");
  ASSERT_NE(poi, nullptr);
  ASSERT_EQ(poi->actions.size(), 2u);
  EXPECT_EQ(poi->actions[1].invoke({}).value().type_name, "maps.directions-poi");
  const zr::Resource* result = w.find("maps.search-result:stadtmuseum");
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->actions.size(), 1u);
  EXPECT_EQ(result->actions[0].id, "directions");
}

TEST(SurfaceResources, CapsFallbackRootPagesAndLookups) {
  PanelFixture f(new_empty_app());
  zarn_ui::state::State empty_doc;  // holds no model
  EXPECT_EQ(resource_rows(surface_resources(resource_inputs(*f.app), empty_doc)),
            (std::vector<std::string>{"maps.workspace | maps.workspace | Maps | locate toggle-traffic"}));
  for (int i = 0; i < 20; ++i) {
    f.app->model.results.push_back(
        new_place(fmt::format("r{}", i), fmt::format("Result {}", i), Category::Cafe, "", {48.1, 11.5}));
  }
  const auto roots = surface_resources(resource_inputs(*f.app), f.state);
  std::size_t results = 0;
  for (const auto& c : roots[0].children) results += c.kind == "maps.search-result";
  EXPECT_EQ(results, 12u);

  EXPECT_EQ(query_surface_resources(resource_inputs(*f.app), {"", std::nullopt, 10}, f.state).items.size(), 1u);
  const auto later = query_surface_resources(resource_inputs(*f.app), {"", std::string("next"), 10}, f.state);
  EXPECT_TRUE(later.items.empty());
  EXPECT_TRUE(later.complete);
  EXPECT_TRUE(later.continuation.empty());
  EXPECT_TRUE(query_surface_resources(resource_inputs(*f.app), {"", std::nullopt, 0}, f.state).items.empty());

  // The 15th result is not listed but resolves; it has no place in the model, so no directions.
  const auto r15 = surface_resource(resource_inputs(*f.app), "maps.search-result:r15", f.state);
  ASSERT_TRUE(r15.has_value());
  EXPECT_EQ(r15->title, "Result 15");
  EXPECT_TRUE(r15->actions.empty());
  EXPECT_EQ(surface_resource(resource_inputs(*f.app), "maps.search-result:nope", f.state), std::nullopt);
  EXPECT_EQ(surface_resource(resource_inputs(*f.app), "maps.poi:osm-node-203", f.state), std::nullopt);
  f.app->backend.view_pois.pois = sample_pois();
  EXPECT_EQ(surface_resource(resource_inputs(*f.app), "maps.poi:osm-node-203", f.state)->actions.size(), 2u);
  EXPECT_EQ(surface_resource(resource_inputs(*f.app), "maps.workspace", empty_doc)->actions.size(), 2u);
}

}  // namespace
}  // namespace maps
