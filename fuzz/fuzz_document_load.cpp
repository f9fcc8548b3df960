// Document loading on arbitrary bytes: the saved form, the on-disk record framing and the
// change decoder must reject damage without crashing, and whatever loads must keep working.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "automerge/automerge.hpp"
#include "persist_records.hpp"

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

// Builds a small valid document from the input, saves it and damages the saved bytes with the
// rest of the input, so the mutations start from well-formed data.
std::vector<std::uint8_t> damaged_save(std::span<const std::uint8_t> data) {
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
  auto bytes = doc.save();
  for (std::size_t i = half; i + 1 < data.size() && !bytes.empty(); i += 2)
    bytes[data[i] * 131u % bytes.size()] ^= data[i + 1];
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* raw, std::size_t size) {
  if (size == 0) return 0;
  std::span<const std::uint8_t> data(raw + 1, size - 1);
  switch (raw[0] % 3) {
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
  }
  return 0;
}
