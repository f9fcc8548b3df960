#include "app/startup.hpp"

#include <gtest/gtest.h>

#include "app/construct.hpp"
#include "sample/sample_data.hpp"

namespace maps {
namespace {

using zarn_ui::launch::LaunchArgs;

std::unique_ptr<MapsApp> from(std::vector<std::string> argv) {
  auto args = LaunchArgs::parse(argv, launch_flags(), {kPanelOption});
  EXPECT_TRUE(args.is_ok()) << (args.is_ok() ? "" : args.error());
  return app_from_launch_args(*args);
}

TEST(Descriptor, CarriesTheAppsIdentityFlagsAndCallbacks) {
  const auto d = maps_descriptor();
  EXPECT_EQ(d.app_id, "so.zarn.maps");
  ASSERT_EQ(d.launch_flags.size(), 16u);
  EXPECT_EQ(d.launch_flags.front(), "--nav-closed");
  EXPECT_EQ(d.launch_flags.back(), "--floating-navigation-returned");
  EXPECT_EQ(d.value_options, std::vector<std::string>{"--panel"});
  EXPECT_TRUE(d.default_factory && d.args_factory && d.render_shot && d.register_actions && d.window_size &&
              d.persist_open);
  EXPECT_EQ(default_window_size(), (std::pair<std::uint32_t, std::uint32_t>{1280, 800}));
}

TEST(Descriptor, RegistersTheMapsActionDecoder) {
  zarn_ui::app::App app;
  maps_descriptor().register_actions(app);
  EXPECT_TRUE(app.action_registry().contains("maps.action"));
  const std::string payload = R"({"SetTravelMode":{"mode":"Bike"}})";
  auto decoded = app.action_registry().decode(
      "maps.action", std::span(reinterpret_cast<const std::uint8_t*>(payload.data()), payload.size()));
  EXPECT_TRUE(decoded.is_ok());
}

TEST(Construction, TheThreeStates) {
  auto empty = new_empty_app();
  EXPECT_FALSE(empty->backend.live);
  EXPECT_TRUE(empty->panel.expanded);
  EXPECT_EQ(empty->model, default_map_model());
  EXPECT_TRUE(vector_map_empty(empty->vector_map));
  EXPECT_FALSE(empty->backend.tiles.request.has_value());

  auto sample = new_sample_app();
  EXPECT_FALSE(sample->backend.live);
  EXPECT_TRUE(sample->panel.expanded);
  EXPECT_EQ(sample->model, sample_map_model());
  EXPECT_FALSE(vector_map_empty(sample->vector_map));

  // Widgets as built.
  EXPECT_EQ(sample->search_box.input().placeholder(), "Search places, addresses…");
  EXPECT_EQ(sample->search_box.input().text_size, 15.0f);
  EXPECT_EQ(sample->endpoint_editor.input(EndpointField::Origin).placeholder(), "Choose starting point");
  EXPECT_EQ(sample->endpoint_editor.input(EndpointField::Destination).placeholder(), "Choose destination");
  EXPECT_EQ(sample->endpoint_editor.input(EndpointField::Destination).text_size, 13.0f);
  EXPECT_EQ(sample->endpoint_editor.active(), EndpointField::None);
  ASSERT_EQ(sample->overflow_menu.items().size(), 4u);
  EXPECT_EQ(sample->overflow_menu.items()[0].label, "Attribution");
  EXPECT_EQ(sample->overflow_menu.items()[3].label, "Float navigation");
  EXPECT_FALSE(sample->overflow_menu.is_open());
  EXPECT_EQ(sample->offline_panel.area_input().id(), "maps_download_search");
  EXPECT_EQ(sample->offline_panel.area_input().placeholder(), "Search a city or place to download");
  EXPECT_EQ(sample->navigation.placement().panel_size, (zarn_ui::Size{360, 156}));
  EXPECT_TRUE(sample->navigation.placement().is_docked());
  EXPECT_EQ(sample->type_name(), "MapsApp");
  EXPECT_EQ(sample->widget_id(), "maps_app");
}

TEST(Construction, ADemonstrationStateReadsNineOClockOfToday) {
  auto app = new_empty_app();
  EXPECT_EQ(app->now_local().format_hm(), "09:00");
}

TEST(LaunchFlags, PanelValues) {
  struct Case {
    const char* value;
    Panel panel;
    TravelMode mode;
  } cases[] = {
      {"explore", Panel::Explore, TravelMode::Car},
      {"directions", Panel::Directions, TravelMode::Car},
      {" Transit ", Panel::Directions, TravelMode::Transit},
      {"\u2003TRANSIT\t", Panel::Directions, TravelMode::Transit},
      {"map", Panel::Explore, TravelMode::Car},
      {"", Panel::Explore, TravelMode::Car},
      {"trän", Panel::Explore, TravelMode::Car},
  };
  for (const auto& c : cases) {
    auto app = from({"--empty", "--panel", c.value});
    EXPECT_EQ(app->model.panel, c.panel) << c.value;
    EXPECT_EQ(app->model.mode, c.mode) << c.value;
  }
  // Transit clears the sample's road route.
  EXPECT_TRUE(from({})->model.route.has_value());
  EXPECT_FALSE(from({"--panel", "transit"})->model.route.has_value());
}

TEST(LaunchFlags, FlagsApplyInOrderOnTheChosenState) {
  EXPECT_FALSE(from({"--nav-closed"})->panel.expanded);
  auto plain = from({"--floating-navigation"});
  EXPECT_EQ(plain->model, sample_map_model());
  EXPECT_TRUE(plain->panel.expanded);

  auto arrive = from({"--transit-arrive"});
  EXPECT_EQ(arrive->model.panel, Panel::Directions);
  EXPECT_EQ(arrive->model.mode, TravelMode::Transit);
  EXPECT_FALSE(arrive->model.route.has_value());
  EXPECT_EQ(arrive->model.transit_time, (TransitTime{TransitTimeMode::Arrive, 60}));
  EXPECT_EQ(arrive->model.transit, sample_map_model().transit);  // no journey search started

  auto pois = from({"--empty", "--pois"});
  EXPECT_TRUE(pois->model.places.empty());
  EXPECT_EQ(pois->backend.view_pois.pois, sample_pois());
  EXPECT_EQ(pois->selected_poi, "osm-node-203");
  EXPECT_EQ(pois->model.zoom, 16.7);

  auto traffic = from({"--traffic"});
  EXPECT_TRUE(traffic->backend.traffic.enabled);
  EXPECT_FALSE(traffic->backend.traffic.segments.empty());
  EXPECT_EQ(traffic->backend.traffic.source, "sample data");
  auto no_traffic_data = from({"--empty", "--traffic"});
  EXPECT_TRUE(no_traffic_data->backend.traffic.segments.empty());
  EXPECT_FALSE(no_traffic_data->backend.traffic.source.has_value());

  EXPECT_EQ(from({"--error"})->model.status, "Map imagery unavailable offline — reconnect and try again");

  // The menu opens against the corner of a 1280 x 800 window: 16 px from the right, 52 px up.
  EXPECT_FALSE(plain->overflow_menu.is_open());
  auto menu = from({"--menu"});
  ASSERT_TRUE(menu->overflow_menu.is_open());
  EXPECT_DOUBLE_EQ(menu->overflow_menu.rect().x1, 1280 - 16);
  EXPECT_DOUBLE_EQ(menu->overflow_menu.rect().y1, 800 - 52);
  // "--panel" runs before the setters: "--transit-arrive" wins over "--panel explore".
  EXPECT_EQ(from({"--panel", "explore", "--transit-arrive"})->model.panel, Panel::Directions);
}

}  // namespace
}  // namespace maps
