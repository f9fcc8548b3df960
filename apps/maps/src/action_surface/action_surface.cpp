#include "action_surface/action_surface.hpp"

#include <utility>

namespace maps {

std::vector<std::string> ActionSurface::action_names() const {
  return {"maps.locate",     "maps.search",   "maps.toggle-traffic", "maps.open-place",
          "maps.directions", "maps.open-poi", "maps.directions-poi"};
}

void ActionSurface::await_locate(const LocateRequestId& id) {
  locate_pending_ = true;
  locate_request_id_ = id;
  result_.reset();
}

std::optional<AsyncActionResult> ActionSurface::take_result(const LocateRequestId& id) {
  if (!locate_pending_ || id != locate_request_id_ || !result_) return std::nullopt;
  locate_pending_ = false;
  return std::exchange(result_, std::nullopt);
}

void ActionSurface::locate_succeeded() {
  if (locate_pending_) result_ = AsyncActionResult::success(locate_request_id_);
}

void ActionSurface::locate_failed(std::string code, std::string message) {
  if (locate_pending_) result_ = AsyncActionResult::failure(locate_request_id_, std::move(code), std::move(message));
}

}  // namespace maps
