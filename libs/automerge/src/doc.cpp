#include "doc.hpp"

#include <algorithm>

namespace automerge::detail {
namespace {

void insert_sorted(const Doc& d, std::vector<ValueOp>& vals, ValueOp v) {
  auto it = std::find_if(vals.begin(), vals.end(), [&](const ValueOp& x) { return d.less(v.id, x.id); });
  vals.insert(it, std::move(v));
}

// What an element adds to its text: the winning value when it is a string.
std::string_view elem_text(const Elem& e) {
  if (e.values.empty()) return {};
  const std::string* s = e.values.back().scalar.as_str();
  return s ? std::string_view(*s) : std::string_view();
}

std::optional<ObjType> made_type(OpAction a) {
  switch (a) {
    case OpAction::MakeMap: return ObjType::Map;
    case OpAction::MakeList: return ObjType::List;
    case OpAction::MakeText: return ObjType::Text;
    default: return std::nullopt;
  }
}

}  // namespace

Doc::Doc() { objects.emplace(ObjKey{0, 0}, Obj{}); }

std::uint32_t Doc::intern_actor(const ActorId& a) {
  auto it = actor_index.find(a);
  if (it != actor_index.end()) return it->second;
  auto idx = static_cast<std::uint32_t>(actors.size());
  actors.push_back(a);
  actor_state.emplace_back();
  actor_index.emplace(a, idx);
  return idx;
}

bool Doc::less(OpId a, OpId b) const {
  if (a.counter != b.counter) return a.counter < b.counter;
  return actors[a.actor] < actors[b.actor];
}

ExId Doc::to_exid(OpId id) const {
  if (id.counter == 0) return ROOT;
  return ExId{id.counter, actors[id.actor]};
}

std::optional<OpId> Doc::from_exid(const ExId& id) const {
  if (id.is_root()) return OpId{0, 0};
  // Ids handed out by this document share their actor's bytes: compare pointers before bytes.
  const std::size_t scan = std::min<std::size_t>(actors.size(), 8);
  for (std::size_t i = 0; i < scan; ++i) {
    if (actors[i].bytes_ && actors[i].bytes_ == id.actor.bytes_) return OpId{id.counter, static_cast<std::uint32_t>(i)};
  }
  auto it = actor_index.find(id.actor);
  if (it == actor_index.end()) return std::nullopt;
  return OpId{id.counter, it->second};
}

const Obj* Doc::find_obj(OpId id) const { return objects.find(obj_key(id)); }

std::optional<std::size_t> Doc::visible_pos(const Obj& obj, std::size_t index) const {
  if (index >= obj.seq.size()) return std::nullopt;
  return obj.seq.position(index);
}

std::optional<std::size_t> Doc::elem_pos(const Obj& obj, OpId id, std::size_t hint) const {
  if (hint < obj.elems.size() && obj.elems[hint].id == id) return hint;
  // Edits come in runs (typing, appending, clearing from the end): look beside the last one.
  for (std::size_t near : {obj.last_pos, obj.last_pos + 1, obj.last_pos - 1}) {
    if (near < obj.elems.size() && obj.elems[near].id == id) return near;
  }
  for (std::size_t i = 0; i < obj.elems.size(); ++i) {
    if (obj.elems[i].id == id) return i;
  }
  return std::nullopt;
}

void Doc::apply_op(OpId id, const OpData& op, ScalarValue scalar, std::size_t hint) {
  Obj& obj = *objects.find(obj_key(op.obj));
  auto type = made_type(op.action);
  ValueOp value{id, type, std::move(scalar)};
  auto erase_preds = [&](std::vector<ValueOp>& vals) {
    std::erase_if(vals,
                  [&](const ValueOp& v) { return std::find(op.pred.begin(), op.pred.end(), v.id) != op.pred.end(); });
    if (op.action != OpAction::Delete) insert_sorted(*this, vals, std::move(value));
  };
  if (op.insert) {
    // RGA: place after the reference element, past every element with a higher id (those and
    // their descendants were inserted concurrently and win the spot).
    std::size_t pos = 0;
    if (op.key.elem.counter != 0) pos = *elem_pos(obj, op.key.elem, hint) + 1;
    while (pos < obj.elems.size() && less(id, obj.elems[pos].id)) ++pos;
    auto at = obj.elems.insert(obj.elems.begin() + static_cast<std::ptrdiff_t>(pos), Elem{id, {std::move(value)}});
    obj.seq.inserted(pos, elem_text(*at));
    obj.last_pos = pos;
  } else if (op.key.is_elem) {
    const std::size_t pos = *elem_pos(obj, op.key.elem, hint);
    obj.last_pos = pos;
    Elem& elem = obj.elems[pos];
    const bool was_visible = !elem.values.empty();
    erase_preds(elem.values);
    // A delete hides the element; a concurrent put that lands after it shows it again.
    if (elem.values.empty()) {
      obj.seq.hidden(pos);
    } else if (was_visible) {
      obj.seq.changed(pos, elem_text(elem));
    } else {
      obj.seq.shown(pos, elem_text(elem));
    }
  } else {
    std::vector<ValueOp>& vals = obj.props[op.key.prop];
    erase_preds(vals);
    if (vals.empty()) obj.props.erase(op.key.prop);
  }
  if (type) {
    Obj made;
    made.type = *type;
    made.seq = SeqIndex(*type == ObjType::Text);
    objects.emplace(obj_key(id), std::move(made));
  }
  max_op = std::max(max_op, id.counter);
}

base::Status Doc::validate(const ChangeData& c, const std::vector<std::uint32_t>& amap) const {
  const ActorState& author = actor_state[amap[0]];
  if (c.seq != author.seq + 1) return base::err("change out of sequence for its actor");
  if (c.start_op <= author.max_op) return base::err("change reuses op counters");
  std::map<ObjKey, ObjType> new_objs;
  std::map<ObjKey, std::vector<ObjKey>> new_elems;  // object -> elements made in this change
  for (std::size_t i = 0; i < c.ops.size(); ++i) {
    const OpData& op = c.ops[i];
    OpId self_id{c.start_op + i, amap[0]};
    OpId obj_id{op.obj.counter, op.obj.counter == 0 ? 0 : amap[op.obj.actor]};
    std::optional<ObjType> type;
    const Obj* obj = find_obj(obj_id);
    if (obj) {
      type = obj->type;
    } else if (auto it = new_objs.find(obj_key(obj_id)); it != new_objs.end()) {
      type = it->second;
    } else {
      return base::err("op on an unknown object");
    }
    if (*type == ObjType::Map) {
      if (op.key.is_elem || op.insert) return base::err("sequence op on a map");
    } else {
      if (!op.key.is_elem) return base::err("map op on a sequence");
      OpId elem{op.key.elem.counter, op.key.elem.counter == 0 ? 0 : amap[op.key.elem.actor]};
      if (elem.counter == 0) {
        if (!op.insert) return base::err("op on the head of a sequence");
      } else {
        bool known = obj && elem_pos(*obj, elem).has_value();
        if (!known) {
          auto it = new_elems.find(obj_key(obj_id));
          known = it != new_elems.end() &&
                  std::find(it->second.begin(), it->second.end(), obj_key(elem)) != it->second.end();
        }
        if (!known) return base::err("op on an unknown element");
      }
      if (op.insert) {
        if (op.action == OpAction::Delete) return base::err("insert of a delete");
        new_elems[obj_key(obj_id)].push_back(obj_key(self_id));
      }
    }
    if (auto made = made_type(op.action)) new_objs.emplace(obj_key(self_id), *made);
  }
  return {};
}

OpId Doc::local_op(OpData op, std::size_t hint) {
  if (pending.empty()) pending_start = max_op + 1;
  OpId id{max_op + 1, self};
  apply_op(id, op, op.value, hint);
  pending.push_back(std::move(op));
  return id;
}

std::optional<ChangeHash> Doc::commit() {
  if (pending.empty()) return std::nullopt;
  // Translate document actor indices into the change's own table, author first.
  ChangeData c;
  std::vector<std::int64_t> local(actors.size(), -1);
  auto map_actor = [&](RawOpId& id) {
    if (id.counter == 0) {
      id.actor = 0;
      return;
    }
    if (local[id.actor] < 0) {
      local[id.actor] = static_cast<std::int64_t>(c.actors.size());
      c.actors.push_back(actors[id.actor]);
    }
    id.actor = static_cast<std::uint32_t>(local[id.actor]);
  };
  local[self] = 0;
  c.actors.push_back(actors[self]);
  c.seq = actor_state[self].seq + 1;
  c.start_op = pending_start;
  c.deps = heads;
  for (OpData& op : pending) {
    map_actor(op.obj);
    if (op.key.is_elem) map_actor(op.key.elem);
    for (RawOpId& p : op.pred) map_actor(p);
  }
  c.ops = std::move(pending);
  pending.clear();
  actor_state[self].seq = c.seq;
  actor_state[self].max_op = c.start_op + c.ops.size() - 1;
  StoredChange s;
  s.bytes = encode_change(c);
  s.hash = hash_bytes(s.bytes);
  s.deps = std::move(c.deps);
  ChangeHash h = s.hash;
  record(std::move(s));
  return h;
}

void Doc::record(StoredChange change) {
  for (const ChangeHash& d : change.deps) {
    auto it = std::lower_bound(heads.begin(), heads.end(), d);
    if (it != heads.end() && *it == d) heads.erase(it);
  }
  heads.insert(std::lower_bound(heads.begin(), heads.end(), change.hash), change.hash);
  by_hash.emplace(change.hash, history.size());
  history.push_back(std::move(change));
}

base::Status Doc::receive(StoredChange change) {
  const ChangeHash hash = change.hash;
  const bool known = by_hash.count(hash) != 0;
  if (auto ok = apply_one(std::move(change)); !ok) return ok;
  if (known || !by_hash.count(hash)) return {};  // a duplicate, or queued
  return drain_queue(hash);
}

base::Status Doc::apply_one(StoredChange change) {
  if (by_hash.count(change.hash) || queue.count(change.hash)) return {};
  auto decoded = decode_change(change.bytes);
  if (!decoded) return base::err(decoded.error());
  ChangeData& c = decoded.value();
  change.deps = c.deps;
  bool ready = true;
  for (const ChangeHash& d : c.deps) {
    if (by_hash.count(d)) continue;
    ready = false;
    waiting[d].push_back(change.hash);
  }
  if (!ready) {
    queue.emplace(change.hash, std::move(change));
    return {};
  }
  std::vector<std::uint32_t> amap;
  amap.reserve(c.actors.size());
  for (const ActorId& a : c.actors) amap.push_back(intern_actor(a));
  if (auto ok = validate(c, amap); !ok) return ok;
  auto map_id = [&](RawOpId id) { return RawOpId{id.counter, id.counter == 0 ? 0 : amap[id.actor]}; };
  for (std::size_t i = 0; i < c.ops.size(); ++i) {
    OpData& op = c.ops[i];
    op.obj = map_id(op.obj);
    if (op.key.is_elem) op.key.elem = map_id(op.key.elem);
    for (RawOpId& p : op.pred) p = map_id(p);
    apply_op(OpId{c.start_op + i, amap[0]}, op, std::move(op.value));
  }
  ActorState& st = actor_state[amap[0]];
  st.seq = c.seq;
  st.max_op = c.ops.empty() ? std::max(st.max_op, c.start_op) : c.start_op + c.ops.size() - 1;
  max_op = std::max(max_op, st.max_op);
  record(std::move(change));
  return {};
}

base::Status Doc::drain_queue(const ChangeHash& arrived) {
  // Each waiting change is listed under every dependency it lacked when it came, so the last of
  // them to arrive finds it ready. Work is proportional to the changes woken. A woken change
  // that fails its checks is dropped and reported, and the others are still woken: stopping
  // would leave them waiting for dependencies that are already here.
  base::Status first_failure;
  std::vector<ChangeHash> arrivals = {arrived};
  while (!arrivals.empty()) {
    ChangeHash h = arrivals.back();
    arrivals.pop_back();
    auto w = waiting.find(h);
    if (w == waiting.end()) continue;
    std::vector<ChangeHash> waiters = std::move(w->second);
    waiting.erase(w);
    for (const ChangeHash& waiter : waiters) {
      auto q = queue.find(waiter);
      if (q == queue.end()) continue;
      bool ready = std::all_of(q->second.deps.begin(), q->second.deps.end(),
                               [&](const ChangeHash& d) { return by_hash.count(d) != 0; });
      if (!ready) continue;
      StoredChange next = std::move(q->second);
      queue.erase(q);
      next.deps.clear();  // taken from the bytes again
      if (auto ok = apply_one(std::move(next)); !ok) {
        if (first_failure) first_failure = base::err("a waiting change failed: " + ok.error());
        continue;
      }
      if (by_hash.count(waiter)) arrivals.push_back(waiter);
    }
  }
  return first_failure;
}

}  // namespace automerge::detail
