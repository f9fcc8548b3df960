#include "snapshot.hpp"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

namespace automerge::detail {
namespace {

constexpr std::uint8_t kNotAnObject = 0;

std::uint8_t type_byte(ObjType t) { return static_cast<std::uint8_t>(static_cast<std::uint8_t>(t) + 1); }

std::optional<ObjType> type_of(std::uint8_t b) {
  switch (b) {
    case 1: return ObjType::Map;
    case 2: return ObjType::List;
    case 3: return ObjType::Text;
    default: return std::nullopt;
  }
}

std::string_view elem_text(const Elem& e) {
  if (e.values.empty()) return {};
  const std::string* s = e.values.back().scalar.as_str();
  return s ? std::string_view(*s) : std::string_view();
}

class StateWriter {
 public:
  StateWriter(const Doc& d, Bytes& out) : d_(d), out_(out), local_(d.actors.size(), 0) {}

  void write() {
    put_varint(out_, d_.heads.size());
    for (const ChangeHash& h : d_.heads) out_.insert(out_.end(), h.bytes.begin(), h.bytes.end());

    std::vector<std::pair<OpId, const Obj*>> objs;
    objs.reserve(d_.objects.size());
    d_.objects.for_each([&](ObjKey k, const Obj& o) { objs.emplace_back(OpId{k.first, k.second}, &o); });
    std::sort(objs.begin(), objs.end(), [&](const auto& a, const auto& b) { return d_.less(a.first, b.first); });

    // The actors the state names, by their bytes.
    std::vector<bool> used(d_.actors.size(), false);
    auto mark = [&](OpId id) {
      if (id.counter != 0) used[id.actor] = true;
    };
    for (const auto& [id, o] : objs) {
      mark(id);
      for (const auto& [key, vals] : o->props) {
        for (const ValueOp& v : vals) mark(v.id);
      }
      for (const Elem& e : o->elems) {
        mark(e.id);
        for (const ValueOp& v : e.values) mark(v.id);
      }
    }
    std::vector<std::uint32_t> table;
    for (std::uint32_t i = 0; i < used.size(); ++i) {
      if (used[i]) table.push_back(i);
    }
    std::sort(table.begin(), table.end(),
              [&](std::uint32_t a, std::uint32_t b) { return d_.actors[a] < d_.actors[b]; });
    put_varint(out_, table.size());
    for (std::uint32_t i = 0; i < table.size(); ++i) {
      local_[table[i]] = i;
      put_bytes(out_, d_.actors[table[i]].to_bytes());
    }

    put_varint(out_, objs.size());
    for (const auto& [id, o] : objs) {
      put_id(id);
      out_.push_back(type_byte(o->type));
      if (o->type == ObjType::Map) {
        put_varint(out_, o->props.size());
        for (const auto& [key, vals] : o->props) {
          put_text(out_, key);
          put_values(vals);
        }
      } else {
        put_varint(out_, o->elems.size());
        for (const Elem& e : o->elems) {
          put_id(e.id);
          put_values(e.values);
        }
      }
    }
  }

 private:
  void put_id(OpId id) { put_opid(out_, RawOpId{id.counter, id.counter == 0 ? 0 : local_[id.actor]}); }
  void put_values(const std::vector<ValueOp>& vals) {
    put_varint(out_, vals.size());
    for (const ValueOp& v : vals) {
      put_id(v.id);
      out_.push_back(v.obj ? type_byte(*v.obj) : kNotAnObject);
      put_value(out_, v.scalar);
    }
  }

  const Doc& d_;
  Bytes& out_;
  std::vector<std::uint32_t> local_;  // document actor index -> the state's
};

// Reads the state into `d`, whose history is in place. Every id must name a known actor and a
// counter the history has reached, ids appear in ascending order where the document keeps them
// so, and every value that is an object names an object of its type.
class StateReader {
 public:
  StateReader(Doc& d, std::span<const std::uint8_t> state) : d_(d), r_(state) {}

  bool read() {
    std::uint64_t n = 0;
    if (!r_.varint(n) || n > r_.remaining() / 32 || n != d_.heads.size()) return false;
    for (const ChangeHash& head : d_.heads) {
      ChangeHash h;
      if (!r_.fixed(h.bytes) || h != head) return false;
    }

    if (!r_.varint(n) || n > r_.remaining()) return false;
    std::optional<ActorId> previous;
    for (std::uint64_t i = 0; i < n; ++i) {
      std::uint64_t len = 0;
      std::span<const std::uint8_t> b;
      if (!r_.varint(len) || len == 0 || len > kMaxActorBytes || !r_.bytes(static_cast<std::size_t>(len), b)) {
        return false;
      }
      ActorId actor(Bytes(b.begin(), b.end()));
      if (previous && !(*previous < actor)) return false;
      // Only actors that wrote or were named by a change of the history.
      auto it = d_.actor_index.find(actor);
      if (it == d_.actor_index.end()) return false;
      doc_actor_.push_back(it->second);
      previous = std::move(actor);
    }

    if (!r_.varint(n) || n == 0 || n > r_.remaining() / 2) return false;
    std::optional<OpId> last;
    for (std::uint64_t i = 0; i < n; ++i) {
      OpId id;
      std::uint8_t type_raw = 0;
      if (!read_id(id, i == 0) || !r_.byte(type_raw)) return false;
      const auto type = type_of(type_raw);
      if (!type || (i == 0) != (id.counter == 0)) return false;  // the root first, and only there
      if (i == 0 && *type != ObjType::Map) return false;
      if (last && !d_.less(*last, id)) return false;
      last = id;
      Obj obj;
      obj.type = *type;
      if (*type == ObjType::Map ? !read_props(obj) : !read_elems(obj)) return false;
      if (i == 0) {
        *d_.objects.find(ObjKey{0, 0}) = std::move(obj);
      } else {
        d_.objects.emplace(obj_key(id), std::move(obj));
      }
    }
    if (!r_.done()) return false;
    return std::all_of(made_.begin(), made_.end(), [&](const std::pair<OpId, ObjType>& m) {
      const Obj* o = d_.find_obj(m.first);
      return o && o->type == m.second;
    });
  }

 private:
  bool read_id(OpId& out, bool may_be_root) {
    RawOpId raw;
    if (!read_opid(r_, doc_actor_.size(), raw)) return false;
    if (raw.counter == 0 ? !may_be_root : raw.counter > d_.max_op) return false;
    out = OpId{raw.counter, raw.counter == 0 ? 0 : doc_actor_[raw.actor]};
    return true;
  }

  // A property or element's visible values, lowest id first.
  bool read_values(std::vector<ValueOp>& out) {
    std::uint64_t n = 0;
    if (!r_.varint(n) || n > r_.remaining() / 3) return false;
    out.reserve(static_cast<std::size_t>(n));
    for (std::uint64_t i = 0; i < n; ++i) {
      ValueOp v;
      std::uint8_t made = 0;
      if (!read_id(v.id, false) || !r_.byte(made) || !read_value(r_, v.scalar)) return false;
      if (made != kNotAnObject) {
        v.obj = type_of(made);
        if (!v.obj) return false;
        made_.emplace_back(v.id, *v.obj);
      }
      if (!out.empty() && !d_.less(out.back().id, v.id)) return false;
      out.push_back(std::move(v));
    }
    return true;
  }

  bool read_props(Obj& obj) {
    std::uint64_t n = 0;
    if (!r_.varint(n) || n > r_.remaining() / 2) return false;
    for (std::uint64_t i = 0; i < n; ++i) {
      std::string key;
      std::vector<ValueOp> vals;
      if (!read_text(r_, key) || !read_values(vals) || vals.empty()) return false;
      if (!obj.props.empty() && !(obj.props.rbegin()->first < key)) return false;
      obj.props.emplace_hint(obj.props.end(), std::move(key), std::move(vals));
    }
    return true;
  }

  bool read_elems(Obj& obj) {
    std::uint64_t n = 0;
    if (!r_.varint(n) || n > r_.remaining() / 2) return false;
    obj.seq = SeqIndex(obj.type == ObjType::Text);
    obj.elems.reserve(static_cast<std::size_t>(n));
    for (std::uint64_t i = 0; i < n; ++i) {
      Elem e;
      if (!read_id(e.id, false) || !read_values(e.values)) return false;
      obj.elems.push_back(std::move(e));
      if (!obj.elems.back().values.empty()) obj.seq.shown(obj.elems.size() - 1, elem_text(obj.elems.back()));
    }
    return true;
  }

  Doc& d_;
  Reader r_;
  std::vector<std::uint32_t> doc_actor_;        // the state's actor index -> the document's
  std::vector<std::pair<OpId, ObjType>> made_;  // values that are objects, checked at the end
};

}  // namespace

void encode_state(const Doc& d, Bytes& out) { StateWriter(d, out).write(); }

bool restore_from_state(Doc& d, const std::vector<std::span<const std::uint8_t>>& history,
                        std::span<const std::uint8_t> state) {
  // The history as applying it would record it, without applying its ops: the checks of the
  // changes' headers, their order, and what each actor has written.
  d.history.reserve(history.size());
  d.by_hash.reserve(history.size());
  for (std::span<const std::uint8_t> bytes : history) {
    auto header = decode_change_header(bytes);
    if (!header) return false;
    ChangeData& c = header->change;
    StoredChange s{hash_bytes(bytes), Bytes(bytes.begin(), bytes.end()), std::move(c.deps)};
    if (d.by_hash.count(s.hash)) return false;
    for (const ChangeHash& dep : s.deps) {
      if (!d.by_hash.count(dep)) return false;
    }
    const std::uint32_t author = d.intern_actor(c.actors[0]);
    for (std::size_t i = 1; i < c.actors.size(); ++i) (void)d.intern_actor(c.actors[i]);
    ActorState& st = d.actor_state[author];
    if (c.seq != st.seq + 1 || c.start_op <= st.max_op) return false;
    st.seq = c.seq;
    st.max_op = header->op_count == 0 ? std::max(st.max_op, c.start_op) : c.start_op + header->op_count - 1;
    d.max_op = std::max(d.max_op, st.max_op);
    d.record(std::move(s));
  }
  return StateReader(d, state).read();
}

}  // namespace automerge::detail
