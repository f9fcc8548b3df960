// Arbitrary payload bytes through the "maps.action" decoder: a decode error or an action object
// whose application to a fresh document never fails and whose encoding decodes to the same action.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "automerge/automerge.hpp"
#include "doc/action_path.hpp"
#include "doc/readers.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto decoded =
      maps::doc::decode_action_payload(maps::doc::kMapsActionType, std::span<const std::uint8_t>(data, size));
  if (decoded.is_err()) {
    if (decoded.error().type_name != maps::doc::kMapsActionType) std::abort();
    return 0;
  }
  const auto* object = dynamic_cast<const maps::doc::MapsActionObject*>(decoded.value().get());
  if (object == nullptr) std::abort();
  automerge::AutoCommit doc;
  object->apply(doc);
  (void)maps::doc::load_map_model(doc);
  (void)object->debug_text();
  auto encoded = maps::doc::encode_action_payload(maps::doc::kMapsActionType, object->action());
  if (encoded.is_err()) std::abort();
  // A read never yields a non-finite number, so no null stands where a number was: the encoding
  // of a decoded action must decode to that same action.
  auto again = maps::doc::decode_action_payload(maps::doc::kMapsActionType, encoded.value().payload);
  if (again.is_err()) std::abort();
  const auto* second = dynamic_cast<const maps::doc::MapsActionObject*>(again.value().get());
  if (second == nullptr || !(second->action() == object->action())) std::abort();
  return 0;
}
