#pragma once
// The document's value vocabulary: actor ids, change hashes, object ids, object types and
// the scalar and object values a key or list element can hold.

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

namespace automerge {

using Bytes = std::vector<std::uint8_t>;

namespace detail {
struct Doc;
}

// The identity of one writer of the document (16 random bytes for a new actor). The bytes are
// shared between copies: every object id carries its actor, and reads hand out ids by the
// thousand, so a copy must not allocate.
class ActorId {
 public:
  ActorId() = default;
  explicit ActorId(Bytes bytes) : bytes_(std::make_shared<const Bytes>(std::move(bytes))) {}
  static ActorId random();

  const Bytes& to_bytes() const { return bytes_ ? *bytes_ : empty(); }
  std::string to_hex() const;

  std::strong_ordering operator<=>(const ActorId& o) const {
    if (bytes_ == o.bytes_) return std::strong_ordering::equal;
    return to_bytes() <=> o.to_bytes();
  }
  bool operator==(const ActorId& o) const { return bytes_ == o.bytes_ || to_bytes() == o.to_bytes(); }

 private:
  friend struct detail::Doc;  // looks actors up by their shared bytes first
  static const Bytes& empty() {
    static const Bytes none;
    return none;
  }
  std::shared_ptr<const Bytes> bytes_;
};

// SHA-256 of a change's canonical encoding.
struct ChangeHash {
  std::array<std::uint8_t, 32> bytes{};
  std::string to_hex() const;
  auto operator<=>(const ChangeHash&) const = default;
  bool operator==(const ChangeHash&) const = default;
};

// An object's id: the id of the operation that made it; the root map has counter 0.
struct ExId {
  std::uint64_t counter = 0;
  ActorId actor;
  bool is_root() const { return counter == 0; }
  std::string to_string() const;
  auto operator<=>(const ExId&) const = default;
  bool operator==(const ExId&) const = default;
};

inline const ExId ROOT{};

enum class ObjType : std::uint8_t { Map, List, Text };

enum class ScalarKind : std::uint8_t { Null, Boolean, Int, Uint, F64, Str, Counter, Timestamp, Bytes };

struct Null {
  bool operator==(const Null&) const = default;
};
struct Counter {
  std::int64_t value = 0;
  bool operator==(const Counter&) const = default;
};
struct Timestamp {
  std::int64_t value = 0;
  bool operator==(const Timestamp&) const = default;
};

class ScalarValue {
 public:
  using Variant = std::variant<Null, bool, std::int64_t, std::uint64_t, double, std::string, Counter, Timestamp, Bytes>;

  ScalarValue() = default;
  static ScalarValue null() { return ScalarValue(Null{}); }
  static ScalarValue boolean(bool v) { return ScalarValue(v); }
  static ScalarValue int64(std::int64_t v) { return ScalarValue(v); }
  static ScalarValue uint64(std::uint64_t v) { return ScalarValue(v); }
  static ScalarValue f64(double v) { return ScalarValue(v); }
  static ScalarValue str(std::string v) { return ScalarValue(std::move(v)); }
  static ScalarValue counter(std::int64_t v) { return ScalarValue(Counter{v}); }
  static ScalarValue timestamp(std::int64_t v) { return ScalarValue(Timestamp{v}); }
  static ScalarValue bytes(Bytes v) { return ScalarValue(std::move(v)); }

  ScalarKind kind() const { return static_cast<ScalarKind>(v_.index()); }
  const Variant& variant() const { return v_; }

  std::optional<bool> as_bool() const { return get<bool>(); }
  std::optional<std::int64_t> as_int() const { return get<std::int64_t>(); }
  std::optional<std::uint64_t> as_uint() const { return get<std::uint64_t>(); }
  std::optional<double> as_f64() const { return get<double>(); }
  const std::string* as_str() const { return std::get_if<std::string>(&v_); }
  std::optional<std::int64_t> as_counter() const;
  std::optional<std::int64_t> as_timestamp() const;
  const Bytes* as_bytes() const { return std::get_if<Bytes>(&v_); }

  bool operator==(const ScalarValue&) const = default;

 private:
  template <class T>
  requires(!std::is_same_v<std::decay_t<T>, ScalarValue>) explicit ScalarValue(T v) : v_(std::move(v)) {}
  template <class T>
  std::optional<T> get() const {
    if (const T* p = std::get_if<T>(&v_)) return *p;
    return std::nullopt;
  }
  Variant v_;
};

// What a key or element holds: an object (its type and id) or a scalar.
class Value {
 public:
  static Value object(ObjType type, ExId id) { return Value(type, std::move(id)); }
  static Value scalar(ScalarValue v) { return Value(std::move(v)); }

  bool is_object() const { return type_.has_value(); }
  bool is_scalar() const { return !type_.has_value(); }
  std::optional<ObjType> obj_type() const { return type_; }
  // The object's id; the root id for a scalar.
  const ExId& obj_id() const { return id_; }
  // The scalar; Null for an object.
  const ScalarValue& to_scalar() const { return scalar_; }

  bool operator==(const Value&) const = default;

 private:
  Value(ObjType type, ExId id) : type_(type), id_(std::move(id)) {}
  explicit Value(ScalarValue v) : scalar_(std::move(v)) {}
  std::optional<ObjType> type_;
  ExId id_;
  ScalarValue scalar_;
};

// A value with the id of the operation that wrote it.
struct ValueEntry {
  Value value;
  ExId id;
  bool operator==(const ValueEntry&) const = default;
};

}  // namespace automerge

template <>
struct std::hash<automerge::ChangeHash> {
  std::size_t operator()(const automerge::ChangeHash& h) const noexcept {
    std::size_t out = 0;
    for (int i = 0; i < 8; ++i) out = (out << 8) | h.bytes[static_cast<std::size_t>(i)];
    return out;
  }
};
