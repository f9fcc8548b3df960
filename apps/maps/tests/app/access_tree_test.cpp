// The accessibility tree: every control of the frame with its label, id and action, the entry of
// every kind of hit target, the narrow layout, child bounds and semantic actions.

#include "app/access_tree.hpp"

#include <gtest/gtest.h>

#include <set>
#include <span>

#include "../offline_panel/panel_fixture.hpp"
#include "draw_kit/layout_metrics.hpp"
#include "offline_panel/offline_entries.hpp"
#include "overlay/map_controls.hpp"
#include "sample/sample_data.hpp"

namespace maps {
namespace {

using namespace maps::testing;
namespace ax = zarn_ui::access;

struct NodeRow {
  std::string name;
  std::string id;
  ax::Role role;
  ax::SemanticAction action;
  bool checked;
  bool operator==(const NodeRow&) const = default;
};

std::vector<NodeRow> rows(const ax::AccessNode& root) {
  std::vector<NodeRow> out;
  for (const ax::AccessNode& c : root.children) {
    EXPECT_EQ(c.key, ax::node_key(c.id)) << c.id;
    EXPECT_GT(c.bounds.area(), 0.0) << c.id;
    out.push_back({c.name.value_or(""), c.id, c.role, c.action, c.has_flag(ax::flags::kChecked)});
  }
  return out;
}

TEST(AccessTree, SampleStateListsEveryControlWithItsLabelAndAction) {
  PanelFixture f;
  f.paint();
  const auto root = f.app->access_node();
  ASSERT_TRUE(root.has_value());
  EXPECT_EQ(root->name, std::optional<std::string>("Maps"));
  EXPECT_EQ(root->role, ax::Role::Window);
  const auto got = rows(*root);
  const auto A = ax::SemanticAction::Activate;
  const std::vector<NodeRow> controls = {
      {"Zoom in", "maps.control:zoom-in", ax::Role::Button, A, false},
      {"Zoom out", "maps.control:zoom-out", ax::Role::Button, A, false},
      {"Use my location", "maps.control:locate", ax::Role::Button, A, false},
      {"Traffic", "maps.control:traffic", ax::Role::ToggleButton, A, false},
  };
  ASSERT_GE(got.size(), controls.size());
  EXPECT_EQ(std::vector<NodeRow>(got.begin(), got.begin() + 4), controls);
  // Then every described area the frame painted, in paint order, each with its own label and id.
  std::vector<AccessEntry> painted;
  for (const HitTarget& t : f.app->hit_targets) {
    if (auto e = map_menu_entry(*f.app, t.message, t.rect); e && t.rect.area() > 0) painted.push_back(*e);
  }
  std::size_t i = 4;
  if (i < got.size() && got[i].id == "maps.navigation.end") ++i;
  // Then the route endpoint fields of the directions panel and their swap button.
  ASSERT_EQ(f.app->model.panel, Panel::Directions);
  const std::vector<NodeRow> endpoints = {
      {"Starting point", "maps.route.origin", ax::Role::TextField, ax::SemanticAction::Focus, false},
      {"Destination", "maps.route.destination", ax::Role::TextField, ax::SemanticAction::Focus, false},
      {"Swap start and destination", "maps.route.swap", ax::Role::Button, A, false},
  };
  ASSERT_EQ(got.size() - i, painted.size() + endpoints.size());
  for (const AccessEntry& e : painted) {
    EXPECT_EQ(got[i].name, e.label);
    EXPECT_EQ(got[i].id, e.id);
    EXPECT_NE(got[i].action, ax::SemanticAction::None);
    ++i;
  }
  EXPECT_EQ(std::vector<NodeRow>(got.begin() + static_cast<std::ptrdiff_t>(i), got.end()), endpoints);
  // The semantic bindings follow the tree.
  EXPECT_EQ(f.app->semantic_bindings().size(), got.size());

  f.app->backend.traffic.enabled = true;
  EXPECT_TRUE(rows(*f.app->access_node())[3].checked);
}

TEST(AccessTree, EveryKindOfHitTargetIsDescribed) {
  PanelFixture f;
  f.app->backend.view_pois.pois = sample_pois();
  f.app->search_box.set_search_suggestions({f.app->model.places.front()});
  f.app->model.selected = "hofgarten";
  f.app->model.transit_time = {TransitTimeMode::Arrive, 0};
  f.app->model.transit_choice = 1;
  const zarn_ui::Rect r{10, 10, 50, 50};
  using S = SearchBoxEvent;
  struct Case {
    UiMessage message;
    std::optional<AccessEntry> want;
  };
  auto e = [&](std::string label, std::string id, std::optional<bool> on = std::nullopt) {
    return std::optional<AccessEntry>(AccessEntry{std::move(label), std::move(id), r, on});
  };
  const std::string first = f.app->model.places.front().id, first_name = f.app->model.places.front().name;
  const std::vector<Case> cases = {
      {{msg::Noop{}}, std::nullopt},
      {{msg::CloseNavigation{}}, std::nullopt},
      {{msg::SearchBox{{S::Other{}}}}, std::nullopt},
      {{msg::SearchBox{{S::Opened{}}}}, e("Search places", "maps.search")},
      {{msg::SearchBox{{S::Cleared{}}}}, e("Clear search", "maps.search.clear")},
      {{msg::SearchBox{{S::SuggestionChosen{0}}}}, e("Open " + first_name, "maps.search-result:" + first)},
      {{msg::SearchBox{{S::SuggestionChosen{4}}}}, e("Search result 5", "maps.search-result:4")},
      {{msg::TogglePanelCollapsed{}}, e("Collapse panel", "maps.panel-collapse")},
      {{msg::BackToPlaces{}}, e("Back to places", "maps.panel.back")},
      {{msg::ChooseTravelMode{TravelMode::Bike}}, e("Travel by Cycle", "maps.mode:cycle")},
      {{msg::OpenPlace{"hofgarten"}}, e("Open Hofgarten", "maps.place:hofgarten")},
      {{msg::OpenPlace{"gone"}}, std::nullopt},
      {{msg::OpenPoi{"osm-node-203"}}, e("Open Hofbr\u00e4uhaus", "maps.poi:osm-node-203")},
      {{msg::OpenPoi{"gone"}}, std::nullopt},
      {{msg::ClosePoi{}}, e("Close place details", "maps.poi.close")},
      {{msg::DirectionsToPoi{}}, e("Directions to this place", "maps.poi.directions")},
      {{msg::SearchAgain{"tea"}}, e("Search again for tea", "maps.recent:tea")},
      {{msg::ClearRecents{}}, e("Clear search history", "maps.recent.clear")},
      {{msg::ToggleNavigation{}}, e("Close map navigation", "maps.navigation")},
      {{msg::Directions{}}, e("Directions", "maps.directions")},
      {{msg::TransitDirections{}}, e("Transit", "maps.transit")},
      {{msg::ToggleSaved{}}, e("Save or unsave place", "maps.save", true)},
      {{msg::ClearRoute{}}, e("Clear route", "maps.route.clear")},
      {{msg::UseMyLocation{}}, e("Use my location", "maps.location")},
      {{msg::SetTransitTimeMode{TransitTimeMode::Arrive}}, e("Arrive by", "maps.transit-time:arrive", true)},
      {{msg::SetTransitTimeMode{TransitTimeMode::Depart}}, e("Leave at", "maps.transit-time:depart", false)},
      {{msg::ShiftTransitTime{-15}}, e("Earlier", "maps.transit-time:delta:-15")},
      {{msg::ShiftTransitTime{15}}, e("Later", "maps.transit-time:delta:15")},
      {{msg::LeaveNow{}}, e("Leave now", "maps.transit-time:now")},
      {{msg::ChooseJourney{0}}, e("Journey option 1", "maps.journey:0", false)},
      {{msg::ChooseJourney{1}}, e("Journey option 2", "maps.journey:1", true)},
      {{msg::ToggleOverflowMenu{}}, e("More map options", "maps.overflow")},
      {{msg::OpenAttribution{}},
       e("Map data \u00a9 OpenStreetMap contributors, tiles \u00a9 CARTO", "maps.attribution")},
      // The menu's entries are listed by the menu, never recorded as press areas.
      {{msg::OpenLicenses{}}, std::nullopt},
      {{msg::OpenOfflineMaps{}}, std::nullopt},
      {{msg::FloatNavigation{}}, std::nullopt},
      // The offline panel lists its own entries; its typing pause is no press area.
      {{msg::Offline{{OfflineCommand::Download{}}}}, std::nullopt},
      {{msg::AskAreaSearch{"M\u00fcn"}}, std::nullopt},
  };
  std::set<std::size_t> kinds;
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.message.kind()));
    kinds.insert(c.message.kind());
    const auto got = map_menu_entry(*f.app, c.message, r);
    EXPECT_EQ(got, c.want) << (got ? got->label + " " + got->id : "none");
  }
  EXPECT_EQ(kinds.size(), std::variant_size_v<decltype(UiMessage::value)>);
  // The wording that follows the state.
  f.app->panel.collapsed = true;
  f.app->panel.expanded = false;
  EXPECT_EQ(map_menu_entry(*f.app, {msg::TogglePanelCollapsed{}}, r)->label, "Expand panel");
  EXPECT_EQ(map_menu_entry(*f.app, {msg::ToggleNavigation{}}, r)->label, "Open map navigation");
}

TEST(AccessTree, NarrowLayoutWithThePanelOpenKeepsWhatIsOnThePanel) {
  PanelFixture f;
  f.app->bounds_rect = {0, 0, 700, 800};  // narrow, with the controls right of the panel
  f.app->panel.expanded = true;
  f.paint();
  const zarn_ui::Rect panel = side_panel_rect(f.app->bounds_rect);
  const zarn_ui::Rect off_panel{600, 700, 610, 710};
  ASSERT_FALSE(rect_contains_point(panel, off_panel.center().x, off_panel.center().y));
  // The menu button the overlay painted stays; what lies off the panel goes.
  f.app->hit_targets.push_back({off_panel, {msg::ClearRoute{}}});
  f.app->hit_targets.push_back({{panel.x0 + 4, panel.y0 + 4, panel.x0 + 40, panel.y0 + 40}, {msg::Directions{}}});
  // The area off the panel goes, except the navigation toggle; what the panel itself painted
  // stays, all of it on the panel.
  std::vector<std::string> ids;
  for (const AccessEntry& e : map_control_entries(*f.app)) {
    EXPECT_TRUE(e.id == "maps.navigation" || rect_contains_point(panel, e.rect.center().x, e.rect.center().y)) << e.id;
    EXPECT_FALSE(e.rect == off_panel && e.id == "maps.route.clear");
    ids.push_back(e.id);
  }
  EXPECT_NE(std::find(ids.begin(), ids.end(), "maps.navigation"), ids.end());
  EXPECT_NE(std::find(ids.begin(), ids.end(), "maps.directions"), ids.end());
}

TEST(AccessTree, ChildBoundsByAOneIndexPath) {
  PanelFixture f;
  f.paint();
  const auto controls = control_button_rects(f.app->bounds_rect);
  const std::size_t zero = 0, one = 1, far = 99;
  EXPECT_EQ(f.app->access_child_bounds(std::span(&one, 1)), std::optional(controls[1]));
  EXPECT_EQ(f.app->access_child_bounds(std::span(&far, 1)), std::nullopt);
  const std::size_t two[] = {0, 0};
  EXPECT_EQ(f.app->access_child_bounds(two), std::nullopt);
  f.event(key_text("m"));
  f.paint();
  const auto entries = offline_panel_entries(f.panel());
  EXPECT_EQ(f.app->access_child_bounds(std::span(&zero, 1)), std::optional(entries[0].rect));
  const auto root = f.app->access_node();
  EXPECT_EQ(root->name, std::optional<std::string>("Offline maps"));
  EXPECT_EQ(root->children.size(), entries.size());
  EXPECT_EQ(root->children[0].role, ax::Role::TextField);
}

TEST(AccessTree, SemanticActionsRunWhatTheEntryStandsFor) {
  PanelFixture f;
  f.paint();
  const double zoom = f.app->model.zoom;
  EXPECT_TRUE(f.app->perform_semantic_action("maps.control:zoom-in", ax::SemanticAction::Activate, f.state));
  EXPECT_DOUBLE_EQ(f.app->model.zoom, zoom + 1);
  EXPECT_TRUE(f.app->perform_semantic_action("maps.control:traffic", ax::SemanticAction::Activate, f.state));
  EXPECT_TRUE(f.app->backend.traffic.enabled);
  EXPECT_FALSE(f.app->perform_semantic_action("maps.control:zoom-in", ax::SemanticAction::Focus, f.state));
  EXPECT_FALSE(f.app->perform_semantic_action("maps.search", ax::SemanticAction::Activate, f.state));
  EXPECT_FALSE(f.app->perform_semantic_action("maps.nothing", ax::SemanticAction::Activate, f.state));
  // A hit target's entry runs its message.
  f.app->hit_targets.push_back({{10, 10, 50, 50}, {msg::ChooseTravelMode{TravelMode::Foot}}});
  EXPECT_TRUE(f.app->perform_semantic_action("maps.mode:walk", ax::SemanticAction::Activate, f.state));
  EXPECT_EQ(f.app->model.mode, TravelMode::Foot);
  EXPECT_TRUE(f.app->perform_semantic_action("maps.navigation.end", ax::SemanticAction::Activate, f.state));
  EXPECT_FALSE(f.app->model.route.has_value());

  // While the offline panel is open only its entries count, and only the primary activation.
  f.event(key_text("m"));
  f.paint();
  const std::uint8_t detail = f.panel().download_detail();
  EXPECT_FALSE(f.app->perform_semantic_action("maps.offline.zoom-in", ax::SemanticAction::ActivateSecondary, f.state));
  EXPECT_FALSE(f.app->perform_semantic_action("maps.offline.search", ax::SemanticAction::Activate, f.state));
  EXPECT_FALSE(f.app->perform_semantic_action("maps.control:zoom-in", ax::SemanticAction::Activate, f.state));
  EXPECT_TRUE(f.app->perform_semantic_action("maps.offline.zoom-in", ax::SemanticAction::Activate, f.state));
  EXPECT_EQ(f.panel().download_detail(), detail + 1);
  EXPECT_TRUE(f.app->perform_semantic_action("maps.offline.close", ax::SemanticAction::Activate, f.state));
  EXPECT_FALSE(f.panel().is_open());
}

TEST(AccessTree, EndpointFieldsAndTheirSuggestionsAct) {
  PanelFixture f;
  f.paint();
  EXPECT_TRUE(f.app->perform_semantic_action("maps.route.destination", ax::SemanticAction::Focus, f.state));
  EXPECT_EQ(f.app->endpoint_editor.active(), EndpointField::Destination);
  EXPECT_TRUE(f.app->endpoint_editor.input(EndpointField::Destination).focused);
  const Place target = f.app->model.places.at(2);
  f.app->endpoint_editor.set_endpoint_suggestions(EndpointField::Destination, {target});
  f.paint();
  const auto entries = map_control_entries(*f.app);
  const std::string id = "maps.route.destination:" + target.id;
  const auto row = std::find_if(entries.begin(), entries.end(), [&](const AccessEntry& e) { return e.id == id; });
  ASSERT_NE(row, entries.end());
  EXPECT_EQ(row->label, "Go to " + target.name);
  EXPECT_TRUE(f.app->perform_semantic_action(id, ax::SemanticAction::Activate, f.state));
  EXPECT_FALSE(f.app->endpoint_editor.editing());
  EXPECT_EQ(f.app->model.dest_name, target.name);

  f.paint();
  const auto origin = f.app->model.origin, dest = f.app->model.dest;
  ASSERT_TRUE(origin && dest);
  EXPECT_TRUE(f.app->perform_semantic_action("maps.route.swap", ax::SemanticAction::Activate, f.state));
  EXPECT_EQ(f.app->model.origin, dest);
  EXPECT_EQ(f.app->model.dest, origin);
}

TEST(AccessTree, TheOpenOverflowMenuListsItsEntries) {
  PanelFixture f;
  f.paint();
  ASSERT_TRUE(f.app->perform_semantic_action("maps.overflow", ax::SemanticAction::Activate, f.state));
  ASSERT_TRUE(f.app->overflow_menu.is_open());
  f.paint();
  std::vector<NodeRow> menu;
  for (const NodeRow& r : rows(*f.app->access_node())) {
    if (r.id.starts_with("maps.overflow:")) menu.push_back(r);
  }
  const auto A = ax::SemanticAction::Activate;
  const std::vector<NodeRow> want = {
      {"Attribution", "maps.overflow:attribution", ax::Role::Button, A, false},
      {"Offline maps", "maps.overflow:offline-maps", ax::Role::Button, A, false},
      {"Licenses", "maps.overflow:licenses", ax::Role::Button, A, false},
      {"Float navigation", "maps.overflow:float-navigation", ax::Role::Button, A, false},
  };
  EXPECT_EQ(menu, want);
  // Each row's bounds are where the menu draws it: the row takes a press there too.
  const auto entries = map_control_entries(*f.app);
  const auto licences = std::find_if(entries.begin(), entries.end(),
                                     [](const AccessEntry& e) { return e.id == "maps.overflow:licenses"; });
  ASSERT_NE(licences, entries.end());
  EXPECT_EQ(f.app->overflow_menu.item_rect(OverflowMenuItem::Licenses), licences->rect);

  EXPECT_TRUE(f.app->perform_semantic_action("maps.overflow:licenses", A, f.state));
  EXPECT_FALSE(f.app->overflow_menu.is_open());
  EXPECT_EQ(f.app->dialog.kind(), DialogKind::Licenses);
  f.paint();
  EXPECT_FALSE(f.app->perform_semantic_action("maps.overflow:attribution", A, f.state))
      << "the dialog now covers everything";
}

}  // namespace
}  // namespace maps
