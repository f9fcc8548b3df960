#include "app/construct.hpp"

#include "sample/demo_city.hpp"
#include "sample/sample_data.hpp"

namespace maps {
namespace {

zarn_ui::widgets::TextInput make_text_input(float text_size, std::string placeholder) {
  auto input = zarn_ui::widgets::TextInput::local().with_kind(2);
  input.text_size = text_size;
  input.select_on_focus = true;
  input.submit_on_enter = true;
  input.set_placeholder(std::move(placeholder));
  return input;
}

}  // namespace

std::unique_ptr<MapsApp> build_maps_app(MapModel model, VectorMap vector_map, TileStore tile_store, bool panel_expanded,
                                        bool live) {
  // MapsApp is large and owned by the framework through a box, so build it in place.
  auto app = std::make_unique<MapsApp>();
  app->offline_disk_usage = tile_disk_usage(tile_store);

  app->search_input = make_text_input(15.0f, "Search places, addresses…");
  app->origin_input = make_text_input(13.0f, "Choose starting point");
  app->dest_input = make_text_input(13.0f, "Choose destination");
  for (const char* item : {"Attribution", "Offline maps", "Licenses", "Float navigation"}) {
    app->overflow_menu.push({item});
  }
  app->area_search = zarn_ui::widgets::Autocomplete::create()
                         .with_id("maps_download_search")
                         .with_placeholder("Search a city or place to download");
  app->area_search.text_size = 14.0f;

  app->model = std::move(model);
  app->vector_map = std::move(vector_map);
  app->tile_store = std::move(tile_store);
  app->panel_expanded = panel_expanded;
  app->live = live;
  return app;
}

std::unique_ptr<MapsApp> new_live_app() {
  return build_maps_app(default_map_model(), VectorMap{}, open_tile_store(), false, true);
}

std::unique_ptr<MapsApp> new_empty_app() {
  return build_maps_app(default_map_model(), VectorMap{}, open_offline_tile_store(), true, false);
}

std::unique_ptr<MapsApp> new_sample_app() {
  return build_maps_app(sample_map_model(), demo_city_geometry(), open_offline_tile_store(), true, false);
}

std::unique_ptr<zarn_ui::widget::Widget> make_default_app() { return new_live_app(); }

}  // namespace maps
