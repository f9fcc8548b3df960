// Presses reach the markers that were drawn: a kept point of interest is selected where its
// disc is, one that the declutter step left out takes no press.

#include <gtest/gtest.h>

#include "app_input_fixture.hpp"
#include "map_layers/markers.hpp"
#include "sample/sample_data.hpp"

namespace maps {
namespace {

using input_testing::AppFixture;

Camera camera_of(const MapsApp& app) { return view_camera(app.bounds_rect, app.model.center, app.model.zoom); }

Point screen_of(const MapsApp& app, const Poi& poi) { return camera_project(camera_of(app), poi.pos.lat, poi.pos.lon); }

TEST(MarkerPress, SelectsTheMarkerUnderThePointer) {
  AppFixture f;
  f.model().center = {48.1381, 11.577};
  f.model().zoom = 16.7;
  f.app->backend.view_pois.pois = sample_pois();
  const Poi& cafe = f.app->backend.view_pois.pois.front();
  const Point p = screen_of(*f.app, cafe);
  // The disc is 9 px wide from zoom 16; the press reaches 6 px beyond it.
  EXPECT_TRUE(f.click(p.x + 14.9, p.y));
  EXPECT_EQ(f.app->selected_poi, cafe.id);
  // Just beyond it lies the bare map, which clears the selection.
  f.app->selected_poi = f.app->backend.view_pois.pois.back().id;
  EXPECT_TRUE(f.click(p.x + 15.1, p.y));
  EXPECT_FALSE(f.app->selected_poi);
}

TEST(MarkerPress, ALeftOutPointTakesNoPress) {
  AppFixture f;
  f.model().zoom = 15.0;
  const Camera camera = camera_of(*f.app);
  const Point c = map_viewport_center(f.app->bounds_rect);
  Poi shop;
  shop.id = "shop";
  shop.category = Category::Shop;
  shop.pos = camera_unproject(camera, c.x, c.y);
  Poi landmark = shop;
  landmark.id = "landmark";
  landmark.category = Category::Landmark;
  landmark.pos = camera_unproject(camera, c.x + 12, c.y);
  f.app->backend.view_pois.pois = {shop, landmark};
  ASSERT_EQ(poi_marker_layout(camera, f.app->backend.view_pois.pois, f.app->selected_poi), std::vector<std::size_t>{1});

  // The shop's own spot lies 12 px from the landmark, beyond its reach of 4.5 + 6.
  f.click(c.x, c.y);
  EXPECT_FALSE(f.app->selected_poi);
  f.click(c.x + 2, c.y);
  EXPECT_EQ(f.app->selected_poi, "landmark");
}

}  // namespace
}  // namespace maps
