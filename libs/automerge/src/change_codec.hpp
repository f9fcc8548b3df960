#pragma once
// The canonical binary form of a change. Op ids refer to actors through the change's own
// actor table (entry 0 is the author), so the bytes do not depend on any document's state.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "automerge/types.hpp"
#include "base/result.hpp"

namespace automerge::detail {

struct RawOpId {
  std::uint64_t counter = 0;  // 0 is the root object or the head of a sequence
  std::uint32_t actor = 0;
  bool operator==(const RawOpId&) const = default;
};

enum class OpAction : std::uint8_t { Put = 0, MakeMap = 1, MakeList = 2, MakeText = 3, Delete = 4 };

struct OpKey {
  bool is_elem = false;
  std::string prop;  // map key
  RawOpId elem;      // sequence element (counter 0: the head)
};

struct OpData {
  OpAction action = OpAction::Put;
  bool insert = false;
  RawOpId obj;
  OpKey key;
  ScalarValue value;
  std::vector<RawOpId> pred;
};

struct ChangeData {
  std::vector<ActorId> actors;  // actors[0] wrote the change
  std::uint64_t seq = 0;
  std::uint64_t start_op = 0;
  std::vector<ChangeHash> deps;
  std::vector<OpData> ops;
};

// What a change says before its ops: `change` holds no ops.
struct ChangeHeader {
  ChangeData change;
  std::uint64_t op_count = 0;
};

inline constexpr std::size_t kMaxActorBytes = 64;

Bytes encode_change(const ChangeData& change);
base::Result<ChangeData> decode_change(std::span<const std::uint8_t> bytes);
// The checks of decode_change up to the ops; the ops are not read.
base::Result<ChangeHeader> decode_change_header(std::span<const std::uint8_t> bytes);
ChangeHash hash_bytes(std::span<const std::uint8_t> bytes);

// Little helpers shared by the change and the document formats.
void put_varint(Bytes& out, std::uint64_t v);
class Reader;
void put_bytes(Bytes& out, std::span<const std::uint8_t> b);
void put_text(Bytes& out, const std::string& s);
// A counter, then (for a counter other than 0) the actor index.
void put_opid(Bytes& out, RawOpId id);
void put_value(Bytes& out, const ScalarValue& v);
bool read_text(Reader& r, std::string& out);
// False for an actor index not below `actor_count`.
bool read_opid(Reader& r, std::size_t actor_count, RawOpId& out);
bool read_value(Reader& r, ScalarValue& out);

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}
  bool varint(std::uint64_t& out);
  bool byte(std::uint8_t& out);
  bool fixed(std::span<std::uint8_t> out);
  bool bytes(std::size_t n, std::span<const std::uint8_t>& out);
  std::size_t remaining() const { return data_.size() - pos_; }
  bool done() const { return pos_ == data_.size(); }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t pos_ = 0;
};

}  // namespace automerge::detail
