#include "transitions/traffic.hpp"

#include <utility>

#include "app/maps_app.hpp"
#include "sample/synthetic_traffic.hpp"

namespace maps {

void set_traffic_enabled(MapsApp& app, bool on) {
  app.traffic_enabled = on;
  if (!on) return;  // the levels are kept, just not drawn
  if (vector_map_empty(app.vector_map)) {
    app.traffic_segments.clear();
    app.traffic_source.reset();
    return;
  }
  SyntheticTraffic traffic = synthetic_traffic(app.vector_map);
  app.traffic_segments = std::move(traffic.segments);
  app.traffic_source = std::move(traffic.source);
}

}  // namespace maps
