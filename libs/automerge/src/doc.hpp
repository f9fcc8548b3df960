#pragma once
// The document's inner state: the actor table, the objects with their visible values, and the
// change graph. Op ids here index the document's actor table.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "automerge/types.hpp"
#include "change_codec.hpp"
#include "obj_table.hpp"
#include "seq_index.hpp"

namespace automerge::detail {

using OpId = RawOpId;

struct ValueOp {
  OpId id;
  std::optional<ObjType> obj;  // set when the op made an object
  ScalarValue scalar;
};

struct Elem {
  OpId id;                      // the insert op
  std::vector<ValueOp> values;  // visible values, lowest id first; empty = tombstone
};

struct Obj {
  ObjType type = ObjType::Map;
  std::map<std::string, std::vector<ValueOp>, std::less<>> props;
  std::vector<Elem> elems;  // lists and texts, in order, tombstones included
  SeqIndex seq;
  std::size_t last_pos = 0;  // the element the latest op touched: the next op is usually beside it
};

inline constexpr std::size_t kNoHint = static_cast<std::size_t>(-1);

struct StoredChange {
  ChangeHash hash;
  Bytes bytes;
  std::vector<ChangeHash> deps;
};

struct ActorState {
  std::uint64_t seq = 0;
  std::uint64_t max_op = 0;
};

inline ObjKey obj_key(OpId id) { return {id.counter, id.actor}; }

struct Doc {
  std::vector<ActorId> actors;
  std::map<ActorId, std::uint32_t> actor_index;
  std::vector<ActorState> actor_state;
  std::uint32_t self = 0;

  ObjTable<Obj> objects;
  std::uint64_t max_op = 0;

  std::vector<StoredChange> history;
  std::unordered_map<ChangeHash, std::size_t> by_hash;
  std::vector<ChangeHash> heads;  // sorted
  // Changes whose dependencies have not all arrived, and for each missing dependency the
  // changes that wait for it, so that an arrival wakes only its own waiters.
  std::map<ChangeHash, StoredChange> queue;
  std::unordered_map<ChangeHash, std::vector<ChangeHash>> waiting;

  std::vector<OpData> pending;
  std::uint64_t pending_start = 0;

  Doc();
  std::uint32_t intern_actor(const ActorId& a);
  bool less(OpId a, OpId b) const;
  ExId to_exid(OpId id) const;
  std::optional<OpId> from_exid(const ExId& id) const;
  const Obj* find_obj(OpId id) const;

  // Sequence helpers: the element at a visible index, and an element's position (`hint` is
  // where it probably is).
  std::optional<std::size_t> visible_pos(const Obj& obj, std::size_t index) const;
  std::optional<std::size_t> elem_pos(const Obj& obj, OpId id, std::size_t hint = kNoHint) const;

  // Applies one op that has been checked; `id` is the op's own id and `hint` the position of
  // the element it refers to, when the caller knows it.
  void apply_op(OpId id, const OpData& op, ScalarValue value, std::size_t hint = kNoHint);
  // Checks every op of a decoded change before any of it is applied.
  base::Status validate(const ChangeData& change, const std::vector<std::uint32_t>& actor_map) const;
  // Adds a local op to the pending change and applies it.
  OpId local_op(OpData op, std::size_t hint = kNoHint);
  std::optional<ChangeHash> commit();
  // Applies a change whose dependencies are known, or queues it.
  base::Status receive(StoredChange change);
  void record(StoredChange change);
  base::Status apply_one(StoredChange change);
  // Applies the waiting changes that the change `arrived` was the last missing dependency of,
  // and theirs in turn.
  base::Status drain_queue(const ChangeHash& arrived);
};

}  // namespace automerge::detail
