#pragma once
// A small pool of worker threads for pieces of work that can run side by side (the bands of one
// picture). `run_all` hands out a batch and returns when every piece is done; the calling thread
// runs pieces of its batch too, so a piece may itself call `run_all` without the pool running out
// of threads, and a caller never waits behind another's batch. `post` runs one piece later, for
// work the caller does not wait on.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace base {

class WorkPool {
 public:
  // `threads` workers besides the callers; 0 runs everything on the calling thread.
  explicit WorkPool(std::size_t threads);
  WorkPool(const WorkPool&) = delete;
  WorkPool& operator=(const WorkPool&) = delete;
  // Waits for the pieces already handed out, then ends the workers.
  ~WorkPool();

  // Workers for the machine: one fewer than its cores, at least one, at most `cap`.
  static std::size_t threads_for_cores(std::size_t cap);

  std::size_t threads() const { return workers_.size(); }
  void run_all(std::vector<std::function<void()>> pieces);
  void post(std::function<void()> piece);

 private:
  struct Task {
    std::function<void()> work;
    std::size_t* left = nullptr;  // the batch's count of pieces not done, or null
  };
  // Runs one waiting task of `batch` (any task when null); false when none waits. Takes and
  // gives back `lock`.
  bool run_one(std::unique_lock<std::mutex>& lock, const std::size_t* batch);

  std::mutex mutex_;
  std::condition_variable wake_;  // a task waits, or the pool ends
  std::condition_variable done_;  // a piece of a batch finished
  std::deque<Task> tasks_;
  std::size_t running_ = 0;
  bool stopping_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace base
