#include "transitions/selection.hpp"

#include "app/maps_app.hpp"
#include "model/place_ops.hpp"
#include "transitions/commit.hpp"

namespace maps {

void select_place(MapsApp& app, const std::string& id) {
  const bool changed = app.model.selected != id;
  app.model.selected = id;
  // The destination and the emptied journey list are written through the overlay so that the
  // next hydration does not take them back before a plan is committed.
  if (auto place = find_place(app.model, id)) {
    app.transient.set_dest(app.model, place->pos, place->name);
    app.model.center = place->pos;
  }
  if (changed) {
    app.transient.set_transit(app.model, {});
    app.model.transit_choice = 0;
  }
  app.panel.expanded = true;
}

void set_destination_from_selection(MapsApp& app) {
  if (auto place = selected_place(app.model)) app.transient.set_dest(app.model, place->pos, place->name);
}

void keep_place(MapsApp& app, zarn_ui::state::State* state, const Place& place) {
  upsert_place(app.model, place);
  if (state)
    commit_action(app.model, app.transient, app.commits, *state, MapsAction{MapsAction::UpsertPlaces{{place}}});
}

void toggle_selected_saved(MapsApp& app, zarn_ui::state::State& state) {
  if (!app.model.selected) return;
  const std::string id = *app.model.selected;
  const auto place = find_place(app.model, id);
  const bool saved = place ? !place->saved : true;
  commit_action(app.model, app.transient, app.commits, state, MapsAction{MapsAction::SetPlaceSaved{id, saved}});
  for (Place& p : app.model.places) {
    if (p.id == id) {
      p.saved = saved;
      break;
    }
  }
}

}  // namespace maps
