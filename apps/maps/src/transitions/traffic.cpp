#include "transitions/traffic.hpp"

#include <utility>

#include "app/maps_app.hpp"
#include "sample/synthetic_traffic.hpp"

namespace maps {

void set_traffic_enabled(MapsApp& app, bool on) {
  app.backend.traffic.enabled = on;
  if (!on) return;  // the levels are kept, just not drawn
  if (vector_map_empty(app.vector_map)) {
    app.backend.traffic.segments.clear();
    app.backend.traffic.source.reset();
    return;
  }
  SyntheticTraffic traffic = synthetic_traffic(app.vector_map);
  app.backend.traffic.segments = std::move(traffic.segments);
  app.backend.traffic.source = std::move(traffic.source);
}

}  // namespace maps
