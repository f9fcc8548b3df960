#include "transitions/search.hpp"

#include <utility>

#include "app/maps_app.hpp"
#include "model/place_ops.hpp"
#include "search/local_search.hpp"
#include "search/nearby.hpp"
#include "search/ranking.hpp"
#include "search/recents.hpp"
#include "transitions/commit.hpp"
#include "transitions/selection.hpp"

namespace maps {

void submit_search(MapsApp& app, zarn_ui::state::State* state) {
  MapModel& m = app.model;
  auto submission =
      search::prepare_search_submission(m.places, app.backend.view_pois.pois, m.query, origin_or_centre(app));
  if (!submission) return;
  if (!submission->results.empty()) {
    const Place& first = submission->results.front();
    // The first answer may be made from a point of interest; it is stored so that the selection
    // still names a place once the document is read back.
    if (!find_place(app.model, first.id)) keep_place(app, state, first);
    m.selected = first.id;
    m.center = first.pos;
  } else {
    // The card of an earlier selection is no answer to this search.
    m.selected.reset();
  }
  m.results = std::move(submission->results);

  if (state) {
    commit_action(app.model, app.transient, app.commits, *state,
                  MapsAction{MapsAction::CommitSearch{submission->text}});
  } else {
    push_recent_search(app, submission->text);
  }

  m.panel = Panel::Explore;
  app.side_panel.reset_scroll();
  app.search_box.clear_search_suggestions();
  app.panel.expanded = true;

  ask_place_search(app, std::move(submission->text));
}

void ask_place_search(MapsApp& app, std::string text) {
  app.set_status("Searching\u2026", StatusKind::InProgress);
  // A state that is not live starts no job and keeps the count raised.
  if (!app.backend.live) {
    app.backend.start(PlaceSearchJob{std::move(text)});
    return;
  }
  switch (app.backend.place_searches.ask(text)) {
    case LatestSearch::Ask::Send: app.backend.start(PlaceSearchJob{std::move(text)}); break;
    case LatestSearch::Ask::Answered:
      // The answer comes again through the tick, as if the service had sent it.
      app.backend.answer_again(WorkerResult{worker::PlaceSearch{app.backend.place_searches.answer(), std::move(text)}});
      break;
    case LatestSearch::Ask::Joined: break;
  }
}

LatLon origin_or_centre(const MapsApp& app) { return search::origin_or_centre(app.model.origin, app.model.center); }

std::vector<Place> search_local_places(const MapsApp& app, std::string_view query) {
  return search::search_local_places(app.model.places, app.backend.view_pois.pois, query);
}

std::vector<Place> local_search_sorted(const MapsApp& app, std::string_view query) {
  return search::local_search_sorted(app.model.places, app.backend.view_pois.pois, query, origin_or_centre(app));
}

void rank_search_results(std::vector<Place>& places, std::string_view query, const MapsApp& app) {
  search::rank_search_results(places, query, origin_or_centre(app));
}

std::vector<Poi> nearby_pois(const MapsApp& app) {
  return search::nearby_pois(app.backend.view_pois.pois, origin_or_centre(app), app.selected_poi);
}

void push_recent_search(MapsApp& app, std::string_view text) { search::push_recent_search(app.model.recents, text); }

void select_poi(MapsApp& app, const std::string& id) { app.selected_poi = id; }

}  // namespace maps
