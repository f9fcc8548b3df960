#pragma once
// A saved document taken apart where its state is, so that a fuzz target can damage the state
// and seal it again with a fresh digest (the loader must then judge the state itself), and the
// changes alone, in the form documents were saved in before the state was kept.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "automerge/automerge.hpp"
#include "change_codec.hpp"

namespace fuzz_saved {

using Bytes = std::vector<std::uint8_t>;

struct Split {
  Bytes before_state;  // the header and both change lists
  Bytes state;
};

inline bool skip_list(automerge::detail::Reader& r) {
  std::uint64_t n = 0;
  if (!r.varint(n)) return false;
  for (std::uint64_t i = 0; i < n; ++i) {
    std::uint64_t len = 0;
    std::span<const std::uint8_t> b;
    if (!r.varint(len) || len > r.remaining() || !r.bytes(static_cast<std::size_t>(len), b)) return false;
  }
  return true;
}

// None for anything but a whole document saved with its state.
inline std::optional<Split> split(std::span<const std::uint8_t> saved) {
  if (saved.size() < 5 || saved[4] != 2) return std::nullopt;
  automerge::detail::Reader r(saved.subspan(5));
  if (!skip_list(r) || !skip_list(r)) return std::nullopt;
  const std::size_t before = saved.size() - r.remaining();
  std::uint64_t len = 0;
  std::span<const std::uint8_t> state;
  if (!r.varint(len) || len > r.remaining() || !r.bytes(static_cast<std::size_t>(len), state)) return std::nullopt;
  return Split{Bytes(saved.begin(), saved.begin() + static_cast<std::ptrdiff_t>(before)),
               Bytes(state.begin(), state.end())};
}

inline Bytes seal(const Split& s) {
  Bytes out = s.before_state;
  automerge::detail::put_varint(out, s.state.size());
  out.insert(out.end(), s.state.begin(), s.state.end());
  const automerge::ChangeHash digest = automerge::detail::hash_bytes(s.state);
  out.insert(out.end(), digest.bytes.begin(), digest.bytes.end());
  return out;
}

inline Bytes changes_only(std::span<const std::uint8_t> saved) {
  Bytes out = {'Z', 'D', 'O', 'C', 1};
  auto changes = automerge::AutoCommit::load_changes(saved);
  if (!changes) return out;
  automerge::detail::put_varint(out, changes->size());
  for (const automerge::Change& c : *changes) {
    automerge::detail::put_varint(out, c.bytes.size());
    out.insert(out.end(), c.bytes.begin(), c.bytes.end());
  }
  return out;
}

}  // namespace fuzz_saved
