// Document loading on arbitrary bytes: the saved form, the on-disk record framing and the
// change decoder must reject damage without crashing, and whatever loads must keep working. A
// saved state damaged and sealed again must be judged by what it says: taken when it fits the
// changes beside it, passed over for them otherwise.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "automerge/automerge.hpp"
#include "persist_records.hpp"
#include "saved_state.hpp"

namespace {

using automerge::AutoCommit;
using automerge::ROOT;
using automerge::ScalarValue;

// A loaded document must read, edit and save again.
void exercise(AutoCommit& doc) {
  for (const auto& k : doc.keys(ROOT)) {
    auto v = doc.get(ROOT, k);
    if (v.is_ok() && v->has_value() && (*v)->value.is_object()) {
      const auto& id = (*v)->value.obj_id();
      (void)doc.length(id);
      (void)doc.text(id);
      (void)doc.keys(id);
    }
  }
  (void)doc.put(ROOT, "fuzz", ScalarValue::int64(1));
  auto again = AutoCommit::load(doc.save());
  if (!again.is_ok()) __builtin_trap();  // a document we saved must load
}

// A small valid document edited by the first half of the input.
AutoCommit built(std::span<const std::uint8_t> data) {
  AutoCommit doc;
  auto list = doc.put_object(ROOT, "l", automerge::ObjType::List);
  auto text = doc.put_object(ROOT, "t", automerge::ObjType::Text);
  std::size_t half = data.size() / 2;
  for (std::size_t i = 0; i < half; ++i) {
    std::uint8_t b = data[i];
    switch (b % 5) {
      case 0: (void)doc.put(ROOT, std::string(1, static_cast<char>('a' + b % 7)), ScalarValue::uint64(b)); break;
      case 1: (void)doc.insert(*list, b % (doc.length(*list) + 1), ScalarValue::str("x")); break;
      case 2: (void)doc.splice_text(*text, b % (doc.length(*text) + 1), b % 2, "é"); break;
      case 3: doc.commit(); break;
      case 4: (void)doc.delete_(*list, b % (doc.length(*list) + 1)); break;
    }
  }
  return doc;
}

// Saves the document and damages the saved bytes with the rest of the input, so the mutations
// start from well-formed data.
std::vector<std::uint8_t> damaged_save(std::span<const std::uint8_t> data) {
  auto bytes = built(data).save();
  for (std::size_t i = data.size() / 2; i + 1 < data.size() && !bytes.empty(); i += 2)
    bytes[data[i] * 131u % bytes.size()] ^= data[i + 1];
  return bytes;
}

// Saves the document, damages its state alone with the rest of the input and seals it again
// with a fresh digest, so that the loader must judge the state by what it says.
std::vector<std::uint8_t> resealed_state(std::span<const std::uint8_t> data) {
  auto parts = fuzz_saved::split(built(data).save());
  if (!parts) __builtin_trap();  // what we save has a state
  auto& state = parts->state;
  for (std::size_t i = data.size() / 2; i + 2 < data.size() && !state.empty(); i += 3) {
    std::uint8_t& at = state[(static_cast<std::size_t>(data[i]) << 8 | data[i + 1]) % state.size()];
    at = data[i + 2] & 0x80 ? static_cast<std::uint8_t>(data[i + 2] & 0x07) : at ^ data[i + 2];
  }
  return fuzz_saved::seal(*parts);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* raw, std::size_t size) {
  if (size == 0) return 0;
  std::span<const std::uint8_t> data(raw + 1, size - 1);
  switch (raw[0] % 4) {
    case 0: {
      auto doc = AutoCommit::load(data);
      if (doc.is_ok()) exercise(*doc);
      break;
    }
    case 1: {
      namespace d = zarn_ui::persist::detail;
      std::size_t start = d::header_ok(d::FileKind::Log, data) ? d::kHeaderSize : 0;
      auto recs = d::parse_records(data, start);
      AutoCommit doc;
      for (auto payload : recs.payloads) {
        auto change = automerge::Change::from_bytes(payload);
        if (change.is_ok()) (void)doc.apply_changes({*change});
      }
      exercise(doc);
      break;
    }
    case 2: {
      auto bytes = damaged_save(data);
      auto doc = AutoCommit::load(bytes);
      if (doc.is_ok()) exercise(*doc);
      break;
    }
    case 3: {
      // The changes beside the state are whole: whatever the state says, the document loads,
      // from the state when it fits them, else from the changes.
      const auto bytes = resealed_state(data);
      auto doc = AutoCommit::load(bytes);
      if (!doc.is_ok()) __builtin_trap();
      auto changes = AutoCommit::load_changes(bytes);
      if (!changes.is_ok() || changes->size() != doc->change_count() + doc->queued_count()) __builtin_trap();
      // Edits made over the history alone meet whatever the state holds, both ways.
      auto replayed = AutoCommit::load(fuzz_saved::changes_only(bytes));
      if (!replayed.is_ok()) __builtin_trap();
      AutoCommit other = replayed->fork();
      for (const char* key : {"l", "t"}) {
        auto v = other.get(ROOT, key);
        if (!v.is_ok() || !v->has_value() || !(*v)->value.is_object()) continue;
        const auto id = (*v)->value.obj_id();
        (void)other.insert(id, 0, ScalarValue::str("y"));
        if (other.length(id) > 1) (void)other.delete_(id, 1);
        (void)other.splice_text(id, 0, 1, "z");
      }
      (void)other.delete_(ROOT, "a");
      (void)other.put(ROOT, "b", ScalarValue::int64(2));
      (void)doc->merge(other);
      (void)other.merge(*doc);
      exercise(*doc);
      exercise(other);
      break;
    }
  }
  return 0;
}
