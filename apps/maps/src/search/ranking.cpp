#include "search/ranking.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>
#include <utility>

#include "geo/geo.hpp"
#include "search/match_rank.hpp"
#include "search/text_case.hpp"

namespace maps::search {
namespace {

MatchRank rank_folded(const std::string& fq, const std::string& fn) {
  if (fq.empty() || fn == fq) return MatchRank::Exact;
  if (fn.starts_with(fq)) return MatchRank::Prefix;
  if (fn.find(fq) != std::string::npos) return MatchRank::Substring;
  return MatchRank::Other;
}

struct Ranked {
  MatchRank rank;
  double distance_m;
  std::string folded_name;
  std::size_t index;
};

}  // namespace

LatLon origin_or_centre(const std::optional<LatLon>& origin, LatLon center) { return origin ? *origin : center; }

bool distance_before(double a, double b) {
  if (std::isnan(a)) return false;
  if (std::isnan(b)) return true;
  if (a == b) return std::signbit(a) && !std::signbit(b);
  return a < b;
}

void sort_and_dedup_results(std::vector<Place>& places, LatLon reference, std::string_view query) {
  const std::string fq = fold_search_text(query);
  std::vector<Ranked> ranked;
  ranked.reserve(places.size());
  for (std::size_t i = 0; i < places.size(); ++i) {
    std::string fn = fold_search_text(places[i].name);
    const MatchRank rank = rank_folded(fq, fn);
    ranked.push_back({rank, haversine_m(reference, places[i].pos), std::move(fn), i});
  }
  std::stable_sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
    if (a.rank != b.rank) return a.rank < b.rank;
    return distance_before(a.distance_m, b.distance_m);
  });

  std::vector<Place> kept;
  kept.reserve(places.size());
  std::vector<std::pair<const std::string*, LatLon>> seen;
  for (const Ranked& r : ranked) {
    const LatLon pos = places[r.index].pos;
    const bool duplicate = std::any_of(seen.begin(), seen.end(), [&](const auto& s) {
      return *s.first == r.folded_name && haversine_m(s.second, pos) < kNearDuplicateM;
    });
    if (duplicate) continue;
    seen.emplace_back(&r.folded_name, pos);
    kept.push_back(std::move(places[r.index]));
  }
  places = std::move(kept);
}

}  // namespace maps::search
