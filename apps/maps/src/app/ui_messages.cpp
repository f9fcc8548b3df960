#include "app/ui_messages.hpp"

#include <type_traits>
#include <variant>

#include "app/maps_app.hpp"
#include "app/offline_panel_view.hpp"
#include "navigation/navigation_steps.hpp"
#include "transitions/messages.hpp"
#include "transitions/selection.hpp"

namespace maps {
namespace {

void handle_search_box(MapsApp& app, const SearchBoxEvent& event, zarn_ui::state::State& state) {
  std::visit(
      [&](const auto& e) {
        using E = std::decay_t<decltype(e)>;
        if constexpr (std::is_same_v<E, SearchBoxEvent::Opened>) {
          app.search_box.open();
        } else if constexpr (std::is_same_v<E, SearchBoxEvent::Cleared>) {
          app.search_box.clear_search_suggestions();
          app.model.query.clear();
          app.model.results.clear();
        } else if constexpr (std::is_same_v<E, SearchBoxEvent::SuggestionChosen>) {
          const auto chosen = app.search_box.suggestion(e.index);
          if (!chosen) return;
          const Place place = *chosen;
          app.search_box.close_search_suggestions();
          SessionScope s(app);
          s->commit(state, MapsAction{MapsAction::UpsertPlaces{{place}}});
          app.model.query = place.name;
          s->commit(state, MapsAction{MapsAction::CommitSearch{place.name}});
          select_place(s, place.id);
        }
      },
      event.value);
}

}  // namespace

void route_message(MapsApp& app, const UiMessage& message, zarn_ui::state::State& state) {
  const auto& m = message.value;
  if (std::holds_alternative<msg::ToggleOverflowMenu>(m)) {
    app.overflow_menu.toggle(app.bounds_rect);
  } else if (std::holds_alternative<msg::OpenAttribution>(m)) {
    app.dialog.open_attribution_dialog(false);
  } else if (std::holds_alternative<msg::OpenLicenses>(m)) {
    app.dialog.open_attribution_dialog(true);
  } else if (std::holds_alternative<msg::OpenOfflineMaps>(m)) {
    open_offline_panel(app);
  } else if (std::holds_alternative<msg::FloatNavigation>(m)) {
    float_navigation(app);
  } else if (const auto* offline = std::get_if<msg::Offline>(&m)) {
    offline_panel_action(app, offline->command, state);
  } else if (const auto* area = std::get_if<msg::AskAreaSearch>(&m)) {
    app.backend.start(AreaSearchJob{area->query});
  } else if (const auto* search_box = std::get_if<msg::SearchBox>(&m)) {
    handle_search_box(app, search_box->event, state);
  } else {
    handle_ui_message(app.session(), message, state);
  }
}

}  // namespace maps
