// Crafted document folders: a log record the document refuses, a snapshot that is missing or
// unreadable beside its log, and a folder that cannot be written. Every readable change is kept,
// damage is set aside, and saving goes on wherever the folder can be written.

#include <gtest/gtest.h>

#include "persist_records.hpp"
#include "persist_temp_dir.hpp"
#include "read_only_folder.hpp"
#include "zarn_ui/persist.hpp"

namespace zarn_ui::persist {
namespace {

using automerge::AutoCommit;
using automerge::ROOT;
using automerge::ScalarValue;
using testing_support::int_at;
using testing_support::read_all;
using testing_support::ReadOnlyFolder;
using testing_support::TempDir;
using testing_support::write_all;

void put_varint(detail::Bytes& out, std::uint64_t v) {
  do {
    const auto low = static_cast<std::uint8_t>(v & 0x7f);
    v >>= 7;
    out.push_back(v ? static_cast<std::uint8_t>(low | 0x80) : low);
  } while (v);
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Puts the keys, one flushed change each; returns the log size after each flush.
std::vector<std::uintmax_t> put_keys(PersistedDoc& p, const std::filesystem::path& dir,
                                     const std::vector<std::string>& keys) {
  std::vector<std::uintmax_t> sizes;
  for (const std::string& k : keys) {
    EXPECT_TRUE(p.doc().put(ROOT, k, ScalarValue::int64(static_cast<std::int64_t>(k.size()))).is_ok());
    EXPECT_TRUE(p.flush().is_ok());
    sizes.push_back(std::filesystem::file_size(dir / "document.log"));
  }
  return sizes;
}

// The document keeps saving: a new change is written and read back by the next open.
void expect_saving_works(PersistedDoc& p, const std::filesystem::path& dir) {
  ASSERT_TRUE(p.is_persistent());
  ASSERT_TRUE(p.doc().put(ROOT, "after", ScalarValue::int64(1)).is_ok());
  ASSERT_TRUE(p.flush().is_ok());
  PersistedDoc again = open_in(dir);
  EXPECT_EQ(again.status(), "");
  EXPECT_EQ(int_at(again.doc(), "after"), 1);
}

// A record whose framing and checksum hold but which the document refuses: a second first change
// of the writer's own actor, as another document with the same actor would have written it.
TEST(PersistDamage, ARefusedLogRecordEndsTheLogLikeADamagedTail) {
  TempDir dir;
  std::vector<std::uintmax_t> sizes;
  automerge::ActorId writer;
  {
    PersistedDoc p = open_in(dir.path());
    sizes = put_keys(p, dir.path(), {"k0", "k1", "k2"});
    writer = p.doc().get_actor();
  }
  AutoCommit impostor(writer);
  ASSERT_TRUE(impostor.put(ROOT, "forged", ScalarValue::int64(9)).is_ok());
  auto forged = impostor.get_changes({});
  ASSERT_EQ(forged.size(), 1u);
  const auto log = dir.path() / "document.log";
  auto bytes = read_all(log);
  detail::Bytes record;
  detail::append_record(record, forged[0].bytes);
  bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(sizes[1]), record.begin(), record.end());
  write_all(log, bytes);

  PersistedDoc p = open_in(dir.path());
  EXPECT_TRUE(contains(p.status(), "refused")) << p.status();
  EXPECT_EQ(int_at(p.doc(), "k0"), 2);
  EXPECT_EQ(int_at(p.doc(), "k1"), 2);
  EXPECT_FALSE(int_at(p.doc(), "k2"));  // after the refused record: kept aside only
  EXPECT_FALSE(int_at(p.doc(), "forged"));
  auto kept = dir.files_starting("document.log.damaged-");
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(read_all(kept[0]), bytes);
  expect_saving_works(p, dir.path());
}

// A snapshot that cannot be read is set aside alone: the log beside it may hold every change.
TEST(PersistDamage, AnUnreadableSnapshotIsSetAsideAndTheLogStillRead) {
  TempDir dir;
  {
    PersistedDoc p = open_in(dir.path());
    put_keys(p, dir.path(), {"k0", "k1"});
  }
  const std::vector<std::uint8_t> garbage = {'Z', 'S', 'N', 'P', 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7, 7, 7};
  write_all(dir.path() / "document.snapshot", garbage);
  PersistedDoc p = open_in(dir.path());
  EXPECT_TRUE(contains(p.status(), "snapshot could not be read")) << p.status();
  EXPECT_EQ(int_at(p.doc(), "k0"), 2);
  EXPECT_EQ(int_at(p.doc(), "k1"), 2);
  auto aside = dir.files_starting("document.snapshot.unreadable-");
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(read_all(aside[0]), garbage);
  EXPECT_TRUE(dir.files_starting("document.log.unreadable-").empty());
  EXPECT_TRUE(dir.files_starting("document.log.damaged-").empty());
  expect_saving_works(p, dir.path());
  PersistedDoc again = open_in(dir.path());
  EXPECT_EQ(int_at(again.doc(), "k1"), 2);
}

// One damaged byte in the newest snapshot: the generation it replaced (the snapshot before it and
// that snapshot's log) stands in, so every change, those of the log after it too, still shows.
TEST(PersistDamage, ADamagedSnapshotFallsBackToTheGenerationBefore) {
  TempDir dir;
  std::vector<std::string> keys;
  for (int round = 0; round < 3; ++round) {
    PersistedDoc p = open_in(dir.path());  // each open but the first folds the log into a snapshot
    std::vector<std::string> more;
    for (int i = 0; i < 200; ++i) more.push_back("r" + std::to_string(round) + "-" + std::to_string(i));
    put_keys(p, dir.path(), more);
    keys.insert(keys.end(), more.begin(), more.end());
  }
  const auto snapshot = dir.path() / "document.snapshot";
  auto bytes = read_all(snapshot);
  bytes[bytes.size() / 2] ^= 0x20;
  write_all(snapshot, bytes);

  {
    PersistedDoc p = open_in(dir.path());
    EXPECT_TRUE(contains(p.status(), "The previous snapshot and its log were read in its place")) << p.status();
    EXPECT_EQ(p.doc().queued_count(), 0u);
    for (const std::string& k : keys) ASSERT_EQ(int_at(p.doc(), k), static_cast<std::int64_t>(k.size())) << k;
    EXPECT_EQ(dir.files_starting("document.snapshot.unreadable-").size(), 1u);
    expect_saving_works(p, dir.path());
  }
  PersistedDoc again = open_in(dir.path());
  EXPECT_EQ(again.status(), "");
  EXPECT_EQ(again.doc().keys(ROOT).size(), keys.size() + 1);
}

// A snapshot whose saved form holds a change the document refuses: the changes around it are
// kept, the file is set aside.
TEST(PersistDamage, ASnapshotWithARefusedChangeKeepsTheOthers) {
  TempDir dir;
  automerge::ActorId writer;
  {
    PersistedDoc p = open_in(dir.path());
    put_keys(p, dir.path(), {"k0"});
    writer = p.doc().get_actor();
  }
  { PersistedDoc folded = open_in(dir.path()); }  // the snapshot now holds k0
  AutoCommit side;
  ASSERT_TRUE(side.put(ROOT, "side", ScalarValue::int64(5)).is_ok());
  AutoCommit impostor(writer);
  ASSERT_TRUE(impostor.put(ROOT, "forged", ScalarValue::int64(9)).is_ok());
  // The saved form: the snapshot's own changes, then the refused one, then an unrelated one.
  const auto file = read_all(dir.path() / "document.snapshot");
  auto recs = detail::parse_records(file, detail::kHeaderSize);
  ASSERT_EQ(recs.payloads.size(), 1u);
  auto changes = AutoCommit::load_changes(recs.payloads[0]);
  ASSERT_TRUE(changes.is_ok());
  changes->push_back(impostor.get_changes({})[0]);
  changes->push_back(side.get_changes({})[0]);
  detail::Bytes body = {'Z', 'D', 'O', 'C', 1};
  put_varint(body, changes->size());
  for (const auto& c : *changes) {
    put_varint(body, c.bytes.size());
    body.insert(body.end(), c.bytes.begin(), c.bytes.end());
  }
  ASSERT_TRUE(AutoCommit::load_changes(body).is_ok());
  detail::Bytes snap = detail::file_header(detail::FileKind::Snapshot, detail::Generation{});
  detail::append_record(snap, body);
  write_all(dir.path() / "document.snapshot", snap);

  PersistedDoc p = open_in(dir.path());
  EXPECT_TRUE(contains(p.status(), "refused")) << p.status();
  EXPECT_EQ(int_at(p.doc(), "k0"), 2);
  EXPECT_EQ(int_at(p.doc(), "side"), 5);
  EXPECT_FALSE(int_at(p.doc(), "forged"));
  auto aside = dir.files_starting("document.snapshot.unreadable-");
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(read_all(aside[0]), snap);
  expect_saving_works(p, dir.path());
  PersistedDoc again = open_in(dir.path());
  EXPECT_EQ(int_at(again.doc(), "k0"), 2);  // written back into the new snapshot
  EXPECT_EQ(int_at(again.doc(), "side"), 5);
}

// After a compaction the log builds on the snapshot. Without it, the generation the compaction
// replaced stands in; without that too, the logged change cannot be shown: the open says so, and
// the change is kept, so the old snapshot can still be merged in.
TEST(PersistDamage, AMissingSnapshotIsReportedAndItsLogKept) {
  TempDir dir;
  {
    PersistedDoc p = open_in(dir.path());
    put_keys(p, dir.path(), {"k0"});
  }
  {
    PersistedDoc p = open_in(dir.path());  // folds k0 into the snapshot
    put_keys(p, dir.path(), {"k1"});
  }
  const auto snapshot = read_all(dir.path() / "document.snapshot");
  const auto log = read_all(dir.path() / "document.log");
  std::filesystem::remove(dir.path() / "document.snapshot");
  {
    PersistedDoc p = open_in(dir.path());
    EXPECT_TRUE(contains(p.status(), "snapshot is missing. The previous snapshot and its log were read")) << p.status();
    EXPECT_EQ(int_at(p.doc(), "k0"), 2);
    EXPECT_EQ(int_at(p.doc(), "k1"), 2);
    EXPECT_EQ(p.doc().queued_count(), 0u);
  }
  // The same log alone, with no generation beside it.
  std::filesystem::remove_all(dir.path());
  std::filesystem::create_directories(dir.path());
  write_all(dir.path() / "document.log", log);

  PersistedDoc p = open_in(dir.path());
  EXPECT_TRUE(contains(p.status(), "1 saved changes build on changes that are on no file")) << p.status();
  EXPECT_FALSE(int_at(p.doc(), "k1"));
  EXPECT_EQ(p.doc().queued_count(), 1u);
  ASSERT_TRUE(p.doc().put(ROOT, "after", ScalarValue::int64(1)).is_ok());
  ASSERT_TRUE(p.flush().is_ok());

  // Saving went on, the kept change is still there and still reported; the old snapshot's
  // changes release it.
  PersistedDoc again = open_in(dir.path());
  EXPECT_EQ(int_at(again.doc(), "after"), 1);
  EXPECT_EQ(again.doc().queued_count(), 1u);
  EXPECT_TRUE(contains(again.status(), "1 saved changes build on")) << again.status();
  auto recs = detail::parse_records(snapshot, detail::kHeaderSize);
  ASSERT_EQ(recs.payloads.size(), 1u);
  auto old_changes = AutoCommit::load_changes(recs.payloads[0]);
  ASSERT_TRUE(old_changes.is_ok());
  ASSERT_TRUE(again.doc().apply_changes(*old_changes).is_ok());
  EXPECT_EQ(int_at(again.doc(), "k0"), 2);
  EXPECT_EQ(int_at(again.doc(), "k1"), 2);
  EXPECT_EQ(int_at(again.doc(), "after"), 1);
}

// A folder that cannot be written opens read-only: what it holds is shown, with a damaged tail
// too, and nothing in it is changed, moved or cut.
TEST(PersistDamage, AReadOnlyFolderShowsWhatIsStoredAndWritesNothing) {
  TempDir dir;
  {
    PersistedDoc p = open_in(dir.path());
    put_keys(p, dir.path(), {"k0"});
  }
  {
    PersistedDoc p = open_in(dir.path());
    put_keys(p, dir.path(), {"k1"});
  }
  const auto log = dir.path() / "document.log";
  auto bytes = read_all(log);
  bytes.insert(bytes.end(), {1, 2, 3});  // a torn record at the end
  write_all(log, bytes);
  std::vector<std::pair<std::filesystem::path, std::vector<std::uint8_t>>> before;
  for (const auto& e : std::filesystem::directory_iterator(dir.path()))
    before.emplace_back(e.path(), read_all(e.path()));
  std::sort(before.begin(), before.end());

  {
    ReadOnlyFolder read_only(dir.path());
    PersistedDoc p = open_in(dir.path());
    EXPECT_TRUE(p.is_read_only());
    EXPECT_FALSE(p.is_persistent());
    EXPECT_TRUE(contains(p.status(), "changes will not be saved")) << p.status();
    EXPECT_TRUE(contains(p.status(), "damaged end")) << p.status();
    EXPECT_EQ(int_at(p.doc(), "k0"), 2);
    EXPECT_EQ(int_at(p.doc(), "k1"), 2);
    ASSERT_TRUE(p.doc().put(ROOT, "k2", ScalarValue::int64(2)).is_ok());
    EXPECT_TRUE(p.flush().is_ok());
    EXPECT_TRUE(p.compact().is_ok());
    EXPECT_EQ(int_at(p.doc(), "k2"), 2);
  }
  std::vector<std::pair<std::filesystem::path, std::vector<std::uint8_t>>> after;
  for (const auto& e : std::filesystem::directory_iterator(dir.path()))
    after.emplace_back(e.path(), read_all(e.path()));
  std::sort(after.begin(), after.end());
  EXPECT_EQ(after, before);

  // Writable again: the damage is set aside now and the stored changes are all there.
  PersistedDoc p = open_in(dir.path());
  EXPECT_TRUE(contains(p.status(), "damaged end")) << p.status();
  EXPECT_EQ(int_at(p.doc(), "k0"), 2);
  EXPECT_EQ(int_at(p.doc(), "k1"), 2);
  EXPECT_FALSE(int_at(p.doc(), "k2"));
  expect_saving_works(p, dir.path());
}

// Opening creates every missing level of the folder, private to the user, and the document
// saved in it reads back.
TEST(PersistDamage, NestedMissingFoldersAreCreated) {
  TempDir dir;
  const auto deep = dir.path() / "a" / "b" / "c";
  {
    PersistedDoc p = open_in(deep.string() + "/");
    ASSERT_TRUE(p.is_persistent()) << p.status();
    put_keys(p, deep, {"k0"});
  }
  EXPECT_EQ(std::filesystem::status(dir.path() / "a").permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_all);
  EXPECT_EQ(int_at(open_in(deep).doc(), "k0"), 2);
}

}  // namespace
}  // namespace zarn_ui::persist
