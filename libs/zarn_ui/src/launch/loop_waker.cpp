#include "loop_waker.hpp"

#include <atomic>
#include <mutex>

namespace zarn_ui::launch {

struct LoopWaker::Shared {
  std::mutex mu;
  bool active = true;  // false once the loop is gone
  std::atomic<bool> pending{false};
  Uint32 type = static_cast<Uint32>(-1);

  void wake() {
    if (pending.exchange(true)) return;  // an event is already on its way
    std::lock_guard lock(mu);
    if (!active || type == static_cast<Uint32>(-1)) return;
    SDL_Event e{};
    e.type = type;
    if (SDL_PushEvent(&e) != 1) pending = false;  // a full or filtered queue: let the next one try
  }
};

LoopWaker::LoopWaker() : shared_(std::make_shared<Shared>()) { shared_->type = SDL_RegisterEvents(1); }

LoopWaker::~LoopWaker() {
  std::lock_guard lock(shared_->mu);
  shared_->active = false;
}

bool LoopWaker::ok() const { return shared_->type != static_cast<Uint32>(-1); }

std::function<void()> LoopWaker::wake_function() const {
  return [shared = shared_] { shared->wake(); };
}

bool LoopWaker::is_wake(const SDL_Event& e) const { return ok() && e.type == shared_->type; }

void LoopWaker::taken() { shared_->pending = false; }

}  // namespace zarn_ui::launch
