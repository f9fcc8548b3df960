#pragma once
// The request threads of one spawner. Each is tracked until it is joined, so none outlives its
// owner: the owner stops their work (RequestControl) and `join_all` waits for them. Finished
// threads are joined whenever a new one starts. Used from the owner's thread only.

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace maps {

class RequestThreads {
 public:
  RequestThreads() = default;
  RequestThreads(const RequestThreads&) = delete;
  RequestThreads& operator=(const RequestThreads&) = delete;
  ~RequestThreads() { join_all(); }

  // Runs `body` on a new thread; throws std::system_error when the system refuses one.
  void start(std::function<void()> body);
  void join_all();
  // Threads started and not yet joined (finished ones included until the next start).
  std::size_t size() const { return threads_.size(); }
  // Threads whose body has not returned yet.
  std::size_t running() const;

 private:
  struct Tracked {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };
  std::vector<Tracked> threads_;
};

}  // namespace maps
