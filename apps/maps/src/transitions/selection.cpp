#include "transitions/selection.hpp"

#include <optional>

#include "model/place_ops.hpp"
#include "transitions/commit.hpp"
#include "transitions/plans.hpp"
#include "transitions/session.hpp"
#include "transitions/view.hpp"

namespace maps {

bool select_place(Session& s, const std::string& id) {
  const bool changed = s.model.selected != id;
  const std::optional<LatLon> dest_before = s.model.dest;
  s.model.selected = id;
  // The destination and the emptied journey list are written through the overlay so that the
  // next hydration does not take them back before a plan is committed.
  if (auto place = find_place(s.model, id)) {
    s.transient.set_dest(s.model, place->pos, place->name);
    centre_view_on(s, place->pos);
  }
  if (changed) {
    s.transient.set_transit(s.model, {});
    s.model.transit_choice = 0;
  }
  s.panel.expanded = true;
  // The directions on screen lead where their fields say: a place picked there (on the map or
  // from the search box) is the new destination, and its plan is asked for.
  if (s.model.panel != Panel::Directions || s.model.dest == dest_before) return false;
  request_plan(s);
  return true;
}

void set_destination_from_selection(Session& s) {
  if (auto place = selected_place(s.model)) s.transient.set_dest(s.model, place->pos, place->name);
}

void keep_place(Session& s, zarn_ui::state::State* state, const Place& place) {
  upsert_place(s.model, place);
  if (state) s.commit(*state, MapsAction{MapsAction::UpsertPlaces{{place}}});
}

void toggle_selected_saved(Session& s, zarn_ui::state::State& state) {
  if (!s.model.selected) return;
  const std::string id = *s.model.selected;
  const auto place = find_place(s.model, id);
  const bool saved = place ? !place->saved : true;
  s.commit(state, MapsAction{MapsAction::SetPlaceSaved{id, saved}});
  for (Place& p : s.model.places) {
    if (p.id == id) {
      p.saved = saved;
      break;
    }
  }
}

}  // namespace maps
