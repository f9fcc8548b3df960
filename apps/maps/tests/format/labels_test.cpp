#include "format/labels.hpp"

#include <gtest/gtest.h>

#include <string_view>

namespace maps {
namespace {

TEST(Labels, TravelModes) {
  EXPECT_EQ(travel_mode_label(TravelMode::Car), "Drive");
  EXPECT_EQ(travel_mode_label(TravelMode::Transit), "Transit");
  EXPECT_EQ(travel_mode_label(TravelMode::Bike), "Cycle");
  EXPECT_EQ(travel_mode_label(TravelMode::Foot), "Walk");
}

TEST(Labels, TransitModes) {
  EXPECT_EQ(transit_mode_label(TransitMode::Walk), "Walk");
  EXPECT_EQ(transit_mode_label(TransitMode::Bus), "Bus");
  EXPECT_EQ(transit_mode_label(TransitMode::Tram), "Tram");
  EXPECT_EQ(transit_mode_label(TransitMode::Subway), "Metro");
  EXPECT_EQ(transit_mode_label(TransitMode::Rail), "Train");
  EXPECT_EQ(transit_mode_label(TransitMode::Ferry), "Ferry");
}

TEST(Labels, ManeuverGlyphsAreOneThreeByteCharacter) {
  const struct {
    Maneuver m;
    std::string_view utf8;
  } cases[] = {
      {Maneuver::Depart, "\xE2\x97\x89"},       // U+25C9
      {Maneuver::Continue, "\xE2\x86\x91"},     // U+2191
      {Maneuver::SlightLeft, "\xE2\x86\x96"},   // U+2196
      {Maneuver::Left, "\xE2\x86\x90"},         // U+2190
      {Maneuver::SharpLeft, "\xE2\x86\xA9"},    // U+21A9
      {Maneuver::SlightRight, "\xE2\x86\x97"},  // U+2197
      {Maneuver::Right, "\xE2\x86\x92"},        // U+2192
      {Maneuver::SharpRight, "\xE2\x86\xAA"},   // U+21AA
      {Maneuver::Uturn, "\xE2\x87\xA9"},        // U+21E9
      {Maneuver::Roundabout, "\xE2\x86\xBB"},   // U+21BB
      {Maneuver::Merge, "\xE2\x86\x91"},        // U+2191, as Continue
      {Maneuver::Arrive, "\xE2\x9A\x91"},       // U+2691
  };
  for (const auto& c : cases) {
    EXPECT_EQ(maneuver_glyph(c.m), c.utf8) << static_cast<int>(c.m);
    EXPECT_EQ(maneuver_glyph(c.m).size(), 3u);
  }
}

TEST(Labels, CountsTakeTheSingularForOneOnly) {
  EXPECT_EQ(counted(0, "stop", "stops"), "0 stops");
  EXPECT_EQ(counted(1, "stop", "stops"), "1 stop");
  EXPECT_EQ(counted(2, "result", "results"), "2 results");
  EXPECT_EQ(counted(4294967297ull, "tile", "tiles"), "4294967297 tiles");
}

}  // namespace
}  // namespace maps
