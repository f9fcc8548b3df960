// Opening a document folder whose snapshot and log hold arbitrary or damaged bytes. The files are
// built from a well-formed document, then damaged: a file left out, change bytes altered before
// they are framed (so the checksum holds and the document must refuse them), a second first
// change of the writer's actor, records swapped, raw bytes flipped or cut, the snapshot saved
// with its changes alone or with its state damaged and sealed again. Or they are the input's
// bytes as they come. Opening must never crash, must keep the folder writable, and what it read
// plus one new change must all be there when the folder is opened again.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include <spdlog/spdlog.h>

#include "automerge/automerge.hpp"
#include "persist_records.hpp"
#include "saved_state.hpp"
#include "zarn_ui/persist.hpp"

namespace {

namespace d = zarn_ui::persist::detail;
using automerge::AutoCommit;
using automerge::ROOT;
using automerge::ScalarValue;

// Reads the input a byte at a time; zeros once it runs out.
struct Input {
  std::span<const std::uint8_t> data;
  std::size_t pos = 0;
  std::uint8_t byte() { return pos < data.size() ? data[pos++] : 0; }
  std::span<const std::uint8_t> rest() { return data.subspan(std::min(pos, data.size())); }
};

const std::filesystem::path& folder() {
  static const std::filesystem::path made = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "fuzz-open-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) __builtin_trap();
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(folder(), ec);
    });
    return std::filesystem::path(pattern);
  }();
  return made;
}

void clear_folder() {
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(folder(), ec)) std::filesystem::remove_all(e.path(), ec);
}

void write_file(const std::string& name, std::span<const std::uint8_t> bytes) {
  std::ofstream out(folder() / name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A document edited by the input; its first changes go to the snapshot, the rest to the log.
struct Built {
  d::Bytes snapshot;
  std::vector<d::Bytes> log_changes;
  automerge::ActorId actor;
};

Built build(Input& in) {
  AutoCommit doc;
  auto list = doc.put_object(ROOT, "list", automerge::ObjType::List);
  auto map = doc.put_object(ROOT, "map", automerge::ObjType::Map);
  doc.commit();
  const int edits = in.byte() % 24;
  const int in_snapshot = in.byte() % (edits + 1);
  std::size_t snapshot_changes = 1;
  for (int i = 0; i < edits; ++i) {
    const std::uint8_t b = in.byte();
    switch (b % 4) {
      case 0: (void)doc.put(ROOT, std::string(1, static_cast<char>('a' + b % 5)), ScalarValue::int64(b)); break;
      case 1: (void)doc.insert(*list, b % (doc.length(*list) + 1), ScalarValue::str("x")); break;
      case 2: (void)doc.put(*map, "k", ScalarValue::str(std::string(b % 4, 'v'))); break;
      case 3:
        if (doc.length(*list) > 0) (void)doc.delete_(*list, b % doc.length(*list));
        break;
    }
    doc.commit();
    if (i < in_snapshot) snapshot_changes = doc.change_count();
  }
  Built out;
  out.actor = doc.get_actor();
  AutoCommit base;
  auto all = doc.changes_after(0);
  std::vector<automerge::Change> head(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(snapshot_changes));
  (void)base.apply_changes(head);
  out.snapshot = base.save();
  for (std::size_t i = snapshot_changes; i < all.size(); ++i) out.log_changes.push_back(all[i].bytes);
  return out;
}

void structured(Input& in) {
  Built b = build(in);
  const std::uint8_t flags = in.byte();
  // Change bytes altered before framing: the checksum holds, the document must judge them.
  if ((flags & 0x01) && !b.log_changes.empty()) {
    auto& c = b.log_changes[in.byte() % b.log_changes.size()];
    if (!c.empty()) c[in.byte() % c.size()] ^= static_cast<std::uint8_t>(in.byte() | 1);
  }
  if (flags & 0x02) {
    AutoCommit impostor(b.actor);
    (void)impostor.put(ROOT, "forged", ScalarValue::int64(1));
    auto forged = impostor.get_changes({});
    b.log_changes.insert(b.log_changes.begin() + static_cast<std::ptrdiff_t>(in.byte() % (b.log_changes.size() + 1)),
                         forged.at(0).bytes);
  }
  // The snapshot as older documents were saved (its changes alone), or its state damaged and
  // sealed again with a fresh digest, so that the reader must judge the state by what it says.
  if (flags & 0x40) {
    b.snapshot = fuzz_saved::changes_only(b.snapshot);
  } else if (flags & 0x80) {
    auto parts = fuzz_saved::split(b.snapshot);
    if (!parts) __builtin_trap();  // what we save has a state
    const std::uint8_t edits = in.byte() % 4 + 1;
    for (std::uint8_t i = 0; i < edits && !parts->state.empty(); ++i) {
      std::uint8_t& at = parts->state[in.byte() % parts->state.size()];
      const std::uint8_t v = in.byte();
      at = v & 0x80 ? static_cast<std::uint8_t>(v & 0x07) : at ^ v;
    }
    b.snapshot = fuzz_saved::seal(*parts);
  }
  if ((flags & 0x04) && b.log_changes.size() > 1) {
    std::swap(b.log_changes[in.byte() % b.log_changes.size()], b.log_changes[in.byte() % b.log_changes.size()]);
  }
  d::Bytes snap = d::file_header(d::FileKind::Snapshot, d::Generation{});
  d::append_record(snap, b.snapshot);
  d::Bytes log = d::file_header(d::FileKind::Log, d::Generation{1, 2, 3, 4, 5, 6, 7, 8});
  for (const auto& c : b.log_changes) d::append_record(log, c);
  // Raw damage to the framed files: flips, then a cut.
  const std::uint8_t flips = in.byte() % 4;
  for (std::uint8_t i = 0; i < flips; ++i) {
    d::Bytes& f = in.byte() % 2 ? snap : log;
    f[(static_cast<std::size_t>(in.byte()) << 8 | in.byte()) % f.size()] ^= static_cast<std::uint8_t>(in.byte() | 1);
  }
  if (flags & 0x08) log.resize(log.size() - in.byte() % std::min<std::size_t>(log.size(), 64));
  if (!(flags & 0x10)) write_file("document.snapshot", snap);
  if (!(flags & 0x20)) write_file("document.log", log);
}

void raw(Input& in) {
  auto rest = in.rest();
  const std::size_t split = rest.empty() ? 0 : rest[0] * rest.size() / 256;
  write_file("document.snapshot", rest.subspan(0, split));
  write_file("document.log", rest.subspan(split));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  spdlog::set_level(spdlog::level::off);  // every damaged open warns; the checks below judge it
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  clear_folder();
  Input in{std::span<const std::uint8_t>(data, size)};
  if (in.byte() % 4 == 0) {
    raw(in);
  } else {
    structured(in);
  }
  std::vector<automerge::ChangeHash> heads;
  {
    zarn_ui::persist::PersistedDoc p = zarn_ui::persist::open_in(folder());
    if (!p.is_persistent()) __builtin_trap();  // the folder can be written: damage never costs saving
    (void)p.doc().keys(ROOT);
    if (!p.doc().put(ROOT, "after", ScalarValue::int64(7)).is_ok()) __builtin_trap();
    if (!p.flush().is_ok()) __builtin_trap();
    heads = p.doc().get_heads();
  }
  zarn_ui::persist::PersistedDoc again = zarn_ui::persist::open_in(folder());
  if (!again.is_persistent() || again.doc().get_heads() != heads) __builtin_trap();  // nothing read was lost
  auto after = again.doc().get(ROOT, "after");
  if (!after.is_ok() || !after->has_value()) __builtin_trap();
  return 0;
}
