// Control with "=" or "-" zooms the map by one step per press, in a window fed what X11 sends
// for such a press: the key event, then its text.

#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>

#include "app/construct.hpp"
#include "zarn_ui/launch.hpp"
#include "zarn_ui/state.hpp"

namespace maps {
namespace {

void push_press_with_control(SDL_Keycode key) {
  SDL_Event down{};
  down.type = SDL_KEYDOWN;
  down.key.keysym.sym = key;
  down.key.keysym.mod = KMOD_LCTRL;
  SDL_PushEvent(&down);
  SDL_Event text{};
  text.type = SDL_TEXTINPUT;
  text.text.text[0] = static_cast<char>(key);
  SDL_PushEvent(&text);
  SDL_Event up = down;
  up.type = SDL_KEYUP;
  SDL_PushEvent(&up);
}

TEST(ZoomKeys, ControlEqualsAndControlMinusZoomOneStepEach) {
  auto app = new_empty_app();
  zarn_ui::state::State state;
  double start = 0, after_in = 0, after_out = 0;
  zarn_ui::launch::LoopOptions opts;
  opts.video_driver = "dummy";
  opts.max_frames = 200;
  // The first frame always runs; each zoom arms the view-idle deadline, which wakes the next.
  opts.before_frame = [&](std::uint64_t frame) {
    if (frame == 0) {
      start = app->model.zoom;
      push_press_with_control(SDLK_EQUALS);
    } else if (frame == 1) {
      after_in = app->model.zoom;
      push_press_with_control(SDLK_MINUS);
      push_press_with_control(SDLK_MINUS);
    } else if (frame == 2) {
      after_out = app->model.zoom;
      SDL_Event quit{};
      quit.type = SDL_QUIT;
      SDL_PushEvent(&quit);
    }
  };
  EXPECT_EQ(zarn_ui::launch::run_window(*app, state, "zoom keys", {1280, 800}, opts), 0);
  EXPECT_NEAR(after_in - start, 1.0, 1e-9);
  EXPECT_NEAR(after_out - after_in, -2.0, 1e-9);
}

}  // namespace
}  // namespace maps
