// Reading and local editing.
#include <algorithm>

#include "automerge/automerge.hpp"
#include "doc.hpp"
#include "utf8.hpp"

namespace automerge {

using detail::Doc;
using detail::Obj;
using detail::OpAction;
using detail::OpData;
using detail::OpId;
using detail::ValueOp;

namespace {

base::Result<const Obj*> resolve(const Doc& d, const ExId& id, std::optional<ObjType> want_seq_or_map = std::nullopt) {
  auto op = d.from_exid(id);
  const Obj* obj = op ? d.find_obj(*op) : nullptr;
  if (!obj) return base::err("no such object: " + id.to_string());
  if (want_seq_or_map == ObjType::Map && obj->type != ObjType::Map) return base::err("not a map: " + id.to_string());
  if (want_seq_or_map == ObjType::List && obj->type == ObjType::Map) return base::err("not a list: " + id.to_string());
  return obj;
}

ValueEntry entry(const Doc& d, const ValueOp& v) {
  ExId id = d.to_exid(v.id);
  if (v.obj) return ValueEntry{Value::object(*v.obj, id), std::move(id)};
  return ValueEntry{Value::scalar(v.scalar), std::move(id)};
}

std::vector<detail::RawOpId> ids_of(const std::vector<ValueOp>& vals) {
  std::vector<detail::RawOpId> out;
  out.reserve(vals.size());
  for (const ValueOp& v : vals) out.push_back(v.id);
  return out;
}

OpAction make_action(ObjType t) {
  switch (t) {
    case ObjType::Map: return OpAction::MakeMap;
    case ObjType::List: return OpAction::MakeList;
    case ObjType::Text: return OpAction::MakeText;
  }
  return OpAction::MakeMap;
}

}  // namespace

AutoCommit::AutoCommit() : AutoCommit(ActorId::random()) {}

AutoCommit::AutoCommit(ActorId actor) : d_(std::make_unique<Doc>()) { d_->self = d_->intern_actor(actor); }

AutoCommit::~AutoCommit() = default;
AutoCommit::AutoCommit(const AutoCommit& other) : d_(std::make_unique<Doc>(*other.d_)) {}
AutoCommit& AutoCommit::operator=(const AutoCommit& other) {
  if (this != &other) d_ = std::make_unique<Doc>(*other.d_);
  return *this;
}
AutoCommit::AutoCommit(AutoCommit&&) noexcept = default;
AutoCommit& AutoCommit::operator=(AutoCommit&&) noexcept = default;

// The winner is the last visible value; reads build only that one entry.
base::Result<std::optional<ValueEntry>> AutoCommit::get(const ExId& obj, std::string_view key) const {
  auto o = resolve(*d_, obj, ObjType::Map);
  if (!o) return base::err(o.error());
  auto it = (*o)->props.find(key);
  if (it == (*o)->props.end() || it->second.empty()) return std::optional<ValueEntry>{};
  return std::optional<ValueEntry>{entry(*d_, it->second.back())};
}

base::Result<std::optional<ValueEntry>> AutoCommit::get(const ExId& obj, std::size_t index) const {
  auto o = resolve(*d_, obj, ObjType::List);
  if (!o) return base::err(o.error());
  auto pos = d_->visible_pos(**o, index);
  if (!pos) return std::optional<ValueEntry>{};
  return std::optional<ValueEntry>{entry(*d_, (*o)->elems[*pos].values.back())};
}

base::Result<std::vector<ValueEntry>> AutoCommit::get_all(const ExId& obj, std::string_view key) const {
  auto o = resolve(*d_, obj, ObjType::Map);
  if (!o) return base::err(o.error());
  std::vector<ValueEntry> out;
  auto it = (*o)->props.find(key);
  if (it != (*o)->props.end()) {
    for (const ValueOp& v : it->second) out.push_back(entry(*d_, v));
  }
  return out;
}

base::Result<std::vector<ValueEntry>> AutoCommit::get_all(const ExId& obj, std::size_t index) const {
  auto o = resolve(*d_, obj, ObjType::List);
  if (!o) return base::err(o.error());
  std::vector<ValueEntry> out;
  if (auto pos = d_->visible_pos(**o, index)) {
    for (const ValueOp& v : (*o)->elems[*pos].values) out.push_back(entry(*d_, v));
  }
  return out;
}

std::vector<std::string> AutoCommit::keys(const ExId& obj) const {
  std::vector<std::string> out;
  auto o = resolve(*d_, obj, ObjType::Map);
  if (!o) return out;
  out.reserve((*o)->props.size());
  for (const auto& [k, v] : (*o)->props) out.push_back(k);
  return out;
}

std::size_t AutoCommit::length(const ExId& obj) const {
  auto o = resolve(*d_, obj);
  if (!o) return 0;
  if ((*o)->type == ObjType::Map) return (*o)->props.size();
  return (*o)->seq.size();
}

base::Result<std::string> AutoCommit::text(const ExId& obj) const {
  auto o = resolve(*d_, obj);
  if (!o) return base::err(o.error());
  if ((*o)->type != ObjType::Text) return base::err("not a text: " + obj.to_string());
  return (*o)->seq.text();
}

base::Result<ObjType> AutoCommit::object_type(const ExId& obj) const {
  auto o = resolve(*d_, obj);
  if (!o) return base::err(o.error());
  return (*o)->type;
}

namespace {

// One local op on a map key or an existing list element, superseding what is visible there.
base::Result<OpId> write_at(Doc& d, const ExId& obj, std::string_view key, OpAction action, ScalarValue value) {
  auto o = resolve(d, obj, ObjType::Map);
  if (!o) return base::err(o.error());
  OpData op;
  op.action = action;
  op.obj = *d.from_exid(obj);
  op.key.prop = std::string(key);
  auto it = (*o)->props.find(key);
  if (it != (*o)->props.end()) op.pred = ids_of(it->second);
  op.value = std::move(value);
  return d.local_op(std::move(op));
}

base::Result<OpId> write_at(Doc& d, const ExId& obj, std::size_t index, OpAction action, ScalarValue value) {
  auto o = resolve(d, obj, ObjType::List);
  if (!o) return base::err(o.error());
  auto pos = d.visible_pos(**o, index);
  if (!pos) return base::err("index out of bounds");
  const detail::Elem& e = (*o)->elems[*pos];
  OpData op;
  op.action = action;
  op.obj = *d.from_exid(obj);
  op.key.is_elem = true;
  op.key.elem = e.id;
  op.pred = ids_of(e.values);
  op.value = std::move(value);
  return d.local_op(std::move(op), *pos);
}

base::Result<OpId> insert_at(Doc& d, const ExId& obj, std::size_t index, OpAction action, ScalarValue value) {
  auto o = resolve(d, obj, ObjType::List);
  if (!o) return base::err(o.error());
  OpData op;
  op.action = action;
  op.insert = true;
  op.obj = *d.from_exid(obj);
  op.key.is_elem = true;
  std::size_t hint = detail::kNoHint;
  if (index > 0) {
    auto pos = d.visible_pos(**o, index - 1);
    if (!pos) return base::err("index out of bounds");
    op.key.elem = (*o)->elems[*pos].id;
    hint = *pos;
  }
  op.value = std::move(value);
  return d.local_op(std::move(op), hint);
}

base::Status status_of(const base::Result<OpId>& r) {
  if (!r) return base::err(r.error());
  return {};
}

base::Result<ExId> exid_of(const Doc& d, const base::Result<OpId>& r) {
  if (!r) return base::err(r.error());
  return d.to_exid(*r);
}

}  // namespace

base::Status AutoCommit::put(const ExId& obj, std::string_view key, ScalarValue value) {
  return status_of(write_at(*d_, obj, key, OpAction::Put, std::move(value)));
}
base::Status AutoCommit::put(const ExId& obj, std::size_t index, ScalarValue value) {
  return status_of(write_at(*d_, obj, index, OpAction::Put, std::move(value)));
}
base::Result<ExId> AutoCommit::put_object(const ExId& obj, std::string_view key, ObjType type) {
  return exid_of(*d_, write_at(*d_, obj, key, make_action(type), {}));
}
base::Result<ExId> AutoCommit::put_object(const ExId& obj, std::size_t index, ObjType type) {
  return exid_of(*d_, write_at(*d_, obj, index, make_action(type), {}));
}
base::Status AutoCommit::insert(const ExId& obj, std::size_t index, ScalarValue value) {
  return status_of(insert_at(*d_, obj, index, OpAction::Put, std::move(value)));
}
base::Result<ExId> AutoCommit::insert_object(const ExId& obj, std::size_t index, ObjType type) {
  return exid_of(*d_, insert_at(*d_, obj, index, make_action(type), {}));
}

base::Status AutoCommit::delete_(const ExId& obj, std::string_view key) {
  auto o = resolve(*d_, obj, ObjType::Map);
  if (!o) return base::err(o.error());
  if ((*o)->props.find(key) == (*o)->props.end()) return {};  // nothing visible: no op
  return status_of(write_at(*d_, obj, key, OpAction::Delete, {}));
}

base::Status AutoCommit::delete_(const ExId& obj, std::size_t index) {
  return status_of(write_at(*d_, obj, index, OpAction::Delete, {}));
}

base::Status AutoCommit::splice_text(const ExId& obj, std::size_t pos, std::size_t del, std::string_view text) {
  auto o = resolve(*d_, obj);
  if (!o) return base::err(o.error());
  if ((*o)->type != ObjType::Text) return base::err("not a text: " + obj.to_string());
  auto chars = detail::split_code_points(text);
  if (!chars) return base::err("text is not valid UTF-8");
  std::size_t len = length(obj);
  if (pos > len) return base::err("splice position past the end");
  del = std::min(del, len - pos);
  for (std::size_t i = 0; i < del; ++i) {
    if (auto ok = delete_(obj, pos); !ok) return ok;
  }
  for (std::size_t i = 0; i < chars->size(); ++i) {
    if (auto ok = insert(obj, pos + i, ScalarValue::str(std::move((*chars)[i]))); !ok) return ok;
  }
  return {};
}

}  // namespace automerge
