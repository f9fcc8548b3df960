#pragma once
// The document's state as it stands, saved beside its history so that loading does not apply
// every change again. The state starts with the heads it was taken at and names its actors
// through a table of its own (sorted by their bytes); objects are listed in id order, so equal
// documents save equal bytes. A loader takes the state only when the history it read has those
// heads and everything in the state fits that history; otherwise it applies the history.

#include <cstdint>
#include <span>
#include <vector>

#include "doc.hpp"

namespace automerge::detail {

// Appends the state of `d`, whose pending change is closed.
void encode_state(const Doc& d, Bytes& out);

// Builds `d` from the history's change bytes (in the order they were applied) and the state.
// `d` must be fresh: the root alone, and its own actor. False when anything does not fit; `d`
// is then to be thrown away.
bool restore_from_state(Doc& d, const std::vector<std::span<const std::uint8_t>>& history,
                        std::span<const std::uint8_t> state);

}  // namespace automerge::detail
