// Changes, heads, merging and the saved form.
#include <algorithm>
#include <unordered_set>

#include "automerge/automerge.hpp"
#include "doc.hpp"

namespace automerge {

namespace {

constexpr std::uint8_t kDocMagic[4] = {'Z', 'D', 'O', 'C'};
constexpr std::uint8_t kDocVersion = 1;

Change to_change(const detail::StoredChange& s) { return Change{s.hash, s.bytes}; }

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
  out.push_back(kDocVersion);
  // Waiting changes are kept too, so nothing received is lost by a save.
  detail::put_varint(out, d_->history.size() + d_->queue.size());
  auto put = [&](const detail::StoredChange& s) {
    detail::put_varint(out, s.bytes.size());
    out.insert(out.end(), s.bytes.begin(), s.bytes.end());
  };
  for (const auto& s : d_->history) put(s);
  for (const auto& [hash, s] : d_->queue) put(s);
  return out;
}

base::Result<std::vector<Change>> AutoCommit::load_changes(std::span<const std::uint8_t> bytes) {
  detail::Reader r(bytes);
  std::uint8_t head[5];
  if (!r.fixed(head) || !std::equal(std::begin(kDocMagic), std::end(kDocMagic), head) || head[4] != kDocVersion) {
    return base::err("not a saved document");
  }
  // No change encodes in fewer bytes than this; it bounds the count by the input's size.
  constexpr std::uint64_t kMinChangeBytes = 12;
  std::uint64_t n = 0;
  if (!r.varint(n) || n > r.remaining() / (1 + kMinChangeBytes)) return base::err("malformed document: change count");
  std::vector<Change> out;
  out.reserve(static_cast<std::size_t>(n));
  for (std::uint64_t i = 0; i < n; ++i) {
    std::uint64_t len = 0;
    std::span<const std::uint8_t> b;
    if (!r.varint(len) || len < kMinChangeBytes || len > r.remaining() || !r.bytes(static_cast<std::size_t>(len), b)) {
      return base::err("malformed document: truncated change");
    }
    out.push_back(Change{detail::hash_bytes(b), Bytes(b.begin(), b.end())});
  }
  if (!r.done()) return base::err("malformed document: trailing bytes");
  return out;
}

base::Result<AutoCommit> AutoCommit::load(std::span<const std::uint8_t> bytes) {
  auto changes = load_changes(bytes);
  if (!changes) return base::err(changes.error());
  AutoCommit doc;
  if (auto ok = doc.apply_changes(*changes); !ok) return base::err("malformed document: " + ok.error());
  return doc;
}

}  // namespace automerge
