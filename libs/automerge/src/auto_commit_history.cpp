// Changes, heads, merging and the saved form.
#include <algorithm>
#include <unordered_set>

#include "automerge/automerge.hpp"
#include "doc.hpp"
#include "snapshot.hpp"

namespace automerge {

namespace {

// The saved form: "ZDOC", a version byte, then the changes. Version 1 holds the changes alone;
// version 2 the applied changes, the waiting ones, and the state with a digest of it.
constexpr std::uint8_t kDocMagic[4] = {'Z', 'D', 'O', 'C'};
constexpr std::uint8_t kChangesOnly = 1;
constexpr std::uint8_t kWithState = 2;
// No change encodes in fewer bytes than this; it bounds a count by the input's size.
constexpr std::uint64_t kMinChangeBytes = 12;

Change to_change(const detail::StoredChange& s) { return Change{s.hash, s.bytes}; }

void put_changes(Bytes& out, std::size_t count, auto&& each) {
  detail::put_varint(out, count);
  each([&](const detail::StoredChange& s) {
    detail::put_varint(out, s.bytes.size());
    out.insert(out.end(), s.bytes.begin(), s.bytes.end());
  });
}

// A saved document taken apart, its parts pointing into the bytes.
struct SavedParts {
  std::vector<std::span<const std::uint8_t>> applied;
  std::vector<std::span<const std::uint8_t>> waiting;  // version 1 lists them with the applied ones
  std::span<const std::uint8_t> state;                 // empty for version 1
  bool state_intact = false;                           // whole, and its digest holds
};

bool read_change_list(detail::Reader& r, std::vector<std::span<const std::uint8_t>>& out) {
  std::uint64_t n = 0;
  if (!r.varint(n) || n > r.remaining() / (1 + kMinChangeBytes)) return false;
  out.reserve(static_cast<std::size_t>(n));
  for (std::uint64_t i = 0; i < n; ++i) {
    std::uint64_t len = 0;
    std::span<const std::uint8_t> b;
    if (!r.varint(len) || len < kMinChangeBytes || len > r.remaining() || !r.bytes(static_cast<std::size_t>(len), b)) {
      return false;
    }
    out.push_back(b);
  }
  return true;
}

base::Result<SavedParts> split_saved(std::span<const std::uint8_t> bytes) {
  detail::Reader r(bytes);
  std::uint8_t head[5];
  if (!r.fixed(head) || !std::equal(std::begin(kDocMagic), std::end(kDocMagic), head) ||
      (head[4] != kChangesOnly && head[4] != kWithState)) {
    return base::err("not a saved document");
  }
  SavedParts parts;
  if (!read_change_list(r, parts.applied)) return base::err("malformed document: truncated change");
  if (head[4] == kChangesOnly) {
    if (!r.done()) return base::err("malformed document: trailing bytes");
    return parts;
  }
  if (!read_change_list(r, parts.waiting)) return base::err("malformed document: truncated change");
  // The changes are whole: a state cut short, or followed by anything, is only passed over, and
  // the changes are applied.
  std::uint64_t len = 0;
  ChangeHash digest;
  if (r.varint(len) && len <= r.remaining() && r.bytes(static_cast<std::size_t>(len), parts.state) &&
      r.fixed(digest.bytes) && r.done()) {
    parts.state_intact = detail::hash_bytes(parts.state) == digest;
  }
  return parts;
}

}  // namespace

base::Result<Change> Change::from_bytes(std::span<const std::uint8_t> bytes) {
  auto decoded = detail::decode_change(bytes);
  if (!decoded) return base::err(decoded.error());
  return Change{detail::hash_bytes(bytes), Bytes(bytes.begin(), bytes.end())};
}

std::optional<ChangeHash> AutoCommit::commit() { return d_->commit(); }

std::vector<ChangeHash> AutoCommit::get_heads() {
  d_->commit();
  return d_->heads;
}

const ActorId& AutoCommit::get_actor() const { return d_->actors[d_->self]; }

AutoCommit::Mark AutoCommit::mark() const { return Mark{d_->heads, d_->pending.size()}; }

void AutoCommit::set_actor(ActorId actor) {
  d_->commit();
  d_->self = d_->intern_actor(actor);
}

std::size_t AutoCommit::change_count() const { return d_->history.size(); }

std::vector<Change> AutoCommit::changes_after(std::size_t count) const {
  std::vector<Change> out;
  for (std::size_t i = count; i < d_->history.size(); ++i) out.push_back(to_change(d_->history[i]));
  return out;
}

std::vector<ChangeHash> AutoCommit::change_hashes() const {
  std::vector<ChangeHash> out;
  out.reserve(d_->history.size() + d_->queue.size());
  for (const auto& s : d_->history) out.push_back(s.hash);
  for (const auto& [hash, s] : d_->queue) out.push_back(hash);
  return out;
}

std::vector<Change> AutoCommit::get_changes(const std::vector<ChangeHash>& have) {
  d_->commit();
  // Everything behind `have` is known to the other side; history is in causal order.
  std::unordered_set<ChangeHash> behind;
  std::vector<ChangeHash> stack;
  for (const ChangeHash& h : have) {
    if (d_->by_hash.count(h)) stack.push_back(h);
  }
  while (!stack.empty()) {
    ChangeHash h = stack.back();
    stack.pop_back();
    if (!behind.insert(h).second) continue;
    for (const ChangeHash& dep : d_->history[d_->by_hash.at(h)].deps) stack.push_back(dep);
  }
  std::vector<Change> out;
  for (const auto& s : d_->history) {
    if (!behind.count(s.hash)) out.push_back(to_change(s));
  }
  return out;
}

base::Status AutoCommit::apply_changes(const std::vector<Change>& changes) {
  d_->commit();
  for (const Change& c : changes) {
    // The hash is recomputed: the graph must not trust a hash it was handed.
    if (auto ok = d_->receive(detail::StoredChange{detail::hash_bytes(c.bytes), c.bytes, {}}); !ok) return ok;
  }
  return {};
}

base::Status AutoCommit::apply_change_bytes(std::span<const std::uint8_t> bytes) {
  d_->commit();
  return d_->receive(detail::StoredChange{detail::hash_bytes(bytes), Bytes(bytes.begin(), bytes.end()), {}});
}

std::size_t AutoCommit::queued_count() const { return d_->queue.size(); }

AutoCommit AutoCommit::fork() {
  d_->commit();
  AutoCommit copy(*this);
  copy.d_->self = copy.d_->intern_actor(ActorId::random());
  return copy;
}

base::Status AutoCommit::merge(AutoCommit& other) {
  if (&other == this) return {};
  other.d_->commit();
  d_->commit();
  for (const auto& s : other.d_->history) {
    if (d_->by_hash.count(s.hash)) continue;
    if (auto ok = d_->receive(detail::StoredChange{s.hash, s.bytes, {}}); !ok) return ok;
  }
  for (const auto& [hash, s] : other.d_->queue) {
    if (auto ok = d_->receive(detail::StoredChange{hash, s.bytes, {}}); !ok) return ok;
  }
  return {};
}

Bytes AutoCommit::save() {
  d_->commit();
  Bytes out(std::begin(kDocMagic), std::end(kDocMagic));
  out.push_back(kWithState);
  put_changes(out, d_->history.size(), [&](auto put) {
    for (const auto& s : d_->history) put(s);
  });
  // Waiting changes are kept too, so nothing received is lost by a save.
  put_changes(out, d_->queue.size(), [&](auto put) {
    for (const auto& [hash, s] : d_->queue) put(s);
  });
  Bytes state;
  detail::encode_state(*d_, state);
  detail::put_varint(out, state.size());
  out.insert(out.end(), state.begin(), state.end());
  const ChangeHash digest = detail::hash_bytes(state);
  out.insert(out.end(), digest.bytes.begin(), digest.bytes.end());
  return out;
}

base::Result<std::vector<Change>> AutoCommit::load_changes(std::span<const std::uint8_t> bytes) {
  auto parts = split_saved(bytes);
  if (!parts) return base::err(parts.error());
  std::vector<Change> out;
  out.reserve(parts->applied.size() + parts->waiting.size());
  for (const auto& list : {&parts->applied, &parts->waiting}) {
    for (std::span<const std::uint8_t> b : *list)
      out.push_back(Change{detail::hash_bytes(b), Bytes(b.begin(), b.end())});
  }
  return out;
}

base::Result<AutoCommit> AutoCommit::load(std::span<const std::uint8_t> bytes) {
  auto parts = split_saved(bytes);
  if (!parts) return base::err(parts.error());
  if (parts->state_intact) {
    // The saved state, when it is the state of the history beside it; the changes that wait
    // for others wait again.
    AutoCommit doc;
    if (detail::restore_from_state(*doc.d_, parts->applied, parts->state)) {
      bool taken = true;
      for (std::span<const std::uint8_t> b : parts->waiting) {
        if (!doc.apply_change_bytes(b)) taken = false;
      }
      if (taken) return doc;
    }
  }
  AutoCommit doc;
  for (const auto& list : {&parts->applied, &parts->waiting}) {
    for (std::span<const std::uint8_t> b : *list) {
      if (auto ok = doc.apply_change_bytes(b); !ok) return base::err("malformed document: " + ok.error());
    }
  }
  return doc;
}

}  // namespace automerge
