#pragma once
// Wakes the window loop from any thread: a function that pushes one SDL user event, so that a
// loop asleep in SDL_WaitEvent runs its next frame when a background answer arrives. Wake-ups
// that come before the loop has taken the last one are folded into it; once the loop ends the
// function does nothing, however long a worker keeps a copy.

#include <SDL.h>

#include <functional>
#include <memory>

namespace zarn_ui::launch {

class LoopWaker {
 public:
  // Registers the event type; the video subsystem must be open.
  LoopWaker();
  // Ends every copy of the wake function.
  ~LoopWaker();
  LoopWaker(const LoopWaker&) = delete;
  LoopWaker& operator=(const LoopWaker&) = delete;

  // False when SDL had no event type left to give: nothing can wake the loop then.
  bool ok() const;
  std::function<void()> wake_function() const;
  bool is_wake(const SDL_Event& e) const;
  // The loop took the wake-up: the next one pushes an event again. Call before reading the
  // channels, so that no answer arrives unannounced.
  void taken();

  struct Shared;

 private:
  std::shared_ptr<Shared> shared_;
};

}  // namespace zarn_ui::launch
