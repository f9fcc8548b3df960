#include "geo/screen_view.hpp"

#include <gtest/gtest.h>

namespace maps {
namespace {

TEST(ScreenView, CameraAndVisibleBox) {
  const Rect b{0, 0, 1280, 800};
  const LatLon c{48.1371, 11.5754};
  const Camera cam = view_camera(b, c, 14.4);
  EXPECT_EQ(cam.screen_x, 640);
  EXPECT_EQ(cam.screen_y, 400);
  const GeoBox box = visible_bounds(b, c, 14.4);
  EXPECT_LT(box.min_lat, c.lat);
  EXPECT_GT(box.max_lat, c.lat);
  EXPECT_LT(box.min_lon, c.lon);
  EXPECT_GT(box.max_lon, c.lon);
  // Symmetric in longitude about the centre.
  EXPECT_NEAR(c.lon - box.min_lon, box.max_lon - c.lon, 1e-9);
}

}  // namespace
}  // namespace maps
