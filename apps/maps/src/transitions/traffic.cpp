#include "transitions/traffic.hpp"

#include <utility>

#include "sample/synthetic_traffic.hpp"
#include "transitions/session.hpp"

namespace maps {

void set_traffic_enabled(Session& s, bool on) {
  s.backend.traffic.enabled = on;
  if (!on) return;  // the levels are kept, just not drawn
  if (vector_map_empty(s.vector_map)) {
    s.backend.traffic.segments.clear();
    s.backend.traffic.source.reset();
    return;
  }
  SyntheticTraffic traffic = synthetic_traffic(s.vector_map);
  s.backend.traffic.segments = std::move(traffic.segments);
  s.backend.traffic.source = std::move(traffic.source);
}

}  // namespace maps
