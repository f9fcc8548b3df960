// The overlay in a window (SDL's dummy driver), used as a person would: the controls act and
// show their tooltips after the delay; "More" opens the menu, the arrow keys and Enter choose,
// Escape closes; the attribution and licences dialogs open and close; the navigation panel is
// dragged to float in the window, "Float navigation" keeps it there where the window system
// gives no second window, and its End button ends the route.

#include <gtest/gtest.h>

#include "app/construct.hpp"
#include "app/navigation_view.hpp"
#include "geo/screen_view.hpp"
#include "overlay/map_controls.hpp"
#include "window_script.hpp"
#include "zarn_ui/state.hpp"

namespace maps {
namespace {

using namespace window_testing;
using namespace std::chrono_literals;

Point centre_of(const Rect& r) { return rect_center(r); }

TEST(OverlayWindow, ControlsMenuDialogsAndTheFloatingPanel) {
  auto app = new_sample_app();
  zarn_ui::state::State state;
  ASSERT_TRUE(app->model.route);
  const Rect window{0, 0, 1280, 800};
  double zoom = 0;
  std::chrono::steady_clock::time_point hovered_at;
  Rect panel_before;

  const auto more = [&](MapsApp&) { click(centre_of(more_button_rect(window))); };
  const auto control = [&](MapControl c) { return centre_of(control_button_rect(window, c)); };
  const auto keys = [](std::vector<SDL_Keycode> ks) {
    return [ks](MapsApp&) {
      for (SDL_Keycode k : ks) push(key(k));
    };
  };

  Script script({
      {"first frame", nullptr, [](MapsApp& a) { return a.drawn_bounds.width() > 0; }},
      {"hover zoom in",
       [&](MapsApp&) {
         const Point p = control(MapControl::ZoomIn);
         push(motion(static_cast<int>(p.x), static_cast<int>(p.y)));
         hovered_at = std::chrono::steady_clock::now();
       },
       [](MapsApp& a) { return a.overlay.hovered_control() == MapControl::ZoomIn; }},
      {"its tooltip comes up after the delay", nullptr,
       [&](MapsApp& a) {
         if (!a.overlay.tooltips().shown()) return false;
         EXPECT_GE(std::chrono::steady_clock::now() - hovered_at, zarn_ui::widgets::TooltipHost::kDelay);
         EXPECT_EQ(a.overlay.tooltips().target()->text, "Zoom in");
         return true;
       }},
      {"zoom in",
       [&](MapsApp& a) {
         zoom = a.model.zoom;
         click(control(MapControl::ZoomIn));
       },
       [&](MapsApp& a) { return std::abs(a.model.zoom - (zoom + 1.0)) < 1e-9; }},
      {"traffic on", [&](MapsApp&) { click(control(MapControl::Traffic)); },
       [](MapsApp& a) { return a.backend.traffic.enabled; }},
      {"More opens the menu", more, [](MapsApp& a) { return a.overflow_menu.is_open(); }},
      {"Down, Enter: Attribution", keys({SDLK_DOWN, SDLK_RETURN}),
       [](MapsApp& a) { return a.dialog.kind() == DialogKind::Attribution && !a.overflow_menu.is_open(); }},
      {"its Close button", [](MapsApp& a) { click(centre_of(a.dialog.modal().primary_rect())); },
       [](MapsApp& a) { return !a.dialog.is_open(); }},
      {"More again", more, [](MapsApp& a) { return a.overflow_menu.is_open(); }},
      {"Up twice, Enter: Licenses", keys({SDLK_UP, SDLK_UP, SDLK_RETURN}),
       [](MapsApp& a) { return a.dialog.kind() == DialogKind::Licenses; }},
      {"Escape closes it", keys({SDLK_ESCAPE}), [](MapsApp& a) { return !a.dialog.is_open(); }},
      {"More, then Escape", more, [](MapsApp& a) { return a.overflow_menu.is_open(); }},
      {"Escape closes the menu", keys({SDLK_ESCAPE}), [](MapsApp& a) { return !a.overflow_menu.is_open(); }},
      {"drag the panel by its grip",
       [&](MapsApp& a) {
         panel_before = a.navigation.panel_rect(a.bounds_rect);
         const Rect grip = a.navigation.drag_rect();
         const int x = static_cast<int>(grip.x0 + 30), y = static_cast<int>(grip.y0 + 12);
         push(motion(x, y));
         push(button(x, y, true));
         push(motion(x - 200, y - 300));
         push(motion(x - 250, y - 350));
         push(button(x - 250, y - 350, false));
       },
       [&](MapsApp& a) {
         return !a.navigation.placement().is_docked() && !a.navigation.dragging() &&
                a.navigation.panel_rect(a.bounds_rect) == panel_before.translate({-250, -350});
       }},
      {"More, Float navigation", more, [](MapsApp& a) { return a.overflow_menu.is_open(); }},
      {"Up, Enter", keys({SDLK_UP, SDLK_RETURN}), [](MapsApp& a) { return !a.overflow_menu.is_open(); }},
      {"no second window here: the panel floats in the window", nullptr,
       [&](MapsApp& a) {
         // Given a few frames to answer, the desktop gave no surface: nothing is lost.
         return !a.navigation.surface_request() && navigation_in_window(a) &&
                a.navigation.panel_rect(a.bounds_rect) == panel_before.translate({-250, -350});
       }},
      {"End", [](MapsApp& a) { click(centre_of(a.navigation.end_rect())); },
       [](MapsApp& a) { return !a.model.route && a.navigation.placement().is_docked(); }},
  });

  zarn_ui::launch::LoopOptions opts;
  opts.video_driver = "dummy";
  opts.max_frames = 20000;
  opts.before_frame = [&](std::uint64_t) { script.before_frame(*app); };
  EXPECT_EQ(zarn_ui::launch::run_window(*app, state, "maps", {1280, 800}, opts), 0);
  EXPECT_TRUE(script.finished());
  EXPECT_EQ(script.failure(), "");
}

}  // namespace
}  // namespace maps
