// The navigation panel on a real desktop (an X server of the test's own): dragged out of the
// window it gets a borderless window of its own, which shows it, hovers and takes presses; dragged
// back over the window and let go it comes back in; sent out again with "Float navigation", its
// End button, pressed in its own window, ends the route and the window goes.

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "app/construct.hpp"
#include "app/navigation_view.hpp"
#include "base/scoped_env.hpp"
#include "base_testing/private_x_server.hpp"
#include "overlay/map_controls.hpp"
#include "window_script.hpp"
#include "zarn_ui/state.hpp"

namespace maps {
namespace {

using namespace window_testing;

SDL_Window* window_titled(const std::string& title) {
  for (Uint32 id = 1; id < 4096; ++id) {
    SDL_Window* w = SDL_GetWindowFromID(id);
    if (w && title == SDL_GetWindowTitle(w)) return w;
  }
  return nullptr;
}

// A point of the host window in the panel window's own coordinates.
Point in_panel_window(SDL_Window* panel, SDL_Window* host, Point p) {
  int px = 0, py = 0, hx = 0, hy = 0;
  SDL_GetWindowPosition(panel, &px, &py);
  SDL_GetWindowPosition(host, &hx, &hy);
  return {p.x - (px - hx), p.y - (py - hy)};
}

TEST(FloatingNavigationWindow, DetachesTakesEndAndComesBack) {
  base_testing::PrivateXServer server("1920x1200x24");
  ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
  base::ScopedEnv display("DISPLAY", server.display());

  auto app = new_sample_app();
  zarn_ui::state::State state;
  ASSERT_TRUE(app->model.route);
  SDL_Window* host = nullptr;
  const auto panel_window = [] { return window_titled("Active navigation"); };
  Rect dropped;

  Script script({
      {"first frame", nullptr,
       [&](MapsApp& a) {
         host = window_titled("maps");
         return host && a.drawn_bounds.width() > 0 && navigation_docked_visible(a);
       }},
      {"drag the panel out past the right edge",
       [&](MapsApp& a) {
         const Rect grip = a.navigation.drag_rect();
         const int x = static_cast<int>(grip.x0 + 30), y = static_cast<int>(grip.y0 + 12);
         push(motion(x, y));
         push(button(x, y, true));
         push(motion(x + 400, y - 200));
         push(motion(x + 700, y - 300));
         push(button(x + 700, y - 300, false));
       },
       [&](MapsApp& a) {
         SDL_Window* w = panel_window();
         if (!w || !navigation_on_desktop(a) || a.navigation.dragging()) return false;
         // Its window stands where the panel is, just outside the host window.
         int px = 0, py = 0, hx = 0, hy = 0, pw = 0, ph = 0;
         SDL_GetWindowPosition(w, &px, &py);
         SDL_GetWindowPosition(host, &hx, &hy);
         SDL_GetWindowSize(w, &pw, &ph);
         const Rect r = a.navigation.panel_rect(a.bounds_rect);
         EXPECT_EQ(px - hx, static_cast<int>(r.x0 - 8));
         EXPECT_EQ(py - hy, static_cast<int>(r.y0 - 8));
         EXPECT_EQ(pw, 376);
         EXPECT_EQ(ph, 172);
         EXPECT_GT(r.x1, 1280.0);
         return true;
       }},
      {"the window no longer draws it", nullptr,
       [](MapsApp& a) { return !navigation_in_window(a) && !navigation_end_target(a); }},
      {"hover End in its own window",
       [&](MapsApp& a) {
         const Point p = in_panel_window(panel_window(), host, rect_center(a.navigation.end_rect()));
         push(motion(static_cast<int>(p.x), static_cast<int>(p.y), SDL_GetWindowID(panel_window())));
       },
       [](MapsApp& a) { return a.navigation.end_hovered(); }},
      {"drag it back by its grip in its own window and let go over the map",
       [&](MapsApp& a) {
         SDL_Window* w = panel_window();
         const std::uint32_t id = SDL_GetWindowID(w);
         const Rect grip = a.navigation.drag_rect();
         const Point from = in_panel_window(w, host, {grip.x0 + 30, grip.y0 + 12});
         const Point to = in_panel_window(w, host, {640, 300});
         push(motion(static_cast<int>(from.x), static_cast<int>(from.y), id));
         push(button(static_cast<int>(from.x), static_cast<int>(from.y), true, id));
         push(motion(static_cast<int>(to.x), static_cast<int>(to.y), id));
         push(button(static_cast<int>(to.x), static_cast<int>(to.y), false, id));
       },
       [&](MapsApp& a) {
         if (panel_window() || navigation_on_desktop(a) || !navigation_in_window(a)) return false;
         dropped = a.navigation.panel_rect(a.bounds_rect);
         return true;
       }},
      {"back in the window where it was let go", nullptr,
       [&](MapsApp& a) {
         return dropped.x0 == 640 - 30 && dropped.y0 == 300 - 12 && a.navigation.panel_rect(a.bounds_rect) == dropped;
       }},
      {"More", [](MapsApp& a) { click(rect_center(more_button_rect(a.bounds_rect))); },
       [](MapsApp& a) { return a.overflow_menu.is_open(); }},
      {"Float navigation",
       [](MapsApp&) {
         push(key(SDLK_UP));
         push(key(SDLK_RETURN));
       },
       [&](MapsApp& a) { return panel_window() && navigation_on_desktop(a); }},
      {"End in its own window",
       [&](MapsApp& a) {
         SDL_Window* w = panel_window();
         click(in_panel_window(w, host, rect_center(a.navigation.end_rect())), SDL_GetWindowID(w));
       },
       [&](MapsApp& a) { return !a.model.route && !panel_window() && a.navigation.placement().is_docked(); }},
  });

  zarn_ui::launch::LoopOptions opts;
  opts.video_driver = "x11";
  opts.scale = 1.0;
  opts.max_frames = 20000;
  opts.before_frame = [&](std::uint64_t) { script.before_frame(*app); };
  EXPECT_EQ(zarn_ui::launch::run_window(*app, state, "maps", {1280, 800}, opts), 0);
  EXPECT_TRUE(script.finished());
  EXPECT_EQ(script.failure(), "");
}

}  // namespace
}  // namespace maps
