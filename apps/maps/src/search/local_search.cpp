#include "search/local_search.hpp"

#include <algorithm>
#include <string>

#include "base/text.hpp"
#include "search/categories.hpp"
#include "search/ranking.hpp"
#include "search/text_case.hpp"

namespace maps::search {
namespace {

bool lower_contains(std::string_view text, std::string_view lower_query) {
  return lower_case_text(text).find(lower_query) != std::string::npos;
}

bool listed(const std::vector<Place>& list, const std::string& id) {
  return std::any_of(list.begin(), list.end(), [&](const Place& p) { return p.id == id; });
}

}  // namespace

bool place_text_matches(std::string_view lower_query, const Place& place) {
  return lower_contains(place.name, lower_query) || lower_contains(place.address, lower_query) ||
         lower_contains(category_label(place.category), lower_query);
}

bool place_category_matches(std::string_view lower_query, const Place& place) {
  return matches_category_keywords(lower_query, place.category);
}

bool poi_matches(std::string_view lower_query, const Poi& poi) {
  return lower_contains(poi.name, lower_query) || lower_contains(poi.address, lower_query) ||
         lower_contains(category_label(poi.category), lower_query) ||
         (poi.kind && lower_contains(*poi.kind, lower_query)) || matches_category_keywords(lower_query, poi.category);
}

std::vector<Place> search_local_places(const std::vector<Place>& places, const std::vector<Poi>& pois,
                                       std::string_view query) {
  const std::string q = lower_case_text(base::trim_white_space(query));
  std::vector<Place> out;
  if (q.empty()) return out;
  for (const Place& p : places) {
    if (place_text_matches(q, p)) out.push_back(p);
  }
  if (out.empty()) {
    for (const Place& p : places) {
      if (place_category_matches(q, p)) out.push_back(p);
    }
  }
  for (const Poi& poi : pois) {
    if (listed(out, poi.id) || !poi_matches(q, poi)) continue;
    out.push_back(Place{poi.id, poi.name, poi.category, poi.address, poi.pos, false});
  }
  return out;
}

std::vector<Place> local_search_sorted(const std::vector<Place>& places, const std::vector<Poi>& pois,
                                       std::string_view query, LatLon reference) {
  std::vector<Place> out = search_local_places(places, pois, query);
  rank_search_results(out, query, reference);
  return out;
}

std::optional<SearchSubmission> prepare_search_submission(const std::vector<Place>& places,
                                                          const std::vector<Poi>& pois, std::string_view query,
                                                          LatLon reference) {
  const std::string_view trimmed = base::trim_white_space(query);
  if (trimmed.empty()) return std::nullopt;
  return SearchSubmission{std::string(trimmed), local_search_sorted(places, pois, trimmed, reference)};
}

}  // namespace maps::search
