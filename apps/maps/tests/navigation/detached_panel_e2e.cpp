// The navigation panel detached to the desktop on an X server of the test's own: when another
// program destroys the panel's window, the app goes on and the panel comes back into the window,
// as when its window is closed.

#include <gtest/gtest.h>

#include "../overlay/window_script.hpp"
#include "app/construct.hpp"
#include "app/navigation_view.hpp"
#include "base/scoped_env.hpp"
#include "base_testing/private_x_server.hpp"
#include "base_testing/x_windows.hpp"
#include "zarn_ui/state.hpp"

namespace maps {
namespace {

using namespace window_testing;

TEST(DetachedPanel, AWindowAnotherProgramDestroysComesBackIntoTheApp) {
  base_testing::PrivateXServer x("1600x1000x24");
  ASSERT_FALSE(x.display().empty()) << "Xvfb did not start";
  base::ScopedEnv display("DISPLAY", x.display());
  const base_testing::XConnection other(x.display());
  ASSERT_TRUE(other.ok());
  auto app = new_sample_app();
  ASSERT_TRUE(app->model.route);
  zarn_ui::state::State state;
  std::vector<base_testing::XWindowId> panel_windows;

  Script script({
      {"first frame", nullptr, [](MapsApp& a) { return a.drawn_bounds.width() > 0; }},
      {"Float navigation: the panel gets a window of its own", [](MapsApp& a) { float_navigation(a); },
       [&](MapsApp& a) {
         panel_windows = other.windows_named("Active navigation", true);
         return navigation_on_desktop(a) && panel_windows.size() == 1;
       }},
      {"another program destroys that window", [&](MapsApp&) { other.destroy(panel_windows.at(0)); },
       [&](MapsApp& a) {
         return !navigation_on_desktop(a) && navigation_in_window(a) &&
                other.windows_named("Active navigation", false).empty();
       }},
      {"the app goes on: the panel can be sent out again", [](MapsApp& a) { float_navigation(a); },
       [&](MapsApp& a) {
         return navigation_on_desktop(a) && other.windows_named("Active navigation", true).size() == 1;
       }},
  });
  zarn_ui::launch::LoopOptions opts;
  opts.video_driver = "x11";
  opts.max_frames = 20000;
  opts.before_frame = [&](std::uint64_t) { script.before_frame(*app); };
  EXPECT_EQ(zarn_ui::launch::run_window(*app, state, "maps", {1280, 800}, opts), 0);
  EXPECT_TRUE(script.finished());
  EXPECT_EQ(script.failure(), "");
}

}  // namespace
}  // namespace maps
