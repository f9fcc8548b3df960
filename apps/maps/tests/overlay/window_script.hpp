#pragma once
// Drives the window loop through a script of steps: each step pushes SDL events (as a user's
// pointer and keys would make them) and then waits, frame by frame, for the state to show what
// the step should have done. A step that does not get there in time fails the script. Between
// steps a user event keeps the loop turning, so an idle window does not sleep on the script.

#include <SDL.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/maps_app.hpp"
#include "zarn_ui/launch.hpp"

namespace maps::window_testing {

inline void push(SDL_Event e) { SDL_PushEvent(&e); }

inline SDL_Event key(SDL_Keycode k) {
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.keysym.sym = k;
  return e;
}

inline SDL_Event motion(int x, int y, std::uint32_t window = 0) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.windowID = window;
  e.motion.x = x;
  e.motion.y = y;
  return e;
}

inline SDL_Event button(int x, int y, bool down, std::uint32_t window = 0) {
  SDL_Event e{};
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.windowID = window;
  e.button.button = SDL_BUTTON_LEFT;
  e.button.x = x;
  e.button.y = y;
  return e;
}

inline void click(Point p, std::uint32_t window = 0) {
  const int x = static_cast<int>(p.x), y = static_cast<int>(p.y);
  push(motion(x, y, window));
  push(button(x, y, true, window));
  push(button(x, y, false, window));
}

struct Step {
  std::string what;
  std::function<void(MapsApp&)> act;
  std::function<bool(MapsApp&)> done;
  std::chrono::milliseconds limit{3000};
};

class Script {
 public:
  explicit Script(std::vector<Step> steps) : steps_(std::move(steps)) {}

  // Runs before every frame; asks the loop to quit once the script is over or has failed.
  void before_frame(MapsApp& app) {
    if (finished_) return;
    if (next_ >= steps_.size()) return finish();
    Step& step = steps_[next_];
    if (!acted_) {
      acted_ = true;
      started_ = std::chrono::steady_clock::now();
      if (step.act) step.act(app);
      return nudge();
    }
    if (!step.done || step.done(app)) {
      ++next_;
      acted_ = false;
      return nudge();
    }
    if (std::chrono::steady_clock::now() - started_ > step.limit) {
      failure_ = "step " + std::to_string(next_) + " (" + step.what + ") did not get there";
      return finish();
    }
    nudge();
  }

  bool finished() const { return finished_; }
  const std::string& failure() const { return failure_; }
  std::size_t steps_done() const { return next_; }

 private:
  static void nudge() {
    SDL_Delay(2);
    SDL_Event e{};
    e.type = SDL_USEREVENT;
    SDL_PushEvent(&e);
  }
  void finish() {
    finished_ = true;
    SDL_Event q{};
    q.type = SDL_QUIT;
    SDL_PushEvent(&q);
  }

  std::vector<Step> steps_;
  std::size_t next_ = 0;
  bool acted_ = false;
  std::chrono::steady_clock::time_point started_;
  bool finished_ = false;
  std::string failure_;
};

}  // namespace maps::window_testing
