#pragma once
// Channel<T>: an unbounded multi-producer, single-consumer queue with disconnect on both sides.
// Senders are copied freely (one copy per producer); when the last sender is gone the receiver
// sees "disconnected" once the queue is drained. When the receiver is gone, send() says so.
// The receiver may be given a waker: a function called on the sending thread after each value
// arrives and once the last sender is gone, so that a loop sleeping elsewhere (on window events)
// learns there is something to take. It must be safe to call from any thread and must not block.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

namespace base {

enum class RecvStatus { Value, Empty, Disconnected };

template <class T>
struct TryRecv {
  RecvStatus status = RecvStatus::Empty;
  std::optional<T> value;

  bool has_value() const { return status == RecvStatus::Value; }
};

namespace detail {
template <class T>
struct ChannelCore {
  std::mutex mu;
  std::condition_variable cv;
  std::deque<T> queue;
  std::size_t senders = 0;
  bool receiver_alive = true;
  std::function<void()> waker;
};
}  // namespace detail

template <class T>
class Receiver;

template <class T>
class Sender {
 public:
  Sender() = default;
  explicit Sender(std::shared_ptr<detail::ChannelCore<T>> core) : core_(std::move(core)) { attach(); }
  Sender(const Sender& o) : core_(o.core_) { attach(); }
  Sender(Sender&& o) noexcept : core_(std::move(o.core_)) {}
  Sender& operator=(Sender o) noexcept {
    std::swap(core_, o.core_);
    return *this;
  }
  ~Sender() { detach(); }

  // False when the receiver is gone (the value is dropped) or the sender is empty.
  bool send(T value) const {
    if (!core_) return false;
    std::function<void()> wake;
    {
      std::lock_guard lock(core_->mu);
      if (!core_->receiver_alive) return false;
      core_->queue.push_back(std::move(value));
      wake = core_->waker;
    }
    core_->cv.notify_one();
    if (wake) wake();
    return true;
  }

  bool is_connected() const {
    if (!core_) return false;
    std::lock_guard lock(core_->mu);
    return core_->receiver_alive;
  }

  explicit operator bool() const { return core_ != nullptr; }

 private:
  void attach() {
    if (!core_) return;
    std::lock_guard lock(core_->mu);
    ++core_->senders;
  }
  void detach() {
    if (!core_) return;
    std::function<void()> wake;
    {
      std::lock_guard lock(core_->mu);
      if (--core_->senders == 0 && core_->receiver_alive) wake = core_->waker;
    }
    core_->cv.notify_all();
    core_.reset();
    if (wake) wake();
  }

  std::shared_ptr<detail::ChannelCore<T>> core_;
};

template <class T>
class Receiver {
 public:
  Receiver() = default;
  explicit Receiver(std::shared_ptr<detail::ChannelCore<T>> core) : core_(std::move(core)) {}
  Receiver(const Receiver&) = delete;
  Receiver& operator=(const Receiver&) = delete;
  Receiver(Receiver&& o) noexcept = default;
  Receiver& operator=(Receiver&& o) noexcept {
    if (this != &o) {
      close();
      core_ = std::move(o.core_);
    }
    return *this;
  }
  ~Receiver() { close(); }

  TryRecv<T> try_recv() {
    if (!core_) return {RecvStatus::Disconnected, std::nullopt};
    std::lock_guard lock(core_->mu);
    return take_locked();
  }

  // Blocks until a value arrives; nullopt once every sender is gone and the queue is empty.
  std::optional<T> recv() {
    if (!core_) return std::nullopt;
    std::unique_lock lock(core_->mu);
    core_->cv.wait(lock, [&] { return !core_->queue.empty() || core_->senders == 0; });
    return take_locked().value;
  }

  // Waits at most `timeout`: Value, Empty (time ran out) or Disconnected.
  template <class Rep, class Period>
  TryRecv<T> recv_for(std::chrono::duration<Rep, Period> timeout) {
    if (!core_) return {RecvStatus::Disconnected, std::nullopt};
    std::unique_lock lock(core_->mu);
    core_->cv.wait_for(lock, timeout, [&] { return !core_->queue.empty() || core_->senders == 0; });
    return take_locked();
  }

  // Calls `waker` after every later value and when the last sender goes; calls it at once when
  // a value or the disconnect is already waiting. An empty function removes the waker.
  void set_waker(std::function<void()> waker) {
    if (!core_) return;
    bool waiting = false;
    {
      std::lock_guard lock(core_->mu);
      core_->waker = waker;
      waiting = !core_->queue.empty() || core_->senders == 0;
    }
    if (waiting && waker) waker();
  }
  bool has_waker() const {
    if (!core_) return false;
    std::lock_guard lock(core_->mu);
    return static_cast<bool>(core_->waker);
  }

  explicit operator bool() const { return core_ != nullptr; }

 private:
  TryRecv<T> take_locked() {
    if (!core_->queue.empty()) {
      TryRecv<T> out{RecvStatus::Value, std::move(core_->queue.front())};
      core_->queue.pop_front();
      return out;
    }
    return {core_->senders == 0 ? RecvStatus::Disconnected : RecvStatus::Empty, std::nullopt};
  }
  void close() {
    if (!core_) return;
    std::deque<T> dropped;
    std::function<void()> waker;
    {
      std::lock_guard lock(core_->mu);
      core_->receiver_alive = false;
      dropped.swap(core_->queue);
      waker.swap(core_->waker);
    }
  }

  std::shared_ptr<detail::ChannelCore<T>> core_;
};

template <class T>
std::pair<Sender<T>, Receiver<T>> channel() {
  auto core = std::make_shared<detail::ChannelCore<T>>();
  Sender<T> tx(core);
  Receiver<T> rx(std::move(core));
  return {std::move(tx), std::move(rx)};
}

}  // namespace base
