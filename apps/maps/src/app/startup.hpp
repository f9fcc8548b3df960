#pragma once
// Start-up: the descriptor handed to the launcher, the launch flags, and the factories.

#include <cstdint>
#include <memory>
#include <utility>

#include "app/maps_app.hpp"
#include "zarn_ui/launch.hpp"

namespace maps {

// The sixteen launch switches, in the descriptor's order, and the one value option.
const std::vector<std::string>& launch_flags();
inline constexpr const char* kPanelOption = "--panel";
inline constexpr const char* kAppId = "so.zarn.maps";

zarn_ui::launch::AppDescriptor maps_descriptor();
// Holds the opening of the HTTP library until the window's first frame shows (the descriptor
// releases it), or half a second at most; `maps_main` calls it before the window opens.
void hold_http_for_first_frame();
int maps_main(int argc, char** argv);

std::unique_ptr<MapsApp> app_from_launch_args(const zarn_ui::launch::LaunchArgs& args);
base::Result<std::unique_ptr<zarn_ui::widget::Widget>> make_app_from_args(const zarn_ui::launch::LaunchArgs& args);
void register_actions(zarn_ui::app::App& app);
std::pair<std::uint32_t, std::uint32_t> default_window_size();

// The demonstration setters, one per launch flag, called in a fixed order.
void apply_launch_travel_mode(MapsApp& app, TravelMode mode);
void apply_launch_endpoint_search(MapsApp& app);
void apply_launch_transit_time(MapsApp& app);
void apply_launch_search(MapsApp& app);
void apply_launch_pois(MapsApp& app);
void apply_launch_traffic(MapsApp& app);
void apply_launch_offline(MapsApp& app);
void apply_launch_context_menu(MapsApp& app);
void apply_launch_attribution(MapsApp& app);
void apply_launch_offline_banner(MapsApp& app);

}  // namespace maps
