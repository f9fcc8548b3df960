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

Bytes encode_change(const ChangeData& change);
base::Result<ChangeData> decode_change(std::span<const std::uint8_t> bytes);
ChangeHash hash_bytes(std::span<const std::uint8_t> bytes);

// Little helpers shared by the change and the document formats.
void put_varint(Bytes& out, std::uint64_t v);
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
