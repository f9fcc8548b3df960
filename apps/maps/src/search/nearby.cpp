#include "search/nearby.hpp"

#include <algorithm>
#include <utility>

#include "geo/geo.hpp"
#include "search/ranking.hpp"

namespace maps::search {

std::vector<Poi> nearby_pois(const std::vector<Poi>& pois, LatLon reference,
                             const std::optional<std::string>& selected_poi) {
  std::vector<std::pair<double, std::size_t>> by_distance;
  by_distance.reserve(pois.size());
  for (std::size_t i = 0; i < pois.size(); ++i) by_distance.emplace_back(haversine_m(reference, pois[i].pos), i);
  std::stable_sort(by_distance.begin(), by_distance.end(),
                   [](const auto& a, const auto& b) { return distance_before(a.first, b.first); });

  std::vector<Poi> out;
  const std::size_t n = std::min(kNearbyCount, by_distance.size());
  out.reserve(n + 1);
  for (std::size_t i = 0; i < n; ++i) out.push_back(pois[by_distance[i].second]);

  if (!selected_poi) return out;
  const auto has_id = [&](const Poi& p) { return p.id == *selected_poi; };
  if (std::any_of(out.begin(), out.end(), has_id)) return out;
  const auto found = std::find_if(pois.begin(), pois.end(), has_id);
  if (found == pois.end()) return out;
  if (!out.empty()) out.pop_back();
  out.insert(out.begin(), *found);
  return out;
}

}  // namespace maps::search
