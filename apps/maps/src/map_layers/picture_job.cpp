#include "map_layers/picture_job.hpp"

#include <condition_variable>
#include <utility>

#include "zarn_ui/render.hpp"

namespace maps {

void PictureJob::start(base::WorkPool& pool, Scene scene, std::uint32_t width, std::uint32_t height,
                       double device_scale, const Rect& fresh) {
  auto slot = std::make_shared<Slot>();
  slot_ = slot;
  pool.post([&pool, slot, scene = std::move(scene), width, height, device_scale, fresh] {
    const Rect parts[] = {fresh};
    zarn_ui::Image image;
    try {
      image = zarn_ui::render::render_opaque_in_bands(pool, {}, 0, 0, parts, scene, width, height, device_scale);
    } catch (...) {
      image = {};  // an empty picture: the window draws it itself
    }
    {
      std::lock_guard lock(slot->mutex);
      slot->image = std::move(image);
      slot->done = true;
    }
    slot->done_cv.notify_all();
  });
}

std::optional<zarn_ui::Image> PictureJob::take() {
  const std::shared_ptr<Slot> slot = slot_;
  if (!slot) return std::nullopt;
  std::lock_guard lock(slot->mutex);
  if (!slot->done) return std::nullopt;
  slot_.reset();
  return std::move(slot->image);
}

bool PictureJob::running() const {
  if (!slot_) return false;
  std::lock_guard lock(slot_->mutex);
  return !slot_->done;
}

void PictureJob::forget() { slot_.reset(); }

void PictureJob::wait() const {
  if (!slot_) return;
  std::unique_lock lock(slot_->mutex);
  slot_->done_cv.wait(lock, [this] { return slot_->done; });
}

}  // namespace maps
