#include <gtest/gtest.h>

#include <cmath>

#include "app/ui_messages.hpp"
#include "app_input_fixture.hpp"
#include "geo/geo.hpp"
#include "geo/screen_view.hpp"
#include "overlay/map_controls.hpp"
#include "transitions/messages.hpp"

namespace maps {
namespace {

using input_testing::AppFixture;
using namespace std::chrono_literals;
namespace ev = zarn_ui::widget;
constexpr std::uint32_t kControl = ev::modifiers::kControl;
constexpr std::uint32_t kSuper = ev::modifiers::kSuper;

Camera camera_of(const MapsApp& app) { return view_camera(app.bounds_rect, app.model.center, app.model.zoom); }

// A place whose marker's hit centre (22 px above its point, 30 when selected) lies at (x, y).
Place place_with_hit_centre(const MapsApp& app, const std::string& id, double x, double y, bool selected = false) {
  const LatLon pos = camera_unproject(camera_of(app), x, y + (selected ? 30.0 : 22.0));
  return Place{id, "Place " + id, Category::Park, "", pos, false};
}

TEST(KeyShortcuts, Table) {
  struct Case {
    const char* text;
    std::uint32_t modifiers;
    bool handled;
    void (*check)(AppFixture&);
  } cases[] = {
      {"d", 0, true, [](AppFixture& f) { EXPECT_EQ(f.model().panel, Panel::Directions); }},
      {"D", 0, true, [](AppFixture& f) { EXPECT_EQ(f.model().panel, Panel::Directions); }},
      {"s", 0, true, [](AppFixture& f) { EXPECT_EQ(f.commits.size(), 1u); }},
      {"S", 0, true, [](AppFixture& f) { EXPECT_EQ(f.commits.size(), 1u); }},
      {"S", kControl, false, [](AppFixture& f) { EXPECT_TRUE(f.commits.empty()); }},
      {"s", kSuper, false, [](AppFixture& f) { EXPECT_TRUE(f.commits.empty()); }},
      {"t", 0, true,
       [](AppFixture& f) {
         EXPECT_EQ(f.commits, (std::vector<MapsAction>{{MapsAction::SetTravelMode{TravelMode::Transit}}}));
       }},
      {"+", 0, true, [](AppFixture& f) { EXPECT_DOUBLE_EQ(f.model().zoom, 15.4); }},
      {"=", 0, true, [](AppFixture& f) { EXPECT_DOUBLE_EQ(f.model().zoom, 15.4); }},
      {"-", 0, true, [](AppFixture& f) { EXPECT_DOUBLE_EQ(f.model().zoom, 13.4); }},
      {"_", 0, true, [](AppFixture& f) { EXPECT_DOUBLE_EQ(f.model().zoom, 13.4); }},
      {"/", 0, true, [](AppFixture& f) { EXPECT_TRUE(f.app->search_box.is_open()); }},
      {"2", 0, true, [](AppFixture& f) { EXPECT_EQ(f.model().panel, Panel::Directions); }},
      {"1", 0, true, [](AppFixture& f) { EXPECT_EQ(f.model().panel, Panel::Explore); }},
      {"M", 0, true, [](AppFixture& f) { EXPECT_TRUE(f.app->offline_panel.is_open()); }},
      {"x", 0, false, [](AppFixture& f) { EXPECT_EQ(f.model().panel, Panel::Explore); }},
      {"dd", 0, false, [](AppFixture& f) { EXPECT_EQ(f.model().panel, Panel::Explore); }},
  };
  for (const auto& c : cases) {
    AppFixture f;
    f.model().selected = "somewhere";
    EXPECT_EQ(f.text(c.text, c.modifiers), c.handled) << c.text;
    SCOPED_TRACE(c.text);
    c.check(f);
  }
}

TEST(KeyShortcuts, ReleasesAndUnknownNamedKeysAreNotHandled) {
  AppFixture f;
  EXPECT_FALSE(f.send(ev::Key{std::string("d"), false}));
  EXPECT_EQ(f.model().panel, Panel::Explore);
  EXPECT_FALSE(f.key(ev::NamedKey::Tab));
}

TEST(KeyShortcuts, ArrowKeysPanLikeADrag) {
  AppFixture f;
  const LatLon centre = f.model().center;
  EXPECT_TRUE(f.key(ev::NamedKey::ArrowDown));
  const Point s = camera_project(camera_of(*f.app), centre.lat, centre.lon);
  EXPECT_NEAR(s.x, 640, 1e-6);
  EXPECT_NEAR(s.y, 480, 1e-6);
  EXPECT_EQ(f.app->backend.view_pois.idle_deadline, f.now() + 450ms);
}

TEST(KeyShortcuts, ADialogTakesEveryEvent) {
  AppFixture f;
  f.app->dialog.open_attribution_dialog(false);
  EXPECT_TRUE(f.text("d"));
  EXPECT_TRUE(f.click(640, 400));
  EXPECT_EQ(f.model().panel, Panel::Explore);
  EXPECT_FALSE(f.app->pointer.map_press);
}

TEST(KeyShortcuts, EscapePeelsOneLayerAtATime) {
  AppFixture f(default_map_model(), {0, 0, 600, 800});
  f.app->selected_poi = "poi";
  f.model().selected = "place";
  f.app->panel.expanded = true;
  EXPECT_TRUE(f.key(ev::NamedKey::Escape));
  EXPECT_FALSE(f.app->selected_poi);
  EXPECT_TRUE(f.app->panel.expanded);
  EXPECT_TRUE(f.key(ev::NamedKey::Escape));
  EXPECT_FALSE(f.app->panel.expanded);
  EXPECT_EQ(f.model().selected, "place");
  EXPECT_TRUE(f.key(ev::NamedKey::Escape));
  EXPECT_FALSE(f.model().selected);

  // In the wide layout the panel stays and the place goes.
  AppFixture wide;
  wide.model().selected = "place";
  wide.key(ev::NamedKey::Escape);
  EXPECT_TRUE(wide.app->panel.expanded);
  EXPECT_FALSE(wide.model().selected);
}

TEST(SearchBoxTyping, TypesWhileOpenAndArmsOrCancelsTheSearch) {
  AppFixture f;
  f.app->search_box.open();
  EXPECT_TRUE(f.text("d"));
  EXPECT_EQ(f.app->search_box.input().text(), "d");
  EXPECT_EQ(f.model().query, "d");
  EXPECT_EQ(f.model().panel, Panel::Explore) << "the letter is typed, not a shortcut";
  EXPECT_EQ(f.app->search_box.deadline(), f.now() + 280ms);

  f.app->search_box.set_search_suggestions({Place{}});
  f.advance(100ms);
  EXPECT_TRUE(f.key(ev::NamedKey::Backspace));
  EXPECT_EQ(f.model().query, "");
  EXPECT_TRUE(f.app->search_box.suggestions().empty());
  EXPECT_FALSE(f.app->search_box.deadline());

  f.text(" ");
  EXPECT_FALSE(f.app->search_box.deadline()) << "white space only searches nothing";
  f.text("é");
  f.key(ev::NamedKey::Backspace);
  EXPECT_EQ(f.model().query, " ") << "a whole character is deleted";
  EXPECT_FALSE(f.app->search_box.deadline());

  EXPECT_TRUE(f.key(ev::NamedKey::Escape));
  EXPECT_FALSE(f.app->search_box.is_open());

  f.app->search_box.open();
  EXPECT_TRUE(f.key(ev::NamedKey::Enter));
  EXPECT_FALSE(f.app->search_box.is_open()) << "Enter submits and closes the list";
}

TEST(EndpointFields, PressEditsAFieldThatThenTakesTheKeys) {
  AppFixture f;
  f.model().panel = Panel::Directions;
  f.app->endpoint_editor.set_endpoint_texts("", "old");
  f.app->endpoint_editor.add_hit({{20, 100, 380, 140}, EndpointHitKind::FieldBox, EndpointField::Origin, 0});
  f.app->endpoint_editor.add_hit({{20, 150, 380, 190}, EndpointHitKind::FieldBox, EndpointField::Destination, 0});
  EXPECT_TRUE(f.click(50, 160));
  EXPECT_EQ(f.app->endpoint_editor.active(), EndpointField::Destination);
  EXPECT_TRUE(f.app->endpoint_editor.input(EndpointField::Destination).focused);
  EXPECT_FALSE(f.app->endpoint_editor.input(EndpointField::Origin).focused);
  EXPECT_EQ(f.app->endpoint_editor.text(EndpointField::Destination), "");
  EXPECT_FALSE(f.app->pointer.map_press);

  EXPECT_TRUE(f.text("d"));
  EXPECT_EQ(f.app->endpoint_editor.text(EndpointField::Destination), "d");
  EXPECT_EQ(f.model().panel, Panel::Directions);
  EXPECT_EQ(f.app->endpoint_editor.deadline(), f.now() + 280ms);
  EXPECT_TRUE(f.key(ev::NamedKey::Enter));
  EXPECT_FALSE(f.app->endpoint_editor.deadline()) << "a submit replaces the pending search";

  EXPECT_TRUE(f.key(ev::NamedKey::Escape));
  EXPECT_EQ(f.app->endpoint_editor.active(), EndpointField::None);
  EXPECT_FALSE(f.app->endpoint_editor.input(EndpointField::Destination).focused);
}

TEST(Wheel, ZoomsTheMapOrScrollsThePanel) {
  enum class Panel { Open, Collapsed, Covered };
  struct Case {
    const char* name;
    double width;
    bool expanded;
    Panel panel;
    Point at;
    ev::Wheel wheel;
    double zoom;
    double scroll;
  } cases[] = {
      {"one line over the map", 1280, true, Panel::Open, {900, 400}, {ev::Wheel::Unit::Lines, 0, 1}, 14.75, 100},
      {"40 px counts as a line", 1280, true, Panel::Open, {900, 400}, {ev::Wheel::Unit::Pixels, 0, 40}, 14.75, 100},
      {"line down zooms out", 1280, true, Panel::Open, {900, 400}, {ev::Wheel::Unit::Lines, 0, -2}, 13.7, 100},
      {"over the list scrolls down", 1280, true, Panel::Open, {100, 300}, {ev::Wheel::Unit::Lines, 0, -1}, 14.4, 136},
      {"and up", 1280, true, Panel::Open, {100, 300}, {ev::Wheel::Unit::Lines, 0, 1}, 14.4, 64},
      {"clamped at the top", 1280, true, Panel::Open, {100, 300}, {ev::Wheel::Unit::Lines, 0, 10}, 14.4, 0},
      {"clamped at the end", 1280, true, Panel::Open, {100, 300}, {ev::Wheel::Unit::Lines, 0, -50}, 14.4, 500},
      {"panel top zooms", 1280, true, Panel::Open, {100, 124}, {ev::Wheel::Unit::Lines, 0, 1}, 14.75, 100},
      {"just below the top scrolls", 1280, true, Panel::Open, {100, 124.5}, {ev::Wheel::Unit::Lines, 0, 1}, 14.4, 64},
      {"hidden narrow panel zooms", 600, false, Panel::Open, {100, 300}, {ev::Wheel::Unit::Lines, 0, 1}, 14.75, 100},
      {"shown narrow panel scrolls", 600, true, Panel::Open, {100, 300}, {ev::Wheel::Unit::Lines, 0, 1}, 14.4, 64},
      // Where the panel's rectangle shows the map, the map zooms.
      {"below a collapsed card zooms",
       1280,
       true,
       Panel::Collapsed,
       {100, 300},
       {ev::Wheel::Unit::Lines, 0, 1},
       14.75,
       100},
      {"under the search suggestions zooms",
       1280,
       true,
       Panel::Covered,
       {100, 600},
       {ev::Wheel::Unit::Lines, 0, 1},
       14.75,
       100},
  };
  for (const auto& c : cases) {
    AppFixture f(default_map_model(), {0, 0, c.width, 800});
    f.app->panel.expanded = c.expanded;
    f.app->panel.collapsed = c.panel == Panel::Collapsed;
    if (c.panel == Panel::Covered) {
      f.model().query = "caf";
      f.app->search_box.open();
      f.app->search_box.set_search_suggestions({Place{"p", "Café", Category::Cafe, "", {48.1, 11.5}, false}});
    }
    f.draw();
    f.app->side_panel.set_heights(1000, 500);
    f.app->side_panel.scroll_by(100);
    f.move(c.at.x, c.at.y);
    EXPECT_TRUE(f.send(c.wheel)) << c.name;
    EXPECT_NEAR(f.model().zoom, c.zoom, 1e-12) << c.name;
    EXPECT_DOUBLE_EQ(f.app->side_panel.scroll(), c.scroll) << c.name;
  }
}

TEST(Wheel, ZoomKeepsThePointUnderThePointer) {
  AppFixture f;
  f.send(ev::PointerMoved{{1800, 600}}, 0, 2.0);  // physical pixels at scale 2
  EXPECT_EQ(f.app->pointer.last, (Point{900, 300}));
  const LatLon under = camera_unproject(camera_of(*f.app), 900, 300);
  f.send(ev::Wheel{ev::Wheel::Unit::Lines, 0, 3});
  const Point s = camera_project(camera_of(*f.app), under.lat, under.lon);
  EXPECT_NEAR(s.x, 900, 1e-6);
  EXPECT_NEAR(s.y, 300, 1e-6);
}

TEST(MapDrag, PansOnlyPastHalfAPixel) {
  AppFixture f;
  EXPECT_FALSE(f.move(700, 400)) << "a move over the bare map changes nothing";
  EXPECT_TRUE(f.press());
  EXPECT_TRUE(f.app->pointer.map_press);
  const LatLon start = f.model().center;
  f.move(700.4, 400);
  f.move(700.8, 400.4);
  EXPECT_EQ(f.model().center, start) << "jitter below the threshold does not add up";

  const LatLon under = camera_unproject(camera_of(*f.app), 700.8, 400.4);
  EXPECT_TRUE(f.move(701.4, 400.4));
  const Point s = camera_project(camera_of(*f.app), under.lat, under.lon);
  EXPECT_NEAR(s.x, 701.4, 1e-6);
  EXPECT_NEAR(s.y, 400.4, 1e-6);

  f.release();
  EXPECT_FALSE(f.app->pointer.map_press);
  const LatLon after = f.model().center;
  f.move(800, 500);
  EXPECT_EQ(f.model().center, after) << "no pan after the release";
}

TEST(Presses, HitTargetsLastRecordedFirst) {
  AppFixture f;
  f.model().places = {Place{"a", "A", Category::Park, "", {48.1, 11.5}, false},
                      Place{"b", "B", Category::Park, "", {48.2, 11.6}, false}};
  f.app->hit_targets = {{{100, 100, 300, 300}, UiMessage{msg::OpenPlace{"a"}}},
                        {{200, 200, 400, 400}, UiMessage{msg::OpenPlace{"b"}}}};
  f.app->search_box.open();
  f.app->endpoint_editor.begin_endpoint_edit(EndpointField::Origin);
  EXPECT_TRUE(f.click(250, 250));
  EXPECT_EQ(f.model().selected, "b");
  EXPECT_FALSE(f.app->search_box.is_open());
  EXPECT_EQ(f.app->endpoint_editor.active(), EndpointField::None);
  EXPECT_FALSE(f.app->pointer.map_press);
  EXPECT_TRUE(f.click(150, 150));
  EXPECT_EQ(f.model().selected, "a");
  f.click(400, 400);  // right and bottom edges are outside
  EXPECT_EQ(f.model().selected, "a");
}

TEST(Presses, OpeningTheSearchBoxKeepsItsList) {
  AppFixture f;
  f.app->search_box.set_search_suggestions({Place{}});
  f.app->hit_targets = {{{16, 16, 400, 64}, UiMessage{msg::SearchBox{{SearchBoxEvent::Opened{}}}}}};
  EXPECT_TRUE(f.click(30, 30));
  EXPECT_TRUE(f.app->search_box.is_open());
  EXPECT_TRUE(f.app->search_box.input().focused);
  EXPECT_EQ(f.app->search_box.suggestions().size(), 1u);
}

TEST(Presses, MapControlsUseTheDrawnBounds) {
  AppFixture f;
  f.app->drawn_bounds = {0, 0, 1000, 800};  // what was painted last
  const Rect zoom_in = control_button_rect(f.app->drawn_bounds, MapControl::ZoomIn);
  EXPECT_TRUE(f.click(zoom_in.x0 + 1, zoom_in.y0 + 1));
  EXPECT_DOUBLE_EQ(f.model().zoom, 15.4);
  EXPECT_FALSE(f.app->pointer.map_press);
}

TEST(Presses, NearestPlaceMarkerWinsAndTiesGoToTheFirst) {
  struct Case {
    const char* name;
    double ax, bx;  // hit-centre offsets from the press, in x
    const char* selected;
  } cases[] = {
      {"b nearer", 5, 3, "b"},
      {"a nearer", -2, 6, "a"},
      {"equal distance", 4, -4, "a"},
      {"both out of reach", 15, -15, nullptr},
  };
  for (const auto& c : cases) {
    AppFixture f;
    f.model().places = {place_with_hit_centre(*f.app, "a", 600 + c.ax, 300),
                        place_with_hit_centre(*f.app, "b", 600 + c.bx, 300)};
    f.click(600, 300);
    if (c.selected) {
      EXPECT_EQ(f.model().selected, c.selected) << c.name;
      EXPECT_FALSE(f.app->pointer.map_press) << c.name;
    } else {
      EXPECT_FALSE(f.model().selected) << c.name;
      EXPECT_TRUE(f.app->pointer.map_press || !f.app->pointer.down) << c.name;
    }
  }
  // The selected marker stands higher and takes presses from further away.
  AppFixture f;
  f.model().places = {place_with_hit_centre(*f.app, "s", 600, 300, true)};
  f.model().selected = "s";
  f.model().places[0].pos = camera_unproject(camera_of(*f.app), 600, 330);
  f.click(616, 300);
  EXPECT_FALSE(f.app->pointer.map_press);
}

TEST(Presses, BareMapClearsThePointOfInterest) {
  AppFixture f;
  f.app->selected_poi = "p";
  f.move(700, 500);
  EXPECT_TRUE(f.press());
  EXPECT_FALSE(f.app->selected_poi);
  EXPECT_TRUE(f.app->pointer.map_press);
  EXPECT_EQ(f.app->pointer.drag_anchor, (Point{700, 500}));
}

TEST(Presses, NavigationEndClearsTheRouteAndNeverPans) {
  AppFixture f;
  f.model().route = Route{};
  f.app->navigation.set_control_rects({500, 600, 790, 634}, {800, 600, 850, 624});
  EXPECT_TRUE(f.move(810, 610));
  EXPECT_TRUE(f.app->navigation.end_hovered());
  EXPECT_TRUE(f.press());
  EXPECT_EQ(f.commits, (std::vector<MapsAction>{{MapsAction::ClearRoute{}}}));
  EXPECT_FALSE(f.app->navigation.end_hovered());
  EXPECT_FALSE(f.app->pointer.down);
  EXPECT_FALSE(f.app->pointer.map_press);
  const LatLon c = f.model().center;
  f.move(900, 700);
  EXPECT_EQ(f.model().center, c);
}

TEST(Presses, AHiddenNavigationPanelTakesNoPress) {
  // Narrow layout with the side panel shown: the docked panel is not drawn, its old rectangles stay.
  AppFixture f(default_map_model(), {0, 0, 600, 800});
  f.model().route = Route{};
  f.app->navigation.set_control_rects({200, 600, 490, 634}, {500, 600, 550, 624});
  f.click(510, 610);
  f.click(300, 610);
  EXPECT_TRUE(f.commits.empty());
  EXPECT_FALSE(f.app->has_pointer_capture());
}

TEST(Presses, NavigationGripStartsADragThatTheReleaseEnds) {
  AppFixture f;
  f.model().route = Route{};
  f.app->navigation.set_control_rects({500, 600, 790, 634}, {});
  f.move(600, 610);
  EXPECT_TRUE(f.press());
  EXPECT_TRUE(f.app->has_pointer_capture());
  EXPECT_TRUE(f.move(620, 500));
  EXPECT_TRUE(f.release());
  EXPECT_FALSE(f.app->has_pointer_capture());
  EXPECT_FALSE(f.release()) << "a release without a drag is not handled";
}

TEST(Presses, OtherButtonsOnlyDismissTheTooltip) {
  AppFixture f;
  const Rect zoom_in = control_button_rect(f.app->drawn_bounds, MapControl::ZoomIn);
  EXPECT_TRUE(f.move(zoom_in.x0 + 2, zoom_in.y0 + 2));
  EXPECT_EQ(f.app->overlay.hovered_control(), MapControl::ZoomIn);
  ASSERT_TRUE(f.app->overlay.tooltips().target());
  EXPECT_EQ(f.app->overlay.tooltips().target()->text, "Zoom in");
  EXPECT_FALSE(f.press(ev::MouseButton::Secondary));
  EXPECT_FALSE(f.app->overlay.tooltips().target());
  EXPECT_DOUBLE_EQ(f.model().zoom, 14.4);
  EXPECT_FALSE(f.app->pointer.down);
}

TEST(Presses, OverflowMenuRowsRunTheirEntry) {
  AppFixture f;
  route_message(*f.app, {msg::ToggleOverflowMenu{}}, f.state);
  const Rect menu = f.app->overflow_menu.rect();
  // Second row: "Offline maps".
  const double row_y =
      menu.y0 + zarn_ui::widgets::ContextMenu::kPadding + 1.5 * zarn_ui::widgets::ContextMenu::kRowHeight;
  EXPECT_TRUE(f.click(menu.x0 + 10, row_y));
  EXPECT_TRUE(f.app->offline_panel.is_open());
  EXPECT_FALSE(f.app->overflow_menu.is_open());
  EXPECT_FALSE(f.app->pointer.map_press);

  // Escape closes the offline panel; a press outside an open menu only closes the menu.
  f.key(ev::NamedKey::Escape);
  EXPECT_FALSE(f.app->offline_panel.is_open());
  route_message(*f.app, {msg::ToggleOverflowMenu{}}, f.state);
  EXPECT_TRUE(f.click(300, 300));
  EXPECT_FALSE(f.app->overflow_menu.is_open());
  EXPECT_FALSE(f.app->pointer.map_press);
}

// A paste that finds something on the clipboard it cannot read as text says so; one that reads
// its text, or finds the clipboard empty, leaves the status alone.
TEST(Keys, APasteThatCannotBeReadSaysSo) {
  AppFixture f;
  f.app->search_box.open();
  f.draw();
  f.app->set_status("Ready");
  f.clipboard.holds_unreadable = true;
  f.send(ev::Key{"v", true}, kControl);
  EXPECT_EQ(f.model().status, kPasteUnreadableText);
  EXPECT_EQ(f.model().query, "");

  f.app->set_status("Ready");
  f.clipboard.set_text("Odeonsplatz");
  f.send(ev::Key{"v", true}, kControl);
  EXPECT_EQ(f.model().query, "Odeonsplatz");
  f.clipboard.contents.reset();
  f.send(ev::Key{"v", true}, kControl);
  EXPECT_EQ(f.model().status, "Ready");
}

TEST(Pointer, TooltipTargets) {
  struct Case {
    double width;
    Point at;
    const char* text;
  } cases[] = {
      {1280, {1240, 70}, "Zoom out"}, {1280, {1240, 170}, "Traffic"}, {1280, {1240, 140}, "My location"},
      {600, {20, 20}, "Menu"},        {1280, {20, 20}, nullptr},      {1280, {1230, 760}, "More"},
      {1280, {640, 400}, nullptr},
  };
  for (const auto& c : cases) {
    AppFixture f(default_map_model(), {0, 0, c.width, 800});
    f.move(c.at.x, c.at.y);
    if (c.text) {
      ASSERT_TRUE(f.app->overlay.tooltips().target()) << c.text;
      EXPECT_EQ(f.app->overlay.tooltips().target()->text, c.text);
    } else {
      EXPECT_FALSE(f.app->overlay.tooltips().target()) << c.at.x;
    }
  }
}

}  // namespace
}  // namespace maps
