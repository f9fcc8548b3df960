#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "json_fixtures.hpp"
#include "model/json_codec.hpp"

namespace maps {
namespace {

TEST(ActionDebugText, VariantsAndNestedRecords) {
  using A = MapsAction;
  const std::vector<std::pair<MapsAction, std::string>> cases = {
      {{A::ClearRoute{}}, "ClearRoute"},
      {{A::SetPlaceSaved{"cafe \"1\"", true}}, R"(SetPlaceSaved { id: "cafe \"1\"", saved: true })"},
      {{A::SetTransitTime{{TransitTimeMode::Arrive, -30}}},
       "SetTransitTime { value: TransitTime { mode: Arrive, offset_min: -30 } }"},
      {{A::AddRegion{testing::region()}},
       R"(AddRegion(DownloadedRegion { id: "region-demo-1", name: "Altstadt", min: LatLon { lat: 48.13, lon: 11.56 }, )"
       R"(max: LatLon { lat: 48.15, lon: 11.59 }, z0: 12, z1: 16, tiles: 420 }))"},
      {{A::UpsertPlaces{}}, "UpsertPlaces { places: [] }"},
      {{A::SetRoute{Route{TravelMode::Foot, 1.0, std::nan(""), {{1, 2}}, {}, {}, {1e-7, 1e16}}, LatLon{0.5, 3}, "a\nb",
                    std::nullopt, "", TravelMode::Foot}},
       "SetRoute { route: Route { mode: Foot, distance_m: 1.0, duration_s: NaN, geometry: [LatLon { lat: 1.0, "
       "lon: 2.0 }], steps: [], from: LatLon { lat: 0.0, lon: 0.0 }, to: LatLon { lat: 1e-7, lon: 1e16 } }, "
       R"(origin: Some(LatLon { lat: 0.5, lon: 3.0 }), origin_name: "a\nb", dest: None, dest_name: "", mode: Foot })"},
  };
  for (const auto& [action, want] : cases) EXPECT_EQ(maps_action_debug_text(action), want);

  const std::string transit =
      maps_action_debug_text({A::SetTransit{{testing::journey()}, std::nullopt, "Map centre", LatLon{1, 1}, "Zoo"}});
  EXPECT_NE(transit.find(R"(color: Some("e30613"), text_color: None, agency: "MVG", realtime: true })"),
            std::string::npos)
      << transit;
  EXPECT_EQ(transit.rfind(R"(dest_name: "Zoo" })"), transit.size() - 18);
}

}  // namespace
}  // namespace maps
