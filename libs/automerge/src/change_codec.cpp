#include "change_codec.hpp"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

#include "automerge/sha256.hpp"

namespace automerge::detail {
namespace {

constexpr std::uint8_t kMagic[4] = {'Z', 'C', 'H', 'G'};
constexpr std::uint8_t kVersion = 1;
constexpr std::uint8_t kInsertFlag = 0x80;

std::uint64_t zigzag(std::int64_t v) {
  return (static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63);
}
std::int64_t unzigzag(std::uint64_t v) { return static_cast<std::int64_t>(v >> 1) ^ -static_cast<std::int64_t>(v & 1); }

}  // namespace

void put_bytes(Bytes& out, std::span<const std::uint8_t> b) {
  put_varint(out, b.size());
  out.insert(out.end(), b.begin(), b.end());
}
void put_text(Bytes& out, const std::string& s) {
  put_bytes(out, {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()});
}
void put_opid(Bytes& out, RawOpId id) {
  put_varint(out, id.counter);
  if (id.counter != 0) put_varint(out, id.actor);
}

void put_value(Bytes& out, const ScalarValue& v) {
  out.push_back(static_cast<std::uint8_t>(v.kind()));
  switch (v.kind()) {
    case ScalarKind::Null: break;
    case ScalarKind::Boolean: out.push_back(*v.as_bool() ? 1 : 0); break;
    case ScalarKind::Int: put_varint(out, zigzag(*v.as_int())); break;
    case ScalarKind::Uint: put_varint(out, *v.as_uint()); break;
    case ScalarKind::F64: {
      auto bits = std::bit_cast<std::uint64_t>(*v.as_f64());
      for (int i = 0; i < 8; ++i) out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
      break;
    }
    case ScalarKind::Str: put_text(out, *v.as_str()); break;
    case ScalarKind::Counter: put_varint(out, zigzag(*v.as_counter())); break;
    case ScalarKind::Timestamp: put_varint(out, zigzag(*v.as_timestamp())); break;
    case ScalarKind::Bytes: put_bytes(out, *v.as_bytes()); break;
  }
}

bool read_text(Reader& r, std::string& out) {
  std::uint64_t n = 0;
  std::span<const std::uint8_t> b;
  if (!r.varint(n) || n > r.remaining() || !r.bytes(static_cast<std::size_t>(n), b)) return false;
  out.assign(reinterpret_cast<const char*>(b.data()), b.size());
  return true;
}

bool read_opid(Reader& r, std::size_t actor_count, RawOpId& out) {
  if (!r.varint(out.counter)) return false;
  out.actor = 0;
  if (out.counter == 0) return true;
  std::uint64_t a = 0;
  if (!r.varint(a) || a >= actor_count) return false;
  out.actor = static_cast<std::uint32_t>(a);
  return true;
}

bool read_value(Reader& r, ScalarValue& out) {
  std::uint8_t tag = 0;
  if (!r.byte(tag)) return false;
  std::uint64_t n = 0;
  switch (static_cast<ScalarKind>(tag)) {
    case ScalarKind::Null: out = ScalarValue::null(); return true;
    case ScalarKind::Boolean: {
      std::uint8_t b = 0;
      if (!r.byte(b) || b > 1) return false;
      out = ScalarValue::boolean(b == 1);
      return true;
    }
    case ScalarKind::Int:
      if (!r.varint(n)) return false;
      out = ScalarValue::int64(unzigzag(n));
      return true;
    case ScalarKind::Uint:
      if (!r.varint(n)) return false;
      out = ScalarValue::uint64(n);
      return true;
    case ScalarKind::F64: {
      std::uint8_t raw[8];
      if (!r.fixed(raw)) return false;
      std::uint64_t bits = 0;
      for (int i = 0; i < 8; ++i) bits |= static_cast<std::uint64_t>(raw[i]) << (8 * i);
      out = ScalarValue::f64(std::bit_cast<double>(bits));
      return true;
    }
    case ScalarKind::Str: {
      std::string s;
      if (!read_text(r, s)) return false;
      out = ScalarValue::str(std::move(s));
      return true;
    }
    case ScalarKind::Counter:
      if (!r.varint(n)) return false;
      out = ScalarValue::counter(unzigzag(n));
      return true;
    case ScalarKind::Timestamp:
      if (!r.varint(n)) return false;
      out = ScalarValue::timestamp(unzigzag(n));
      return true;
    case ScalarKind::Bytes: {
      std::string s;
      if (!read_text(r, s)) return false;
      out = ScalarValue::bytes(Bytes(s.begin(), s.end()));
      return true;
    }
  }
  return false;
}

void put_varint(Bytes& out, std::uint64_t v) {
  while (v >= 0x80) {
    out.push_back(static_cast<std::uint8_t>(v | 0x80));
    v >>= 7;
  }
  out.push_back(static_cast<std::uint8_t>(v));
}

bool Reader::varint(std::uint64_t& out) {
  out = 0;
  for (int shift = 0; shift < 64; shift += 7) {
    if (pos_ >= data_.size()) return false;
    std::uint8_t b = data_[pos_++];
    if (shift == 63 && b > 1) return false;
    out |= static_cast<std::uint64_t>(b & 0x7f) << shift;
    if ((b & 0x80) == 0) return true;
  }
  return false;
}
bool Reader::byte(std::uint8_t& out) {
  if (pos_ >= data_.size()) return false;
  out = data_[pos_++];
  return true;
}
bool Reader::fixed(std::span<std::uint8_t> out) {
  if (remaining() < out.size()) return false;
  std::memcpy(out.data(), data_.data() + pos_, out.size());
  pos_ += out.size();
  return true;
}
bool Reader::bytes(std::size_t n, std::span<const std::uint8_t>& out) {
  if (remaining() < n) return false;
  out = data_.subspan(pos_, n);
  pos_ += n;
  return true;
}

Bytes encode_change(const ChangeData& c) {
  Bytes out(std::begin(kMagic), std::end(kMagic));
  out.push_back(kVersion);
  put_varint(out, c.actors.size());
  for (const ActorId& a : c.actors) put_bytes(out, a.to_bytes());
  put_varint(out, c.seq);
  put_varint(out, c.start_op);
  put_varint(out, c.deps.size());
  for (const ChangeHash& h : c.deps) out.insert(out.end(), h.bytes.begin(), h.bytes.end());
  put_varint(out, c.ops.size());
  for (const OpData& op : c.ops) {
    out.push_back(static_cast<std::uint8_t>(static_cast<std::uint8_t>(op.action) | (op.insert ? kInsertFlag : 0)));
    put_opid(out, op.obj);
    out.push_back(op.key.is_elem ? 1 : 0);
    if (op.key.is_elem) {
      put_opid(out, op.key.elem);
    } else {
      put_text(out, op.key.prop);
    }
    if (op.action == OpAction::Put) put_value(out, op.value);
    put_varint(out, op.pred.size());
    for (RawOpId p : op.pred) put_opid(out, p);
  }
  return out;
}

namespace {

// Everything before the ops, and the op count; null, or what is wrong.
const char* read_header(Reader& r, ChangeData& c, std::uint64_t& op_count) {
  std::uint8_t head[5];
  if (!r.fixed(head) || !std::equal(std::begin(kMagic), std::end(kMagic), head) || head[4] != kVersion) {
    return "header";
  }
  std::uint64_t n = 0;
  if (!r.varint(n) || n == 0 || n > r.remaining()) return "actors";
  for (std::uint64_t i = 0; i < n; ++i) {
    std::uint64_t len = 0;
    std::span<const std::uint8_t> b;
    if (!r.varint(len) || len == 0 || len > kMaxActorBytes || !r.bytes(static_cast<std::size_t>(len), b)) {
      return "actor";
    }
    c.actors.emplace_back(Bytes(b.begin(), b.end()));
  }
  if (!r.varint(c.seq) || c.seq == 0 || !r.varint(c.start_op) || c.start_op == 0) return "counters";
  if (!r.varint(n) || n > r.remaining() / 32) return "deps";
  c.deps.resize(static_cast<std::size_t>(n));
  for (ChangeHash& h : c.deps) {
    if (!r.fixed(h.bytes)) return "dep";
  }
  // An op takes at least five bytes; memory grows with the ops actually read, not the count.
  if (!r.varint(op_count) || op_count > r.remaining() / 5) return "ops";
  if (c.start_op + op_count < c.start_op) return "op counter overflow";
  return nullptr;
}

}  // namespace

base::Result<ChangeHeader> decode_change_header(std::span<const std::uint8_t> bytes) {
  Reader r(bytes);
  ChangeHeader h;
  if (const char* what = read_header(r, h.change, h.op_count))
    return base::err(std::string("malformed change: ") + what);
  return h;
}

base::Result<ChangeData> decode_change(std::span<const std::uint8_t> bytes) {
  auto bad = [](const char* what) { return base::err(std::string("malformed change: ") + what); };
  Reader r(bytes);
  ChangeData c;
  std::uint64_t n = 0;
  if (const char* what = read_header(r, c, n)) return bad(what);
  c.ops.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(n, 1024)));
  for (std::uint64_t i = 0; i < n; ++i) {
    OpData op;
    std::uint8_t action = 0, key_kind = 0;
    if (!r.byte(action)) return bad("op");
    op.insert = (action & kInsertFlag) != 0;
    action = static_cast<std::uint8_t>(action & ~kInsertFlag);
    if (action > static_cast<std::uint8_t>(OpAction::Delete)) return bad("op action");
    op.action = static_cast<OpAction>(action);
    if (!read_opid(r, c.actors.size(), op.obj) || !r.byte(key_kind) || key_kind > 1) return bad("op target");
    op.key.is_elem = key_kind == 1;
    if (op.key.is_elem ? !read_opid(r, c.actors.size(), op.key.elem) : !read_text(r, op.key.prop)) {
      return bad("op key");
    }
    if (op.action == OpAction::Put && !read_value(r, op.value)) return bad("op value");
    std::uint64_t preds = 0;
    if (!r.varint(preds) || preds > r.remaining() / 2) return bad("op pred");  // two bytes each at least
    op.pred.resize(static_cast<std::size_t>(preds));
    for (RawOpId& p : op.pred) {
      if (!read_opid(r, c.actors.size(), p) || p.counter == 0) return bad("op pred");
    }
    c.ops.push_back(std::move(op));
  }
  if (!r.done()) return bad("trailing bytes");
  return c;
}

ChangeHash hash_bytes(std::span<const std::uint8_t> bytes) { return ChangeHash{sha256(bytes)}; }

}  // namespace automerge::detail
