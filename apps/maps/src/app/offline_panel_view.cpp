#include "app/offline_panel_view.hpp"

#include "app/maps_app.hpp"
#include "app/ui_messages.hpp"
#include "offline_panel/offline_commands.hpp"
#include "offline_panel/offline_panel_input.hpp"
#include "offline_panel/offline_panel_tick.hpp"
#include "zarn_ui/system_clipboard.hpp"

namespace maps {

namespace {

// The area field pastes from the system's clipboard, whatever the window's.
zarn_ui::widgets::EventCtx area_field_ctx(std::uint32_t modifiers, double scale) {
  return {modifiers, scale, &zarn_ui::launch::system_clipboard()};
}

}  // namespace

void open_offline_panel(MapsApp& app) { open_offline_panel(app.offline_panel, app.session()); }

void offline_panel_action(MapsApp& app, const OfflineCommand& command, zarn_ui::state::State& state) {
  offline_panel_command(app.offline_panel, app.session(), state, command);
}

bool offline_panel_press(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers,
                         zarn_ui::state::State& state, double scale, zarn_ui::Point p) {
  const OfflinePress press =
      offline_panel_press(app.offline_panel, event, area_field_ctx(modifiers, scale), app.backend.now(), p);
  if (press.message) route_message(app, *press.message, state);
  return press.handled;
}

void offline_panel_key(MapsApp& app, const zarn_ui::widget::Event& event, const zarn_ui::widget::Key& key,
                       std::uint32_t modifiers, double scale) {
  offline_panel_key(app.offline_panel, event, key, area_field_ctx(modifiers, scale), app.backend.now());
}

void offline_area_event(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers, double scale) {
  app.offline_panel.area_search_event(event, area_field_ctx(modifiers, scale), app.backend.now());
}

void fire_area_search_deadline(MapsApp& app, zarn_ui::state::State& state) {
  if (const auto message = offline_panel_tick(app.offline_panel, app.backend.now())) {
    route_message(app, *message, state);
  }
}

void apply_offline_cache_jobs(MapsApp& app) { apply_offline_cache_jobs(app.offline_panel, app.session()); }

}  // namespace maps
