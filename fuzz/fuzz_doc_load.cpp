// Arbitrary bytes into the document readers, two ways: as a saved document (load, then read the
// model), and as the stored texts a merged or older document may hold (plans, the journey time,
// the older whole-model entry, a key text). Readers must never crash, and what they read must
// survive a seeding write and read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "automerge/automerge.hpp"
#include "doc/primitives.hpp"
#include "doc/readers.hpp"
#include "doc/schema_keys.hpp"
#include "doc/writers.hpp"

namespace {

using maps::doc::kRootKey;

void check_round_trip(const maps::MapModel& model) {
  automerge::AutoCommit copy;
  maps::doc::save_map_model(copy, model);
  auto again = maps::doc::load_map_model(copy);
  if (!again) std::abort();
  // Non-finite numbers cannot travel through the plan texts, so only compare the record lists.
  if (again->places.size() > model.places.size() || again->regions.size() > model.regions.size()) std::abort();
}

void stored_texts(std::span<const std::uint8_t> data) {
  const std::string text(data.begin(), data.end());
  automerge::AutoCommit doc;
  auto older = doc.put_object(automerge::ROOT, maps::doc::kOlderRootKey, automerge::ObjType::Text);
  if (older && doc.splice_text(*older, 0, 0, text)) (void)maps::doc::load_map_model(doc);
  auto root = maps::doc::maps_root(doc);
  if (!root) return;
  for (std::string_view key : {maps::doc::kRoutePlan, maps::doc::kTransitPlan, maps::doc::kTransitTime}) {
    maps::doc::put_str(doc, *root, key, text);
  }
  maps::doc::write_text(doc, *root, maps::doc::kMode, text);
  maps::doc::maps_action_apply({maps::MapsAction::CommitSearch{text}}, doc);
  auto model = maps::doc::load_map_model(doc);
  if (!model) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  if (auto doc = automerge::AutoCommit::load(bytes)) {
    if (auto model = maps::doc::load_map_model(doc.value())) check_round_trip(*model);
    maps::MapModel hydrated;
    (void)maps::doc::hydrate_state(doc.value(), hydrated);
  }
  stored_texts(bytes);
  return 0;
}
