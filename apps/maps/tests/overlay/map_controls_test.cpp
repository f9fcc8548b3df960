#include "overlay/map_controls.hpp"

#include <gtest/gtest.h>

#include "geo/screen_view.hpp"

namespace maps {
namespace {

using zarn_ui::Rect;

TEST(MapControls, ColumnAndHitTest) {
  const Rect r{0, 0, 1280, 800};
  const auto rects = control_button_rects(r);
  EXPECT_EQ(rects[0], (Rect{1224, 16, 1264, 56}));
  EXPECT_EQ(rects[1], (Rect{1224, 56, 1264, 96}));
  EXPECT_EQ(rects[2], (Rect{1224, 106, 1264, 146}));
  EXPECT_EQ(rects[3], (Rect{1224, 156, 1264, 196}));
  using enum MapControl;
  struct Probe {
    double x, y;
    MapControl hit;
  } probes[] = {
      {1224, 16, ZoomIn},  {1240, 56, ZoomOut},  // the shared edge of zoom in and out belongs to zoom out
      {1264, 30, None},                          // the right edge is outside
      {1240, 100, None},                         // the gap between zoom out and locate
      {1240, 120, Locate}, {1240, 195.9, Traffic}, {1240, 196, None},
  };
  for (const auto& p : probes) EXPECT_EQ(hit_test_controls(r, p.x, p.y), p.hit) << p.x << "," << p.y;
}

}  // namespace
}  // namespace maps
