#include "base/work_pool.hpp"

#include <algorithm>

namespace base {

namespace {

void run_guarded(const std::function<void()>& work) {
  try {
    work();
  } catch (...) {
    // A piece reports its own failure through what it fills; the pool goes on.
  }
}

}  // namespace

WorkPool::WorkPool(std::size_t threads) {
  workers_.reserve(threads);
  for (std::size_t i = 0; i < threads; ++i) {
    workers_.emplace_back([this] {
      std::unique_lock lock(mutex_);
      while (true) {
        if (run_one(lock, nullptr)) continue;
        if (stopping_) return;
        wake_.wait(lock);
      }
    });
  }
}

WorkPool::~WorkPool() {
  {
    std::unique_lock lock(mutex_);
    // Posted pieces still run: whoever posted them may wait on what they deliver.
    while (run_one(lock, nullptr)) {
    }
    done_.wait(lock, [this] { return tasks_.empty() && running_ == 0; });
    stopping_ = true;
  }
  wake_.notify_all();
  for (std::thread& t : workers_) t.join();
}

std::size_t WorkPool::threads_for_cores(std::size_t cap) {
  const std::size_t cores = std::max<std::size_t>(std::thread::hardware_concurrency(), 2);
  return std::clamp<std::size_t>(cores - 1, 1, std::max<std::size_t>(cap, 1));
}

bool WorkPool::run_one(std::unique_lock<std::mutex>& lock, const std::size_t* batch) {
  auto it = batch ? std::find_if(tasks_.begin(), tasks_.end(), [&](const Task& t) { return t.left == batch; })
                  : tasks_.begin();
  if (it == tasks_.end()) return false;
  Task task = std::move(*it);
  tasks_.erase(it);
  ++running_;
  lock.unlock();
  run_guarded(task.work);
  lock.lock();
  --running_;
  if (task.left) --*task.left;
  done_.notify_all();
  return true;
}

void WorkPool::run_all(std::vector<std::function<void()>> pieces) {
  if (pieces.empty()) return;
  if (workers_.empty()) {
    for (auto& p : pieces) run_guarded(p);
    return;
  }
  std::size_t left = pieces.size();
  std::unique_lock lock(mutex_);
  for (auto& p : pieces) tasks_.push_back({std::move(p), &left});
  wake_.notify_all();
  // The caller runs pieces of its own batch only, so that it never waits behind work it did
  // not ask for.
  while (left > 0) {
    if (!run_one(lock, &left)) done_.wait(lock);
  }
}

void WorkPool::post(std::function<void()> piece) {
  if (workers_.empty()) {
    run_guarded(piece);
    return;
  }
  {
    std::lock_guard lock(mutex_);
    tasks_.push_back({std::move(piece), nullptr});
  }
  wake_.notify_one();
}

}  // namespace base
