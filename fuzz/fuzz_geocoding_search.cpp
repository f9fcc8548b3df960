// Place and area search replies: any value parses without crashing, and every kept hit has a
// finite position and a name.
#include <cmath>
#include <cstdlib>

#include "net/geocoding.hpp"
#include "net_fuzz_json.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto value = maps::fuzzing::reply_value(data, size,
                                                {"lat",
                                                 "lon",
                                                 "display_name",
                                                 "name",
                                                 "address",
                                                 "road",
                                                 "pedestrian",
                                                 "footway",
                                                 "house_number",
                                                 "class",
                                                 "category",
                                                 "type",
                                                 "osm_type",
                                                 "osm_id",
                                                 "boundingbox",
                                                 "48.1",
                                                 "11.5",
                                                 "-0.006",
                                                 "amenity",
                                                 "cafe",
                                                 "1, 2",
                                                 " , 80331, Altstadt",
                                                 ""});
  if (!value) return 0;
  if (auto places = maps::parse_place_search(*value)) {
    for (const auto& p : *places) {
      if (!std::isfinite(p.pos.lat) || !std::isfinite(p.pos.lon) || p.name.empty()) std::abort();
    }
  }
  (void)maps::parse_area_search(*value);
  return 0;
}
