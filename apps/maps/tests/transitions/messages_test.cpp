#include "transitions/messages.hpp"

#include <gtest/gtest.h>

#include <climits>

#include "app/ui_messages.hpp"
#include "app_input_fixture.hpp"
#include "geo/screen_view.hpp"
#include "model/place_ops.hpp"
#include "sample/demo_city.hpp"

namespace maps {
namespace {

using input_testing::AppFixture;

Poi make_poi(const std::string& id, LatLon pos) {
  Poi p;
  p.id = id;
  p.name = "Poi " + id;
  p.pos = pos;
  p.category = Category::Cafe;
  return p;
}

Place make_place(const std::string& id, LatLon pos, bool saved = false) {
  return Place{id, "Place " + id, Category::Museum, "Street 1", pos, saved};
}

TEST(UiMessages, DirectStateChanges) {
  struct Case {
    const char* name;
    UiMessage message;
    void (*check)(const MapsApp&);
  } cases[] = {
      {"collapse", {msg::TogglePanelCollapsed{}}, [](const MapsApp& a) { EXPECT_TRUE(a.panel.collapsed); }},
      {"back to places",
       {msg::BackToPlaces{}},
       [](const MapsApp& a) {
         EXPECT_EQ(a.model.panel, Panel::Explore);
         EXPECT_EQ(a.side_panel.scroll(), 0.0);
         EXPECT_EQ(a.endpoint_editor.active(), EndpointField::None);
       }},
      {"toggle navigation", {msg::ToggleNavigation{}}, [](const MapsApp& a) { EXPECT_FALSE(a.panel.expanded); }},
      {"close navigation", {msg::CloseNavigation{}}, [](const MapsApp& a) { EXPECT_FALSE(a.panel.expanded); }},
      {"close poi", {msg::ClosePoi{}}, [](const MapsApp& a) { EXPECT_FALSE(a.selected_poi); }},
      {"open known poi",
       {msg::OpenPoi{"p2"}},
       [](const MapsApp& a) {
         EXPECT_EQ(a.selected_poi, "p2");
         EXPECT_EQ(a.model.center, (LatLon{48.2, 11.6}));
         EXPECT_EQ(a.model.zoom, 14.4);
       }},
      {"open unknown poi",
       {msg::OpenPoi{"zz"}},
       [](const MapsApp& a) {
         EXPECT_EQ(a.selected_poi, "p1");
         EXPECT_EQ(a.model.center, default_map_model().center);
         EXPECT_TRUE(a.panel.expanded);
       }},
      {"open place",
       {msg::OpenPlace{"a"}},
       [](const MapsApp& a) {
         EXPECT_EQ(a.model.selected, "a");
         EXPECT_EQ(a.model.dest_name, "Place a");
       }},
      {"use my location",
       {msg::UseMyLocation{}},
       [](const MapsApp& a) {
         EXPECT_TRUE(a.backend.location.pending);
         EXPECT_EQ(a.model.status, "Locating…");
       }},
      {"noop",
       {msg::Noop{}},
       [](const MapsApp& a) {
         EXPECT_EQ(a.selected_poi, "p1");
         EXPECT_EQ(a.model.panel, Panel::Directions);
         EXPECT_EQ(a.endpoint_editor.active(), EndpointField::Destination);
       }},
  };
  for (const auto& c : cases) {
    AppFixture f;
    f.app->backend.view_pois.pois = {make_poi("p1", {48.1, 11.5}), make_poi("p2", {48.2, 11.6})};
    f.app->selected_poi = "p1";
    f.app->side_panel.set_heights(1000, 200);
    f.app->side_panel.scroll_by(120);
    f.app->endpoint_editor.begin_endpoint_edit(EndpointField::Destination);
    f.model().panel = Panel::Directions;
    f.model().places = {make_place("a", {48.15, 11.55})};
    route_message(*f.app, c.message, f.state);
    SCOPED_TRACE(c.name);
    c.check(*f.app);
    EXPECT_TRUE(f.commits.empty());
  }
}

TEST(UiMessages, JourneyTimeCommitsClampedOffsetsAndKeepsTheMode) {
  struct Case {
    TransitTime current;
    UiMessage message;
    TransitTime committed;
  } cases[] = {
      {{TransitTimeMode::Depart, 0}, {msg::ShiftTransitTime{-15}}, {TransitTimeMode::Depart, 0}},
      {{TransitTimeMode::Arrive, 1435}, {msg::ShiftTransitTime{15}}, {TransitTimeMode::Arrive, 1440}},
      {{TransitTimeMode::Depart, 30}, {msg::ShiftTransitTime{15}}, {TransitTimeMode::Depart, 45}},
      {{TransitTimeMode::Depart, INT_MAX}, {msg::ShiftTransitTime{INT_MAX}}, {TransitTimeMode::Depart, 1440}},
      {{TransitTimeMode::Depart, INT_MIN}, {msg::ShiftTransitTime{INT_MIN}}, {TransitTimeMode::Depart, 0}},
      {{TransitTimeMode::Depart, 90},
       {msg::SetTransitTimeMode{TransitTimeMode::Arrive}},
       {TransitTimeMode::Arrive, 90}},
      {{TransitTimeMode::Arrive, 90},
       {msg::SetTransitTimeMode{TransitTimeMode::Arrive}},
       {TransitTimeMode::Arrive, 90}},
      {{TransitTimeMode::Arrive, 90}, {msg::LeaveNow{}}, {TransitTimeMode::Depart, 0}},
  };
  for (const auto& c : cases) {
    AppFixture f;
    f.model().transit_time = c.current;
    f.model().mode = TravelMode::Car;
    route_message(*f.app, c.message, f.state);
    ASSERT_EQ(f.commits.size(), 1u) << c.current.offset_min;
    EXPECT_EQ(f.commits[0], (MapsAction{MapsAction::SetTransitTime{c.committed}})) << c.current.offset_min;
    EXPECT_EQ(f.model().mode, TravelMode::Car);
    EXPECT_EQ(f.model().panel, Panel::Explore);
  }
}

TEST(UiMessages, TravelModeCommitsOnlyAChange) {
  AppFixture same;
  same.model().mode = TravelMode::Bike;
  route_message(*same.app, {msg::ChooseTravelMode{TravelMode::Bike}}, same.state);
  EXPECT_TRUE(same.commits.empty());
  EXPECT_EQ(same.model().panel, Panel::Explore);

  AppFixture other;
  route_message(*other.app, {msg::ChooseTravelMode{TravelMode::Foot}}, other.state);
  EXPECT_EQ(other.commits, (std::vector<MapsAction>{{MapsAction::SetTravelMode{TravelMode::Foot}}}));
  EXPECT_EQ(other.model().panel, Panel::Directions);
}

TEST(UiMessages, CommittedChanges) {
  AppFixture f;
  f.model().places = {make_place("a", {48.1, 11.5}, true)};
  f.model().selected = "a";
  route_message(*f.app, {msg::ClearRecents{}}, f.state);
  route_message(*f.app, {msg::ToggleSaved{}}, f.state);
  EXPECT_FALSE(f.model().places[0].saved);
  f.model().selected = "not-a-place";
  route_message(*f.app, {msg::ToggleSaved{}}, f.state);
  route_message(*f.app, {msg::TransitDirections{}}, f.state);
  EXPECT_EQ(f.commits, (std::vector<MapsAction>{{MapsAction::ClearRecents{}},
                                                {MapsAction::SetPlaceSaved{"a", false}},
                                                {MapsAction::SetPlaceSaved{"not-a-place", true}},
                                                {MapsAction::SetTravelMode{TravelMode::Transit}}}));
}

TEST(UiMessages, ClearRouteDocksTheNavigationPanel) {
  AppFixture f;
  f.model().route = Route{};
  f.app->navigation.set_control_rects({1, 2, 3, 4}, {1, 2, 3, 4});
  f.app->navigation.stage("hover", f.app->bounds_rect);  // on the desktop, End hovered
  ASSERT_TRUE(f.app->navigation.placement().detached && f.app->navigation.end_hovered());
  route_message(*f.app, {msg::ClearRoute{}}, f.state);
  EXPECT_EQ(f.commits, (std::vector<MapsAction>{{MapsAction::ClearRoute{}}}));
  const auto& p = f.app->navigation.placement();
  EXPECT_TRUE(p.is_docked());
  EXPECT_FALSE(p.detached || p.detach_confirmed || p.handing_back || p.drag || p.handoff_pin());
  EXPECT_EQ(p.panel_size, (zarn_ui::Size{360, 156}));
  EXPECT_FALSE(f.app->navigation.end_hovered());
  EXPECT_FALSE(f.app->navigation.on_end({2, 3}));
  EXPECT_FALSE(f.app->navigation.on_grip({2, 3}));
}

TEST(UiMessages, SearchBoxEvents) {
  AppFixture f;
  const Place chosen = make_place("s1", {48.3, 11.7});
  f.app->search_box.set_search_suggestions({make_place("s0", {48.0, 11.0}), chosen});
  f.app->search_box.arm_deadline(f.now());

  route_message(*f.app, {msg::SearchBox{{SearchBoxEvent::Opened{}}}}, f.state);
  EXPECT_TRUE(f.app->search_box.is_open());
  route_message(*f.app, {msg::SearchBox{{SearchBoxEvent::SuggestionChosen{2}}}}, f.state);
  EXPECT_TRUE(f.commits.empty()) << "an index past the end does nothing";
  EXPECT_EQ(f.app->search_box.suggestions().size(), 2u);

  route_message(*f.app, {msg::SearchBox{{SearchBoxEvent::SuggestionChosen{1}}}}, f.state);
  EXPECT_EQ(f.commits,
            (std::vector<MapsAction>{{MapsAction::UpsertPlaces{{chosen}}}, {MapsAction::CommitSearch{"Place s1"}}}));
  EXPECT_EQ(f.model().query, "Place s1");
  EXPECT_EQ(f.model().selected, "s1");
  EXPECT_FALSE(f.app->search_box.is_open());
  EXPECT_TRUE(f.app->search_box.suggestions().empty());
  EXPECT_FALSE(f.app->search_box.deadline());

  f.model().results = {chosen};
  f.app->search_box.set_search_suggestions({chosen});
  route_message(*f.app, {msg::SearchBox{{SearchBoxEvent::Cleared{}}}}, f.state);
  EXPECT_TRUE(f.model().query.empty());
  EXPECT_TRUE(f.model().results.empty());
  EXPECT_TRUE(f.app->search_box.suggestions().empty());
}

TEST(UiMessagesThroughTheDocument, SuggestionChosenStoresThePlaceAndMakesItTheDestination) {
  AppFixture f;
  f.app->commits.override = nullptr;  // the real action path
  const Place chosen = make_place("s1", {48.3, 11.7});
  f.app->search_box.set_search_suggestions({chosen});
  route_message(*f.app, {msg::SearchBox{{SearchBoxEvent::SuggestionChosen{0}}}}, f.state);
  ASSERT_TRUE(find_place(f.app->model, "s1"));
  EXPECT_EQ(*find_place(f.app->model, "s1"), chosen);
  ASSERT_FALSE(f.model().recents.empty());
  EXPECT_EQ(f.model().recents.front(), "Place s1");
  EXPECT_EQ(f.model().selected, "s1");
  EXPECT_EQ(f.model().dest, chosen.pos);
  EXPECT_EQ(f.model().dest_name, "Place s1");

  route_message(*f.app, {msg::ToggleSaved{}}, f.state);
  EXPECT_TRUE(find_place(f.app->model, "s1")->saved);
  route_message(*f.app, {msg::ShiftTransitTime{-15}}, f.state);
  EXPECT_EQ(f.model().transit_time, (TransitTime{TransitTimeMode::Depart, 0}));
  route_message(*f.app, {msg::ClearRecents{}}, f.state);
  EXPECT_TRUE(f.model().recents.empty());
}

TEST(UiMessages, DirectionsToPoiMakesItThePlaceToGoTo) {
  AppFixture f;
  f.app->backend.view_pois.pois = {make_poi("p1", {48.2, 11.6})};
  route_message(*f.app, {msg::DirectionsToPoi{}}, f.state);
  EXPECT_TRUE(f.model().places.empty()) << "nothing selected, nothing happens";

  f.app->selected_poi = "p1";
  route_message(*f.app, {msg::DirectionsToPoi{}}, f.state);
  ASSERT_EQ(f.model().places.size(), 1u);
  EXPECT_EQ(f.model().places[0].id, "p1");
  EXPECT_FALSE(f.model().places[0].saved);
  EXPECT_EQ(f.model().selected, "p1");
  EXPECT_EQ(f.model().dest, (LatLon{48.2, 11.6}));
  EXPECT_EQ(f.model().dest_name, "Poi p1");
  EXPECT_EQ(f.model().panel, Panel::Directions);
  EXPECT_FALSE(f.app->selected_poi);
}

TEST(UiMessages, OverflowMenuEndsAboveTheBottomRightCornerAndTogglesClosed) {
  AppFixture f;
  route_message(*f.app, {msg::ToggleOverflowMenu{}}, f.state);
  ASSERT_TRUE(f.app->overflow_menu.is_open());
  const Rect r = f.app->overflow_menu.rect();
  EXPECT_DOUBLE_EQ(r.x1, 1280 - 16);
  EXPECT_DOUBLE_EQ(r.y1, 800 - 52);
  route_message(*f.app, {msg::ToggleOverflowMenu{}}, f.state);
  EXPECT_FALSE(f.app->overflow_menu.is_open());
}

TEST(UiMessages, ChooseJourneyFitsTheChosenJourney) {
  AppFixture f;
  TransitJourney j;
  j.legs.resize(1);
  j.legs[0].geometry = {{48.0, 11.0}, {48.2, 11.2}};
  f.model().transit = {TransitJourney{}, j};
  route_message(*f.app, {msg::ChooseJourney{1}}, f.state);
  EXPECT_EQ(f.model().transit_choice, 1u);
  // Its middle lies in the middle of the map area beside the side panel.
  const Point middle = camera_project(view_camera(f.app->bounds_rect, f.model().center, f.model().zoom), 48.1, 11.1);
  EXPECT_NEAR(middle.x, 410.0 + (1280.0 - 426.0) / 2.0, 1e-6);
  EXPECT_NEAR(middle.y, 400.0, 1e-6);
}

TEST(MapControls, ZoomLocateTraffic) {
  AppFixture f;
  const LatLon center = f.model().center;
  handle_map_control(*f.app, MapControl::ZoomIn);
  EXPECT_DOUBLE_EQ(f.model().zoom, 15.4);
  handle_map_control(*f.app, MapControl::ZoomOut);
  handle_map_control(*f.app, MapControl::ZoomOut);
  EXPECT_DOUBLE_EQ(f.model().zoom, 13.4);
  EXPECT_NEAR(f.model().center.lat, center.lat, 1e-9) << "zooming about the centre keeps it";
  EXPECT_NEAR(f.model().center.lon, center.lon, 1e-9);

  handle_map_control(*f.app, MapControl::Locate);
  EXPECT_TRUE(f.app->backend.location.pending);
  f.model().status = "other";
  handle_map_control(*f.app, MapControl::Locate);
  EXPECT_EQ(f.model().status, "other") << "a second request is refused while one is pending";

  handle_map_control(*f.app, MapControl::Traffic);
  EXPECT_TRUE(f.app->backend.traffic.enabled);
  EXPECT_TRUE(f.app->backend.traffic.segments.empty()) << "no street network, no levels";
  EXPECT_FALSE(f.app->backend.traffic.source);
  handle_map_control(*f.app, MapControl::None);  // no control
  EXPECT_TRUE(f.app->backend.traffic.enabled);
}

TEST(MapControls, TrafficOfTheSampleCityIsKeptWhenSwitchedOff) {
  AppFixture f(default_map_model(), {0, 0, 1280, 800}, demo_city_geometry());
  handle_map_control(*f.app, MapControl::Traffic);
  ASSERT_FALSE(f.app->backend.traffic.segments.empty());
  EXPECT_EQ(f.app->backend.traffic.source, "sample data");
  const auto levels = f.app->backend.traffic.segments;
  handle_map_control(*f.app, MapControl::Traffic);
  EXPECT_FALSE(f.app->backend.traffic.enabled);
  EXPECT_EQ(f.app->backend.traffic.segments, levels);
  handle_map_control(*f.app, MapControl::Traffic);
  EXPECT_EQ(f.app->backend.traffic.segments, levels);
}

TEST(SetPanel, ShowsThePanelAndEndsAnEdit) {
  for (Panel panel : {Panel::Explore, Panel::Directions}) {
    AppFixture f;
    f.app->panel.expanded = false;
    f.app->side_panel.set_heights(1000, 200);
    f.app->side_panel.scroll_by(50);
    f.app->endpoint_editor.begin_endpoint_edit(EndpointField::Origin);
    ASSERT_TRUE(f.app->endpoint_editor.input(EndpointField::Origin).focused);
    set_panel(f.app->session(), panel);
    EXPECT_EQ(f.model().panel, panel);
    EXPECT_EQ(f.app->side_panel.scroll(), 0.0);
    EXPECT_TRUE(f.app->panel.expanded);
    EXPECT_EQ(f.app->endpoint_editor.active(), EndpointField::None);
    EXPECT_FALSE(f.app->endpoint_editor.input(EndpointField::Origin).focused);
  }
}

}  // namespace
}  // namespace maps
