// The navigation panel: what it shows, where it is painted (once, by the window or by the
// floating layer), its desktop surface and the desktop's events, and its End and grip areas.

#include <gtest/gtest.h>

#include "app/access_tree.hpp"
#include "app/navigation_view.hpp"
#include "app_input_fixture.hpp"
#include "draw_kit/layout_metrics.hpp"
#include "format/units.hpp"
#include "overlay_frame.hpp"
#include "sample/sample_data.hpp"

namespace maps {
namespace {

using input_testing::AppFixture;
using overlay_testing::Painter;
using overlay_testing::text_origin;
using SurfaceEvent = zarn_ui::floating_surface::SurfaceEvent;
using zarn_ui::floating_surface::ProtocolRect;
namespace ev = zarn_ui::widget;

constexpr const char* kId = "maps.active-navigation";

bool has_end_entry(const MapsApp& app) {
  const auto entries = map_control_entries(app);
  return std::any_of(entries.begin(), entries.end(),
                     [](const AccessEntry& e) { return e.id == "maps.navigation.end"; });
}

struct RouteFixture : AppFixture {
  RouteFixture() { model().route = sample_route_steps(); }
  const NavigationPanel& nav() const { return app->navigation; }
  Rect panel() const { return app->navigation.panel_rect(app->bounds_rect); }
  // Drags the docked panel by its grip to `to`, releasing there.
  void drag_grip_to(Point to) {
    painter.window(*app);
    const Rect grip = nav().drag_rect();
    move(grip.x0 + 20, grip.y0 + 10);
    press();
    move(to.x, to.y);
    release();
  }
  void surface(const ev::Event& e) {
    bool handled = false;
    app->handle_surface_event(kId, e, 0, state, handled, 1.0);
  }
  Painter painter;
};

TEST(NavigationPanel, ShowsTheNextStepAndWhatIsLeft) {
  RouteFixture f;
  const Route route = *f.model().route;
  ASSERT_FALSE(route.steps.empty());
  auto p = f.painter.window(*f.app);
  const Rect r = f.panel();
  EXPECT_EQ(text_origin(*p.run("Navigation")), (Point{r.x0 + 16, r.y0 + 10}));
  EXPECT_EQ(text_origin(*p.run(route.steps[0].instruction)), (Point{r.x0 + 64, r.y0 + 47}));
  EXPECT_TRUE(p.has_text(format_distance(route.distance_m) + " remaining"));
  EXPECT_TRUE(p.has_text(format_duration(route.duration_s)));
  EXPECT_EQ(f.nav().drag_rect(), (Rect{r.x0, r.y0, r.x1 - 62, r.y0 + 34}));
  EXPECT_EQ(f.nav().end_rect(), (Rect{r.x1 - 58, r.y0 + 6, r.x1 - 8, r.y0 + 30}));

  f.model().route->steps.clear();
  p = f.painter.window(*f.app);
  EXPECT_TRUE(p.has_text("↑"));
  EXPECT_TRUE(p.has_text("Continue on the route"));
  EXPECT_TRUE(p.has_text(format_distance(route.distance_m)));
}

TEST(NavigationPanel, EndHoverTintsTheButtonAndLeavesWithThePointer) {
  RouteFixture f;
  f.painter.window(*f.app);
  const Rect end = f.nav().end_rect();
  const auto fill_of_end = [&](const overlay_testing::Painted& p) {
    return p.fill_of(zarn_ui::RoundedRect::make(end, 10.0))->color;
  };
  EXPECT_TRUE(f.move(end.x0 + 5, end.y0 + 5));
  auto p = f.painter.window(*f.app);
  EXPECT_EQ(fill_of_end(p), f.painter.theme.danger.multiply_alpha(0.16f));
  EXPECT_EQ(p.run("End")->color, f.painter.theme.danger);
  f.move(end.x0 - 20, end.y0 + 5);
  p = f.painter.window(*f.app);
  EXPECT_EQ(fill_of_end(p), f.painter.theme.control.multiply_alpha(0.62f));
  EXPECT_EQ(p.run("End")->color, f.painter.theme.text_secondary);
}

// The window draws a docked or floating panel, the floating layer only a detached one: never
// both, and the shot run, which paints both layers, shows one panel.
TEST(NavigationPanel, IsPaintedOnceWhereverItIs) {
  struct Case {
    const char* pose;
    bool by_window;
  } cases[] = {{"docked", true}, {"floating in the window", true}, {"on the desktop", false}};
  for (const auto& c : cases) {
    RouteFixture f;
    const std::string pose = c.pose;
    if (pose == "floating in the window") f.drag_grip_to({600, 300});
    if (pose == "on the desktop") stage_floating_navigation(*f.app, "detached");
    EXPECT_EQ(navigation_in_window(*f.app), c.by_window) << pose;
    const auto window = f.painter.window(*f.app);
    const auto floating = f.painter.floating(*f.app);
    EXPECT_EQ(window.has_text("Navigation"), c.by_window) << pose;
    EXPECT_EQ(floating.has_text("Navigation"), !c.by_window) << pose;
  }
}

TEST(NavigationPanel, HiddenUnderTheNarrowSidePanelItLeavesNoAreas) {
  RouteFixture f;
  f.app->bounds_rect = f.app->drawn_bounds = {0, 0, 600, 800};
  f.app->panel.expanded = false;
  f.painter.window(*f.app);
  EXPECT_GT(f.nav().end_rect().area(), 0);
  EXPECT_EQ(navigation_end_target(*f.app), f.nav().end_rect());
  EXPECT_TRUE(has_end_entry(*f.app));
  f.app->panel.expanded = true;
  EXPECT_FALSE(f.painter.window(*f.app).has_text("Navigation"));
  EXPECT_FALSE(navigation_end_target(*f.app));
  EXPECT_EQ(f.nav().end_rect(), Rect{});
  EXPECT_EQ(f.nav().drag_rect(), Rect{});

  // In the wide layout the docked panel shows whatever the side panel does.
  RouteFixture wide;
  wide.app->panel.expanded = true;
  EXPECT_TRUE(wide.painter.window(*wide.app).has_text("Navigation"));
}

TEST(NavigationPanel, DockedBesideTheSidePanel) {
  RouteFixture f;
  f.painter.window(*f.app);
  // The map right of the side panel (16 + 384 + 10) is where it centres itself.
  EXPECT_EQ(f.panel(), (Rect{(410.0 + 1280) / 2 - 180, 628, (410.0 + 1280) / 2 + 180, 784}));
  f.app->panel.collapsed = true;
  f.painter.window(*f.app);
  EXPECT_EQ(f.panel(), (Rect{460, 628, 820, 784}));
}

// With the traffic legend at the bottom-left, the docked panel sits beside it where there is
// room, else above it.
TEST(NavigationPanel, DockedClearOfTheTrafficLegend) {
  for (const Rect bounds : {Rect{0, 0, 1280, 800}, Rect{0, 0, 800, 600}, Rect{0, 0, 400, 800}}) {
    RouteFixture f;
    f.app->bounds_rect = f.app->drawn_bounds = bounds;
    f.app->panel.expanded = false;
    f.app->backend.traffic.enabled = true;
    f.app->backend.traffic.segments = {TrafficSegment{{{48.1, 11.5}, {48.2, 11.6}}, TrafficLevel::Heavy}};
    f.painter.window(*f.app);
    const Rect panel = f.panel();
    // The legend's card: 180 x 118 above the bottom margin, at the card column.
    const double x0 = bounds.width() >= 720 ? side_panel_rect(bounds).x1 + 10 : 16;
    const Rect card{x0, bounds.y1 - 134, x0 + 180, bounds.y1 - 16};
    EXPECT_EQ(panel.intersect(card).area(), 0) << bounds.width();
    EXPECT_TRUE(panel.x0 >= card.x1 + 10 || panel.y1 <= card.y0 - 10) << bounds.width();
    EXPECT_EQ(panel.intersect(bounds), panel) << bounds.width();
  }
}

TEST(NavigationPanel, DraggedOutOfTheWindowItAsksForItsSurface) {
  RouteFixture f;
  f.painter.window(*f.app);
  const Rect start = f.panel();
  const Rect grip = f.nav().drag_rect();
  f.move(grip.x0 + 20, grip.y0 + 10);
  EXPECT_TRUE(f.press());
  EXPECT_TRUE(f.app->has_pointer_capture());
  EXPECT_FALSE(f.app->pointer.down);
  f.move(grip.x0 + 120, grip.y0 - 100);  // still inside
  EXPECT_FALSE(f.nav().surface_request());
  EXPECT_EQ(f.panel(), start.translate({100, -110}));
  const Rect before = f.panel();
  f.move(1400, grip.y0 - 100);  // more than half outside
  ASSERT_TRUE(f.nav().surface_request());
  EXPECT_EQ(f.nav().surface_request()->given_rect, before.inflate(8, 8));
  EXPECT_EQ(f.nav().surface_request()->id, kId);
  EXPECT_TRUE(f.release());
  EXPECT_FALSE(f.app->has_pointer_capture());
  EXPECT_FALSE(f.release()) << "a release without a drag is not the panel's";

  // The framework takes the request once.
  EXPECT_TRUE(f.app->take_surface_request());
  EXPECT_FALSE(f.app->take_surface_request());
}

TEST(NavigationPanel, SurfacesAndSnapshotFollowThePlacement) {
  RouteFixture f;
  EXPECT_TRUE(f.app->floating_surfaces().empty()) << "docked";
  EXPECT_EQ(f.app->surface_snapshot(), std::vector<std::string>{kId});
  f.drag_grip_to({600, 300});
  const auto entries = f.app->floating_surfaces();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].id, kId);
  EXPECT_EQ(entries[0].outer_rect, entries[0].panel_rect.inflate(8, 8));
  EXPECT_FALSE(entries[0].handing_back);

  f.model().route.reset();
  EXPECT_TRUE(f.app->floating_surfaces().empty());
  EXPECT_TRUE(f.app->surface_snapshot().empty());
  float_navigation(*f.app);
  EXPECT_FALSE(f.app->take_surface_request());
  EXPECT_TRUE(f.painter.floating(*f.app).scene.empty());
}

TEST(NavigationPanel, DesktopEvents) {
  const ProtocolRect at{100, 50, 360, 156};
  {
    RouteFixture f;
    float_navigation(*f.app);
    f.app->apply_surface_event({SurfaceEvent::Placed{"another.surface", at, {}, true}});
    EXPECT_FALSE(f.nav().placement().detached) << "another surface's event";
    f.app->apply_surface_event({SurfaceEvent::Placed{kId, {0, 0, 0, 10}, {}, true}});
    EXPECT_FALSE(f.nav().placement().detached) << "a rectangle that does not convert";
    f.app->apply_surface_event({SurfaceEvent::Placed{kId, at, {900, 700}, true}});
    EXPECT_EQ(f.panel(), (Rect{100, 50, 460, 206}));
    EXPECT_TRUE(f.nav().placement().detached);
    EXPECT_EQ(f.nav().placement().desktop_origin, (Point{900, 700}));
    EXPECT_TRUE(navigation_on_desktop(*f.app));
  }
  for (const bool closed : {false, true}) {
    RouteFixture f;
    float_navigation(*f.app);
    f.app->apply_surface_event({SurfaceEvent::DetachConfirmed{kId, {0, 0, -1, 5}}});
    EXPECT_FALSE(f.nav().placement().detached);
    f.app->apply_surface_event({SurfaceEvent::DetachConfirmed{kId, at}});
    EXPECT_TRUE(f.nav().placement().detached && f.nav().placement().detach_confirmed);
    if (closed) {
      f.app->apply_surface_event({SurfaceEvent::Closed{kId}});
    } else {
      f.app->apply_surface_event({SurfaceEvent::Returned{kId}});
    }
    EXPECT_FALSE(f.nav().placement().detached || f.nav().placement().detach_confirmed);
    EXPECT_TRUE(navigation_in_window(*f.app));
  }
  {
    RouteFixture f;
    f.model().route.reset();
    float_navigation(*f.app);
    f.app->apply_surface_event({SurfaceEvent::Placed{kId, at, {}, true}});
    EXPECT_TRUE(f.nav().placement().is_docked()) << "without a route events are ignored";
  }
}

// A panel on the desktop keeps its End and grip areas (the floating layer draws it there), but
// the window's pointer reaches neither: no hover, no press. Its own window's input does.
TEST(NavigationPanel, OnTheDesktopOnlyItsOwnWindowReachesIt) {
  RouteFixture f;
  stage_floating_navigation(*f.app, "detached");
  f.painter.window(*f.app);
  f.painter.floating(*f.app);
  const Rect end = f.nav().end_rect();
  ASSERT_GT(end.area(), 0);
  EXPECT_FALSE(navigation_end_target(*f.app)) << "the window offers no End button";
  EXPECT_FALSE(has_end_entry(*f.app)) << "nor does its accessibility tree";
  f.move(end.x0 + 5, end.y0 + 5);
  EXPECT_FALSE(f.nav().end_hovered());
  f.press();
  f.release();
  EXPECT_TRUE(f.model().route) << "the window's press went to the map";
  EXPECT_TRUE(f.commits.empty());

  f.surface(ev::PointerMoved{{end.x0 + 5, end.y0 + 5}});
  EXPECT_TRUE(f.nav().end_hovered());
  EXPECT_TRUE(f.painter.floating(*f.app).run("End")->color == f.painter.theme.danger);
  f.surface(ev::PointerLeft{});
  EXPECT_FALSE(f.nav().end_hovered());
  f.surface(ev::PointerMoved{{end.x0 + 5, end.y0 + 5}});
  f.surface(ev::MouseButtonEvent{ev::MouseButton::Primary, true});
  EXPECT_EQ(f.commits, (std::vector<MapsAction>{{MapsAction::ClearRoute{}}}));
  EXPECT_TRUE(f.nav().placement().is_docked());
  EXPECT_FALSE(f.nav().end_hovered());
}

TEST(NavigationPanel, DraggedOnTheDesktopBackOverTheWindow) {
  RouteFixture f;
  stage_floating_navigation(*f.app, "detached");
  f.painter.floating(*f.app);
  const Rect grip = f.nav().drag_rect();
  f.surface(ev::PointerMoved{{grip.x0 + 20, grip.y0 + 10}});
  f.surface(ev::MouseButtonEvent{ev::MouseButton::Primary, true});
  EXPECT_TRUE(f.app->has_pointer_capture());
  f.surface(ev::PointerMoved{{grip.x0 - 380, grip.y0 + 310}});
  EXPECT_EQ(f.panel(), (Rect{420, 420, 780, 576}));
  EXPECT_FALSE(f.nav().surface_request()) << "already on the desktop";
  EXPECT_TRUE(f.nav().returning_over(true, f.app->bounds_rect));
  const Rect ring = f.panel().inflate(4, 4);
  const auto hint = f.painter.window(*f.app).stroke_of(zarn_ui::RoundedRect::make(ring, 18.0));
  ASSERT_TRUE(hint);
  EXPECT_EQ(hint->color, f.painter.theme.accent);
  f.surface(ev::MouseButtonEvent{ev::MouseButton::Primary, false});
  EXPECT_FALSE(f.app->has_pointer_capture());
  EXPECT_FALSE(f.painter.window(*f.app).stroke_of(zarn_ui::RoundedRect::make(ring, 18.0)));
}

// A panel handed back from the desktop lands where it covers no control: docked, unless the
// person had floated it inside the window, or lets it go over the window.
TEST(NavigationPanel, HandedBackItDocksOrGoesWhereThePersonHadIt) {
  // Its desktop window last stood over the map controls, here at the window's top right.
  const ProtocolRect over_controls{1000, 20, 360, 156};
  for (const bool closed : {true, false}) {
    RouteFixture f;
    f.painter.window(*f.app);
    const Rect docked = f.panel();
    float_navigation(*f.app);
    f.app->apply_surface_event({SurfaceEvent::DetachConfirmed{kId, over_controls}});
    f.app->apply_surface_event({SurfaceEvent::Placed{kId, {1600, 20, 360, 156}, {}, true}});  // beside the window
    if (closed) {
      f.app->apply_surface_event({SurfaceEvent::Closed{kId}});
    } else {
      f.app->apply_surface_event({SurfaceEvent::Returned{kId}});  // refused on the way out
    }
    EXPECT_TRUE(f.nav().placement().is_docked()) << closed;
    EXPECT_EQ(f.panel(), docked) << closed;
    EXPECT_TRUE(f.painter.window(*f.app).has_text("Navigation")) << closed;
  }
  {
    // Floated inside the window first: it comes back to that spot.
    RouteFixture f;
    f.drag_grip_to({300, 300});
    const Rect spot = f.panel();
    ASSERT_FALSE(f.nav().placement().is_docked());
    float_navigation(*f.app);
    f.app->apply_surface_event({SurfaceEvent::Placed{kId, over_controls, {}, true}});
    f.app->apply_surface_event({SurfaceEvent::Closed{kId}});
    EXPECT_EQ(f.panel(), spot);
  }
  {
    // Let go over the window: it stays where it was dropped.
    RouteFixture f;
    float_navigation(*f.app);
    f.app->apply_surface_event({SurfaceEvent::Placed{kId, {500, 300, 360, 156}, {}, true}});
    f.app->apply_surface_event({SurfaceEvent::Returned{kId}});
    EXPECT_EQ(f.panel(), (Rect{500, 300, 860, 456}));
  }
}

TEST(NavigationPanel, FloatNavigationAsksForTheSurfaceWhereThePanelIs) {
  RouteFixture f;
  f.painter.window(*f.app);
  const Rect docked = f.panel();
  float_navigation(*f.app);
  const auto request = f.app->take_surface_request();
  ASSERT_TRUE(request);
  EXPECT_EQ(request->given_rect, docked);
  EXPECT_EQ(request->panel_rect, docked);
  EXPECT_EQ(request->outer_rect, docked.inflate(8, 8));
  EXPECT_EQ(request->title, "Active navigation");
  EXPECT_EQ(request->kind, "active-navigation");
  EXPECT_EQ(request->app_id, "so.zarn.maps");
  // Until the desktop confirms it, the panel floats in the window: nothing is lost where the
  // desktop never answers.
  EXPECT_TRUE(navigation_in_window(*f.app));
  EXPECT_TRUE(f.painter.window(*f.app).has_text("Navigation"));
}

TEST(NavigationPanel, PressingEndEndsTheRouteWhileFloating) {
  RouteFixture f;
  f.drag_grip_to({600, 300});
  f.painter.window(*f.app);
  const Rect end = f.nav().end_rect();
  f.click(end.x0 + 3, end.y0 + 3);
  EXPECT_EQ(f.commits, (std::vector<MapsAction>{{MapsAction::ClearRoute{}}}));
  EXPECT_FALSE(f.app->pointer.map_press);
}

TEST(NavigationPanel, ZeroHostRectFallsBackToTheBounds) {
  RouteFixture f;
  EXPECT_EQ(f.nav().host_rect_or(f.app->bounds_rect), f.app->bounds_rect);
  f.app->set_host_rect({300, 200, 300, 900});
  EXPECT_EQ(f.nav().host_rect_or(f.app->bounds_rect), f.app->bounds_rect);
  f.app->set_host_rect({300, 200, 1580, 1000});
  EXPECT_EQ(f.nav().host_rect_or(f.app->bounds_rect), (Rect{300, 200, 1580, 1000}));
}

}  // namespace
}  // namespace maps
