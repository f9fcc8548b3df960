#include <gtest/gtest.h>

#include <fstream>

#include "base/scoped_env.hpp"
#include "persist_records.hpp"
#include "persist_temp_dir.hpp"
#include "zarn_ui/persist.hpp"

namespace zarn_ui::persist {
namespace {

using automerge::ROOT;
using automerge::ScalarValue;
using testing_support::int_at;
using testing_support::read_all;
using testing_support::TempDir;
using testing_support::write_all;

// Writes keys k0..k{n-1}, one flushed change each, and returns the log size after each flush.
std::vector<std::uintmax_t> write_keys(const std::filesystem::path& dir, int n) {
  PersistedDoc p = open_in(dir);
  EXPECT_TRUE(p.is_persistent());
  std::vector<std::uintmax_t> sizes;
  for (int i = 0; i < n; ++i) {
    EXPECT_TRUE(p.doc().put(ROOT, "k" + std::to_string(i), ScalarValue::int64(i)).is_ok());
    EXPECT_TRUE(p.flush().is_ok());
    sizes.push_back(std::filesystem::file_size(dir / "document.log"));
  }
  return sizes;
}

TEST(PersistFiles, RoundTripAndCompactionOnOpen) {
  TempDir dir;
  {
    PersistedDoc p = open_in(dir.path());
    EXPECT_EQ(p.status(), "");
    ASSERT_TRUE(p.doc().put(ROOT, "k0", ScalarValue::int64(7)).is_ok());
    ASSERT_TRUE(p.flush().is_ok());
    auto appended = p.bytes_appended();
    EXPECT_GT(appended, 0u);
    // Nothing new: nothing written.
    ASSERT_TRUE(p.flush().is_ok());
    EXPECT_EQ(p.bytes_appended(), appended);
  }
  {
    PersistedDoc p = open_in(dir.path());
    EXPECT_EQ(int_at(p.doc(), "k0"), 7);
    // Opening folded the log into the snapshot.
    EXPECT_EQ(std::filesystem::file_size(dir.path() / "document.log"), 16u);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "document.snapshot"));
    ASSERT_TRUE(p.doc().put(ROOT, "k1", ScalarValue::int64(8)).is_ok());
    ASSERT_TRUE(p.flush().is_ok());
  }
  PersistedDoc p = open_in(dir.path());
  EXPECT_EQ(int_at(p.doc(), "k0"), 7);
  EXPECT_EQ(int_at(p.doc(), "k1"), 8);
  EXPECT_EQ(p.status(), "");
  // Beside the files in place only the generation the last compaction replaced: nothing set aside.
  EXPECT_EQ(dir.files_starting("document.log."), std::vector{dir.path() / "document.log.previous"});
  EXPECT_EQ(dir.files_starting("document.snapshot."), std::vector{dir.path() / "document.snapshot.previous"});
}

// The record checksum is CRC-32, whatever the length and the alignment, as files written
// before hold it.
TEST(PersistFiles, RecordChecksumsAreCrc32) {
  auto reference = [](std::span<const std::uint8_t> data) {
    std::uint32_t c = 0xffffffffu;
    for (std::uint8_t b : data) {
      c ^= b;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
    }
    return c ^ 0xffffffffu;
  };
  const std::string check = "123456789";
  EXPECT_EQ(detail::crc32({reinterpret_cast<const std::uint8_t*>(check.data()), check.size()}), 0xcbf43926u);
  std::vector<std::uint8_t> data(300);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 37 + 11);
  for (std::size_t start : {0u, 1u, 3u, 7u}) {
    for (std::size_t len : {0u, 1u, 7u, 8u, 9u, 15u, 16u, 64u, 255u}) {
      const auto part = std::span<const std::uint8_t>(data).subspan(start, len);
      EXPECT_EQ(detail::crc32(part), reference(part)) << start << "+" << len;
    }
  }
}

// A snapshot opens whole, also one saved with its changes alone, and what it holds counts as on
// disk: the next flush appends only the new change.
TEST(PersistFiles, SnapshotsOpenWholeAndOnlyNewChangesAreAppended) {
  TempDir dir;
  write_keys(dir.path(), 3);
  { PersistedDoc folded = open_in(dir.path()); }  // the log folded into the snapshot
  const auto snapshot_file = read_all(dir.path() / "document.snapshot");
  auto recs = detail::parse_records(snapshot_file, detail::kHeaderSize);
  ASSERT_EQ(recs.payloads.size(), 1u);
  auto changes = automerge::AutoCommit::load_changes(recs.payloads[0]);
  ASSERT_TRUE(changes.is_ok());
  detail::Bytes changes_only = {'Z', 'D', 'O', 'C', 1, static_cast<std::uint8_t>(changes->size())};
  for (const auto& c : *changes) {
    changes_only.push_back(static_cast<std::uint8_t>(c.bytes.size()));
    changes_only.insert(changes_only.end(), c.bytes.begin(), c.bytes.end());
  }
  detail::Bytes older = detail::file_header(detail::FileKind::Snapshot, detail::Generation{});
  detail::append_record(older, changes_only);

  for (const auto& [what, file] : {std::pair{"with its state", snapshot_file}, std::pair{"changes alone", older}}) {
    write_all(dir.path() / "document.snapshot", file);
    PersistedDoc p = open_in(dir.path());
    EXPECT_EQ(p.status(), "") << what;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(int_at(p.doc(), "k" + std::to_string(i)), i) << what;
    const auto actor = p.doc().get_actor();
    ASSERT_TRUE(p.doc().put(ROOT, "new", ScalarValue::int64(9)).is_ok());
    ASSERT_TRUE(p.flush().is_ok());
    const auto one = p.doc().changes_after(p.doc().change_count() - 1);
    EXPECT_EQ(p.bytes_appended(), detail::kFrameSize + one.at(0).bytes.size()) << what;
    EXPECT_EQ(p.doc().get_actor(), actor);
    PersistedDoc again = open_in(dir.path());
    EXPECT_EQ(int_at(again.doc(), "new"), 9) << what;
    EXPECT_EQ(again.doc().get_heads(), p.doc().get_heads()) << what;
  }
}

TEST(PersistFiles, DamagedLogEndIsCutBackAndKeptBeside) {
  struct Case {
    const char* name;
    int keep;  // keys that survive
    std::function<void(std::vector<std::uint8_t>&, const std::vector<std::uintmax_t>&)> damage;
  };
  const std::vector<Case> cases = {
      {"torn record header", 2, [](auto& b, const auto& s) { b.resize(s[1] + 5); }},
      {"torn payload", 2, [](auto& b, const auto& s) { b.resize(s[2] - 1); }},
      {"checksum mismatch in the middle record", 1, [](auto& b, const auto& s) { b[s[0] + 12] ^= 0x40; }},
      {"length field out of range", 1, [](auto& b, const auto& s) { b[s[0] + 3] = 0xff; }},
      {"garbage after the last record", 3,
       [](auto& b, const auto&) {
         b.insert(b.end(), {1, 2, 3});
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    auto sizes = write_keys(dir.path(), 3);
    auto log = dir.path() / "document.log";
    auto bytes = read_all(log);
    auto original = bytes;
    c.damage(bytes, sizes);
    write_all(log, bytes);
    PersistedDoc p = open_in(dir.path());
    EXPECT_NE(p.status(), "");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(int_at(p.doc(), "k" + std::to_string(i)).has_value(), i < c.keep) << i;
    auto kept = dir.files_starting("document.log.damaged-");
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(read_all(kept[0]), bytes);
    // The cut document keeps working.
    ASSERT_TRUE(p.doc().put(ROOT, "after", ScalarValue::int64(1)).is_ok());
    ASSERT_TRUE(p.flush().is_ok());
    PersistedDoc again = open_in(dir.path());
    EXPECT_EQ(int_at(again.doc(), "after"), 1);
    EXPECT_EQ(again.status(), "");
  }
}

TEST(PersistFiles, UnreadableFilesAreMovedAsideNeverOverwritten) {
  const std::vector<std::uint8_t> garbage = {'n', 'o', 't', ' ', 'a', ' ', 'd', 'o', 'c'};
  {
    SCOPED_TRACE("snapshot");
    TempDir dir;
    write_keys(dir.path(), 1);
    { PersistedDoc compacted = open_in(dir.path()); }
    write_all(dir.path() / "document.snapshot", garbage);
    PersistedDoc p = open_in(dir.path());
    EXPECT_NE(p.status().find("could not be read"), std::string::npos);
    // The log the compaction replaced still holds the change.
    EXPECT_EQ(p.doc().keys(ROOT), std::vector<std::string>{"k0"});
    auto aside = dir.files_starting("document.snapshot.unreadable-");
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(read_all(aside[0]), garbage);
    ASSERT_TRUE(p.doc().put(ROOT, "fresh", ScalarValue::int64(2)).is_ok());
    ASSERT_TRUE(p.flush().is_ok());
    EXPECT_EQ(read_all(aside[0]), garbage);
    EXPECT_EQ(int_at(open_in(dir.path()).doc(), "fresh"), 2);
  }
  {
    SCOPED_TRACE("log header");
    TempDir dir;
    write_keys(dir.path(), 1);
    { PersistedDoc compacted = open_in(dir.path()); }
    write_all(dir.path() / "document.log", garbage);
    PersistedDoc p = open_in(dir.path());
    EXPECT_NE(p.status(), "");
    EXPECT_EQ(int_at(p.doc(), "k0"), 0);  // the snapshot still counts
    ASSERT_EQ(dir.files_starting("document.log.unreadable-").size(), 1u);
  }
}

TEST(PersistFiles, AFailedAppendIsRetriedOnTheNextFlush) {
  TempDir dir;
  PersistedDoc p = open_in(dir.path());
  ASSERT_TRUE(p.doc().put(ROOT, "k0", ScalarValue::int64(0)).is_ok());
  ASSERT_TRUE(p.flush().is_ok());
  // The log vanishes and a folder stands in its way: writing fails.
  auto log = dir.path() / "document.log";
  std::filesystem::remove(log);
  std::filesystem::create_directory(log);
  ASSERT_TRUE(p.doc().put(ROOT, "k1", ScalarValue::int64(1)).is_ok());
  EXPECT_TRUE(p.flush().is_err());
  std::filesystem::remove(log);
  ASSERT_TRUE(p.flush().is_ok());
  PersistedDoc again = open_in(dir.path());
  EXPECT_EQ(int_at(again.doc(), "k0"), 0);  // rewritten, since its only copy vanished
  EXPECT_EQ(int_at(again.doc(), "k1"), 1);
}

TEST(PersistFiles, TwoHandlesOnOneFolderKeepEachOthersChanges) {
  TempDir dir;
  PersistedDoc a = open_in(dir.path());
  PersistedDoc b = open_in(dir.path());
  ASSERT_TRUE(a.doc().put(ROOT, "from_a", ScalarValue::int64(1)).is_ok());
  ASSERT_TRUE(a.flush().is_ok());
  ASSERT_TRUE(b.doc().put(ROOT, "from_b", ScalarValue::int64(2)).is_ok());
  ASSERT_TRUE(b.flush().is_ok());
  EXPECT_EQ(int_at(b.doc(), "from_a"), 1);  // merged before b appended
  // b compacts; a must notice the replaced log and still lose nothing.
  ASSERT_TRUE(b.compact().is_ok());
  ASSERT_TRUE(a.doc().put(ROOT, "from_a2", ScalarValue::int64(3)).is_ok());
  ASSERT_TRUE(a.flush().is_ok());
  EXPECT_EQ(int_at(a.doc(), "from_b"), 2);
  ASSERT_TRUE(b.refresh().is_ok());
  EXPECT_EQ(int_at(b.doc(), "from_a2"), 3);
  PersistedDoc c = open_in(dir.path());
  EXPECT_EQ(int_at(c.doc(), "from_a"), 1);
  EXPECT_EQ(int_at(c.doc(), "from_b"), 2);
  EXPECT_EQ(int_at(c.doc(), "from_a2"), 3);
}

TEST(PersistFiles, FoldersAndInMemoryFallback) {
  base::ScopedEnv env("XDG_DATA_HOME", "/data/xdg");
  EXPECT_EQ(*data_folder("so.zarn.maps"), std::filesystem::path("/data/xdg/so.zarn.maps"));
  env.set("XDG_DATA_HOME", "relative/path");
  env.set("HOME", ::getenv("HOME") ? ::getenv("HOME") : "/root");
  EXPECT_EQ(*data_folder("so.zarn.maps"), std::filesystem::path(::getenv("HOME")) / ".local/share/so.zarn.maps");
  for (const char* bad : {"", ".", "..", "a/b"}) {
    EXPECT_TRUE(data_folder(bad).is_err()) << bad;
    PersistedDoc p = open(bad);
    EXPECT_FALSE(p.is_persistent());
    EXPECT_NE(p.status(), "");
    EXPECT_TRUE(p.flush().is_ok());
  }
  TempDir dir;
  env.set("XDG_DATA_HOME", dir.path().string());
  {
    PersistedDoc p = open("so.zarn.test");
    ASSERT_TRUE(p.is_persistent());
    EXPECT_EQ(p.folder(), dir.path() / "so.zarn.test");
  }
  // A folder that cannot be made (a file stands there): memory only, with a reason.
  write_all(dir.path() / "blocked", {1});
  PersistedDoc blocked = open_in(dir.path() / "blocked" / "app");
  EXPECT_FALSE(blocked.is_persistent());
  EXPECT_NE(blocked.status().find("memory"), std::string::npos);
}

}  // namespace
}  // namespace zarn_ui::persist
