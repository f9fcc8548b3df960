#pragma once
// One record at a time: none when a required field is missing or a key text is unknown.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "automerge/automerge.hpp"
#include "doc/primitives.hpp"
#include "model/records.hpp"

namespace maps::doc {

struct RecentEntry {
  std::string key;
  std::string text;
  std::uint64_t rank = 0;
};

std::optional<Place> read_place(const automerge::AutoCommit& doc, const automerge::ExId& places,
                                const std::string& key);
std::optional<RecentEntry> read_recent_entry(const automerge::AutoCommit& doc, const automerge::ExId& recents,
                                             const std::string& key);
std::optional<DownloadedRegion> read_region(const automerge::AutoCommit& doc, const automerge::ExId& regions,
                                            const std::string& key);
std::optional<Route> read_route(const automerge::AutoCommit& doc, const automerge::ExId& model);
std::optional<RouteStep> read_route_step(const automerge::AutoCommit& doc, const automerge::ExId& steps,
                                         std::size_t index);
std::optional<TransitJourney> read_transit_journey(const automerge::AutoCommit& doc, const automerge::ExId& transit,
                                                   std::size_t index);
std::optional<TransitLeg> read_transit_leg(const automerge::AutoCommit& doc, const automerge::ExId& legs,
                                           std::size_t index);

// Every readable item of the list at `key`, in list order; unreadable items are skipped and no
// list gives an empty result.
template <class T>
std::vector<T> read_items(const automerge::AutoCommit& doc, const automerge::ExId& obj, std::string_view key,
                          std::optional<T> (*read)(const automerge::AutoCommit&, const automerge::ExId&, std::size_t)) {
  std::vector<T> out;
  auto list = get_list(doc, obj, key);
  if (!list) return out;
  const std::size_t n = doc.length(*list);
  out.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    if (auto item = read(doc, *list, i)) out.push_back(std::move(*item));
  }
  return out;
}

}  // namespace maps::doc
