#include <utility>

#include "app/maps_app.hpp"

namespace maps {

void MapsApp::set_status(std::string text, StatusKind kind) {
  model.status = std::move(text);
  status_kind = kind;
}

LocalDateTime MapsApp::now_local() const { return live ? local_now() : demo_clock_now(); }

}  // namespace maps
