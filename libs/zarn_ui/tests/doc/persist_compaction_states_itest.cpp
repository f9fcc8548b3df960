// Every state of the files that a crash or a power loss in the middle of a compaction can leave
// (the snapshot and the log are kept as the previous generation, then a new snapshot and a new
// log replace them, each step put in place by a rename and synced): each opens with every change
// that was flushed before it. From where the new snapshot is a file of its own, one damaged byte
// in it loses nothing either.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

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

using Files = std::map<std::string, std::vector<std::uint8_t>>;

void put_keys(PersistedDoc& p, const std::string& prefix, int n, std::vector<std::string>& flushed) {
  for (int i = 0; i < n; ++i) {
    const std::string k = prefix + std::to_string(i);
    ASSERT_TRUE(p.doc().put(ROOT, k, ScalarValue::int64(i)).is_ok());
    ASSERT_TRUE(p.flush().is_ok());
    flushed.push_back(k);
  }
}

Files files_of(const std::filesystem::path& dir) {
  Files out;
  for (const char* name :
       {"document.snapshot", "document.log", "document.snapshot.previous", "document.log.previous"}) {
    if (std::filesystem::exists(dir / name)) out[name] = read_all(dir / name);
  }
  return out;
}

TEST(PersistCompactionStates, EveryStateACompactionCanLeaveOpensWithEveryFlushedChange) {
  // Before: a snapshot of "a" keys with a log of "b" keys beside it (the first compaction kept
  // the log of "a" keys). After: a snapshot of both, and a log of "c" keys.
  TempDir work;
  std::vector<std::string> before_keys;
  std::vector<std::string> after_keys;
  {
    PersistedDoc p = open_in(work.path());
    put_keys(p, "a", 20, before_keys);
  }
  {
    PersistedDoc p = open_in(work.path());
    put_keys(p, "b", 20, before_keys);
  }
  const Files before = files_of(work.path());
  ASSERT_EQ(before.size(), 3u) << "a snapshot, its log and the first log kept";
  {
    PersistedDoc p = open_in(work.path());
    after_keys = before_keys;
    put_keys(p, "c", 20, after_keys);
  }
  const Files after = files_of(work.path());
  ASSERT_EQ(after.size(), 4u);
  ASSERT_EQ(after.at("document.snapshot.previous"), before.at("document.snapshot"));
  ASSERT_EQ(after.at("document.log.previous"), before.at("document.log"));

  struct State {
    const char* what;
    std::map<std::string, const std::vector<std::uint8_t>*> files;
    const std::vector<std::string>* flushed;
    bool snapshot_is_its_own_file;  // not a second name of the previous snapshot
  };
  const auto& s_a = before.at("document.snapshot");
  const auto& l_a = before.at("document.log");
  const auto& l_p = before.at("document.log.previous");
  const auto& s_b = after.at("document.snapshot");
  const auto& l_b = after.at("document.log");
  const State states[] = {
      {"before anything",
       {{"document.snapshot", &s_a}, {"document.log", &l_a}, {"document.log.previous", &l_p}},
       &before_keys,
       true},
      {"the snapshot kept",
       {{"document.snapshot", &s_a},
        {"document.log", &l_a},
        {"document.snapshot.previous", &s_a},
        {"document.log.previous", &l_p}},
       &before_keys,
       false},
      {"both kept",
       {{"document.snapshot", &s_a},
        {"document.log", &l_a},
        {"document.snapshot.previous", &s_a},
        {"document.log.previous", &l_a}},
       &before_keys,
       false},
      {"the new snapshot in place",
       {{"document.snapshot", &s_b},
        {"document.log", &l_a},
        {"document.snapshot.previous", &s_a},
        {"document.log.previous", &l_a}},
       &before_keys,
       true},
      {"the new log in place, and written to",
       {{"document.snapshot", &s_b},
        {"document.log", &l_b},
        {"document.snapshot.previous", &s_a},
        {"document.log.previous", &l_a}},
       &after_keys,
       true},
  };
  for (const State& state : states) {
    for (const bool damaged : {false, true}) {
      if (damaged && !state.snapshot_is_its_own_file) continue;
      SCOPED_TRACE(std::string(state.what) + (damaged ? ", the snapshot damaged" : ""));
      TempDir dir;
      for (const auto& [name, bytes] : state.files) write_all(dir.path() / name, *bytes);
      // What an interrupted step leaves beside the files; it is never read.
      write_all(dir.path() / "document.snapshot.previous.tmp", {1, 2, 3});
      if (damaged) {
        auto bytes = *state.files.at("document.snapshot");
        bytes[bytes.size() / 2] ^= 0x01;
        write_all(dir.path() / "document.snapshot", bytes);
      }
      PersistedDoc p = open_in(dir.path());
      EXPECT_EQ(p.doc().queued_count(), 0u) << p.status();
      std::size_t lost = 0;
      for (const std::string& k : *state.flushed) lost += int_at(p.doc(), k) ? 0 : 1;
      EXPECT_EQ(lost, 0u) << p.status();
      if (!damaged) {
        EXPECT_EQ(p.status(), "");
      }
      // And it goes on saving, and opens again with all of it.
      ASSERT_TRUE(p.doc().put(ROOT, "later", ScalarValue::int64(1)).is_ok());
      ASSERT_TRUE(p.flush().is_ok());
      PersistedDoc again = open_in(dir.path());
      EXPECT_EQ(again.status(), "");
      EXPECT_EQ(again.doc().keys(ROOT).size(), state.flushed->size() + 1);
    }
  }
}

}  // namespace
}  // namespace zarn_ui::persist
