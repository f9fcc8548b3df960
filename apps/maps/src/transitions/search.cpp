#include "transitions/search.hpp"

#include <utility>

#include "model/place_ops.hpp"
#include "search/local_search.hpp"
#include "search/nearby.hpp"
#include "search/ranking.hpp"
#include "search/recents.hpp"
#include "transitions/commit.hpp"
#include "transitions/selection.hpp"
#include "transitions/session.hpp"
#include "transitions/view.hpp"

namespace maps {

void submit_search(Session& s, zarn_ui::state::State* state) {
  MapModel& m = s.model;
  auto submission =
      search::prepare_search_submission(m.places, s.backend.view_pois.pois, m.query, origin_or_centre(s.model));
  if (!submission) return;
  if (!submission->results.empty()) {
    const Place& first = submission->results.front();
    // The first answer may be made from a point of interest; it is stored so that the selection
    // still names a place once the document is read back.
    if (!find_place(s.model, first.id)) keep_place(s, state, first);
    m.selected = first.id;
    centre_view_on(s, first.pos);
  } else {
    // The card of an earlier selection is no answer to this search.
    m.selected.reset();
  }
  m.results = std::move(submission->results);

  if (state) {
    commit_action(s.model, s.transient, s.commits, *state, MapsAction{MapsAction::CommitSearch{submission->text}});
  } else {
    push_recent_search(s, submission->text);
  }

  m.panel = Panel::Explore;
  s.requests.push_back(view_request::ResetPanelScroll{});
  s.requests.push_back(view_request::ClearSearchSuggestions{});
  s.panel.expanded = true;

  ask_place_search(s, std::move(submission->text));
}

void ask_place_search(Session& s, std::string text) {
  s.set_status("Searching\u2026", StatusKind::InProgress);
  // A state that is not live starts no job and keeps the count raised.
  if (!s.backend.live) {
    s.backend.start(PlaceSearchJob{std::move(text)});
    return;
  }
  switch (s.backend.place_searches.ask(text)) {
    case LatestSearch::Ask::Send: s.backend.start(PlaceSearchJob{std::move(text)}); break;
    case LatestSearch::Ask::Answered:
      // The answer comes again through the tick, as if the service had sent it.
      s.backend.answer_again(WorkerResult{worker::PlaceSearch{s.backend.place_searches.answer(), std::move(text)}});
      break;
    case LatestSearch::Ask::Joined: break;
  }
}

LatLon origin_or_centre(const MapModel& model) { return search::origin_or_centre(model.origin, model.center); }

std::vector<Place> search_local_places(const MapModel& model, const Backend& backend, std::string_view query) {
  return search::search_local_places(model.places, backend.view_pois.pois, query);
}

std::vector<Place> local_search_sorted(const MapModel& model, const Backend& backend, std::string_view query) {
  return search::local_search_sorted(model.places, backend.view_pois.pois, query, origin_or_centre(model));
}

void rank_search_results(std::vector<Place>& places, std::string_view query, const MapModel& model) {
  search::rank_search_results(places, query, origin_or_centre(model));
}

std::vector<Poi> nearby_pois(const MapModel& model, const Backend& backend,
                             const std::optional<std::string>& selected_poi) {
  return search::nearby_pois(backend.view_pois.pois, origin_or_centre(model), selected_poi);
}

void push_recent_search(Session& s, std::string_view text) { search::push_recent_search(s.model.recents, text); }

void select_poi(Session& s, const std::string& id) { s.selected_poi = id; }

}  // namespace maps
