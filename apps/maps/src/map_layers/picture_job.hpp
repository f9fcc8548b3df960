#pragma once
// One picture of the city made off the window's thread, in bands on the pool: the window shows
// the picture it has (scaled) meanwhile and takes the new one when it is done.

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

#include "base/work_pool.hpp"
#include "draw_kit/primitives.hpp"
#include "zarn_ui/image.hpp"

namespace maps {

class PictureJob {
 public:
  // Starts drawing `scene` into a new opaque picture of width x height device pixels, only
  // inside `fresh` (its pixels). A job already running goes on; its picture is not taken.
  void start(base::WorkPool& pool, Scene scene, std::uint32_t width, std::uint32_t height, double device_scale,
             const Rect& fresh);
  // The picture once it is done (empty when it could not be made), taken once; nothing while it
  // is being drawn or when none was started.
  std::optional<zarn_ui::Image> take();
  // Whether the job last started is still being drawn.
  bool running() const;
  // Forgets the job last started: its picture is never taken.
  void forget();
  // Blocks until the job last started is done (for tests and benchmarks).
  void wait() const;

 private:
  struct Slot {
    mutable std::mutex mutex;
    mutable std::condition_variable done_cv;
    bool done = false;
    zarn_ui::Image image;
  };
  std::shared_ptr<Slot> slot_;
};

}  // namespace maps
