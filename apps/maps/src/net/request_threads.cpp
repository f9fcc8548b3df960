#include "net/request_threads.hpp"

#include <algorithm>
#include <utility>

namespace maps {

void RequestThreads::start(std::function<void()> body) {
  // Threads that have finished their body are only moments from ending: joining them is quick.
  const auto finished = std::remove_if(threads_.begin(), threads_.end(), [](Tracked& t) {
    if (!t.done->load(std::memory_order_acquire)) return false;
    t.thread.join();
    return true;
  });
  threads_.erase(finished, threads_.end());

  // Room first: a thread that started must always find its place in the list.
  threads_.reserve(threads_.size() + 1);
  auto done = std::make_shared<std::atomic<bool>>(false);
  std::thread thread([body = std::move(body), done]() noexcept {
    try {
      body();
    } catch (...) {
    }
    done->store(true, std::memory_order_release);
  });
  threads_.push_back(Tracked{std::move(thread), std::move(done)});
}

std::size_t RequestThreads::running() const {
  return static_cast<std::size_t>(std::count_if(
      threads_.begin(), threads_.end(), [](const Tracked& t) { return !t.done->load(std::memory_order_acquire); }));
}

void RequestThreads::join_all() {
  for (auto& t : threads_) {
    if (t.thread.joinable()) t.thread.join();
  }
  threads_.clear();
}

}  // namespace maps
