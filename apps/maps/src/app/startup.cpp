#include "app/startup.hpp"
#include "app/shot.hpp"

#include <algorithm>
#include <utility>
#include <vector>

#include "app/construct.hpp"
#include "base/text.hpp"
#include "doc/action_path.hpp"
#include "geo/geo.hpp"
#include "net/curl_library.hpp"
#include "sample/sample_data.hpp"
#include "search/local_search.hpp"
#include "search/ranking.hpp"
#include "transitions/traffic.hpp"
#include "zarn_ui/persist.hpp"

namespace maps {
namespace {

// Trims Unicode white space from both ends and lowers ASCII letters.
std::string normalise_panel_value(const std::string& text) { return base::ascii_lower(base::trim_white_space(text)); }

}  // namespace

const std::vector<std::string>& launch_flags() {
  static const std::vector<std::string> kFlags = {"--nav-closed",
                                                  "--empty",
                                                  "--edit-from",
                                                  "--transit-arrive",
                                                  "--search",
                                                  "--pois",
                                                  "--traffic",
                                                  "--offline",
                                                  "--menu",
                                                  "--attribution",
                                                  "--error",
                                                  "--floating-navigation",
                                                  "--floating-navigation-attached",
                                                  "--floating-navigation-hover",
                                                  "--floating-navigation-returning",
                                                  "--floating-navigation-returned"};
  return kFlags;
}

std::unique_ptr<MapsApp> app_from_launch_args(const zarn_ui::launch::LaunchArgs& args) {
  std::unique_ptr<MapsApp> app = args.has("--empty") ? new_empty_app() : new_sample_app();
  if (args.has("--nav-closed")) app->panel.expanded = false;
  if (auto value = args.value(kPanelOption)) {
    const std::string v = normalise_panel_value(*value);
    if (v == "explore") {
      app->model.panel = Panel::Explore;
    } else if (v == "directions") {
      app->model.panel = Panel::Directions;
    } else if (v == "transit") {
      app->model.panel = Panel::Directions;
      apply_launch_travel_mode(*app, TravelMode::Transit);
    }
  }
  if (args.has("--edit-from")) apply_launch_endpoint_search(*app);
  if (args.has("--transit-arrive")) apply_launch_transit_time(*app);
  if (args.has("--search")) apply_launch_search(*app);
  if (args.has("--pois")) apply_launch_pois(*app);
  if (args.has("--traffic")) apply_launch_traffic(*app);
  if (args.has("--offline")) apply_launch_offline(*app);
  if (args.has("--menu")) apply_launch_context_menu(*app);
  if (args.has("--attribution")) apply_launch_attribution(*app);
  if (args.has("--error")) apply_launch_offline_banner(*app);
  return app;
}

base::Result<std::unique_ptr<zarn_ui::widget::Widget>> make_app_from_args(const zarn_ui::launch::LaunchArgs& args) {
  return std::unique_ptr<zarn_ui::widget::Widget>(app_from_launch_args(args));
}

void register_actions(zarn_ui::app::App& app) { doc::register_maps_action(app.action_registry_mut()); }

std::pair<std::uint32_t, std::uint32_t> default_window_size() { return {1280, 800}; }

zarn_ui::launch::AppDescriptor maps_descriptor() {
  zarn_ui::launch::AppDescriptor d;
  d.app_id = kAppId;
  d.title = "Maps";
  d.launch_flags = launch_flags();
  d.value_options = {kPanelOption};
  d.default_factory = &make_default_app;
  d.args_factory = &make_app_from_args;
  d.render_shot = &render_shot;
  d.register_actions = &register_actions;
  d.window_size = &default_window_size;
  d.persist_open = &zarn_ui::persist::open;
  d.first_frame_shown = &release_curl_library;
  return d;
}

void hold_http_for_first_frame() { hold_curl_library(std::chrono::milliseconds(500)); }

int maps_main(int argc, char** argv) {
  // The HTTP and TLS stack is set up by the first request, on its own thread, once the first
  // frame shows: loaded with the program, or beside the first frame, it would delay that frame.
  hold_http_for_first_frame();
  const zarn_ui::launch::AppDescriptor descriptor = maps_descriptor();
  zarn_ui::launch::run_or_exit(descriptor, argc, argv);
}

void apply_launch_travel_mode(MapsApp& app, TravelMode mode) {
  app.model.mode = mode;
  app.model.panel = Panel::Directions;
  if (mode == TravelMode::Transit) app.model.route.reset();
}

void apply_launch_transit_time(MapsApp& app) {
  app.model.panel = Panel::Directions;
  app.model.mode = TravelMode::Transit;
  app.model.route.reset();
  app.model.transit_time = {TransitTimeMode::Arrive, 60};
}

void apply_launch_pois(MapsApp& app) {
  app.backend.view_pois.pois = sample_pois();
  app.selected_poi = "osm-node-203";
  app.model.center = {48.1381, 11.577};
  app.model.zoom = 16.7;
  app.model.selected.reset();
  app.model.route.reset();
  app.model.results.clear();
  app.model.query.clear();
  app.model.panel = Panel::Explore;
}

void apply_launch_traffic(MapsApp& app) { set_traffic_enabled(app.session(), true); }

void apply_launch_context_menu(MapsApp& app) {
  // Placed as the menu toggle places it in a 1280 x 800 window, whatever size is drawn.
  app.bounds_rect = {0, 0, 1280, 800};
  app.overflow_menu.open_overflow_menu(app.bounds_rect);
}

// The panel open over the sample regions, as if "Mün" had been typed and answered.
void apply_launch_offline(MapsApp& app) {
  app.model.panel = Panel::Explore;
  app.model.selected.reset();
  app.model.route.reset();
  app.model.regions = sample_regions();
  app.offline_panel.show_demonstration("M\u00fcn", sample_offline_places(), 47'542'000);
}

void apply_launch_attribution(MapsApp& app) { app.dialog.open_attribution_dialog(false); }

void apply_launch_offline_banner(MapsApp& app) {
  app.set_status("Map imagery unavailable offline — reconnect and try again", StatusKind::Failure);
}

void apply_launch_endpoint_search(MapsApp& app) {
  app.model.panel = Panel::Directions;
  app.model.origin_query = "hauptbahnhof";
  app.endpoint_editor.begin_endpoint_edit(EndpointField::Origin);
  app.endpoint_editor.set_endpoint_suggestions(
      EndpointField::Origin,
      search::search_local_places(app.model.places, app.backend.view_pois.pois, app.model.origin_query));
}

void apply_launch_search(MapsApp& app) {
  app.model.panel = Panel::Explore;
  app.search_box.open();
  app.model.query = "Marienplatz";
  const LatLon reference = search::origin_or_centre(app.model.origin, app.model.center);
  std::vector<Place> places = app.model.places;
  std::stable_sort(places.begin(), places.end(), [&](const Place& a, const Place& b) {
    return search::distance_before(haversine_m(a.pos, reference), haversine_m(b.pos, reference));
  });
  app.search_box.set_search_suggestions(std::move(places));
}

}  // namespace maps
