// A writer killed at random points, within appends, opens and compactions: every action flushed
// before the kill must be on disk, and the document must open and load afterwards.

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "doc/action_path.hpp"
#include "doc/readers.hpp"
#include "doc_fixtures.hpp"
#include "zarn_ui/persist.hpp"

namespace maps::doc {
namespace {

std::filesystem::path make_temp_dir() {
  std::string pattern = (std::filesystem::path(::testing::TempDir()) / "maps-doc-crash-XXXXXX").string();
  std::vector<char> buf(pattern.begin(), pattern.end());
  buf.push_back('\0');
  const char* made = ::mkdtemp(buf.data());
  return made ? made : "";
}

std::string region_id(int round, int i) { return "r" + std::to_string(round) + "-" + std::to_string(i); }

// The child: commits one region per step and reports each index once its flush returned. It
// opens the folder again now and then (opening folds the log into the snapshot) and compacts in
// between, so kills also land inside an open and inside a compaction.
[[noreturn]] void write_until_killed(const std::filesystem::path& folder, int round, int report_fd) {
  zarn_ui::persist::PersistedDoc persisted = zarn_ui::persist::open_in(folder);
  zarn_ui::action_host::ActionHost host;
  for (int i = 0; i < 400; ++i) {
    if (i % 25 == 24) {
      persisted = zarn_ui::persist::open_in(folder);
      if (!persisted.is_persistent()) _exit(5);
    } else if (i % 10 == 9 && !persisted.compact()) {
      _exit(6);
    }
    const MapsAction action{MapsAction::AddRegion{testing::region(region_id(round, i))}};
    dispatch_with_context(host, persisted.doc(), kMapsActionType, action,
                          action_context_for(kMapsAppId, kMapsAppName, action));
    if (!persisted.flush()) _exit(3);
    if (write(report_fd, &i, sizeof i) != static_cast<ssize_t>(sizeof i)) _exit(4);
  }
  _exit(0);
}

TEST(CrashSafety, EveryFlushedActionSurvivesAKill) {
  const std::filesystem::path folder = make_temp_dir();
  ASSERT_FALSE(folder.empty());
  std::mt19937 rng(20261210);
  std::uniform_int_distribution<int> delay_us(200, 40000);
  std::set<std::string> flushed;

  for (int round = 0; round < 12; ++round) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      close(fds[0]);
      write_until_killed(folder, round, fds[1]);
    }
    close(fds[1]);
    std::this_thread::sleep_for(std::chrono::microseconds(delay_us(rng)));
    kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) == 0)) << "round " << round;
    int index = 0;
    while (read(fds[0], &index, sizeof index) == static_cast<ssize_t>(sizeof index)) {
      flushed.insert(region_id(round, index));
    }
    close(fds[0]);

    zarn_ui::persist::PersistedDoc reopened = zarn_ui::persist::open_in(folder);
    ASSERT_TRUE(reopened.is_persistent()) << reopened.status();
    std::set<std::string> present;
    if (auto model = load_map_model(reopened.doc())) {
      for (const DownloadedRegion& r : model->regions) present.insert(r.id);
    }
    for (const std::string& id : flushed) EXPECT_EQ(present.count(id), 1u) << "round " << round << " lost " << id;
  }
  // The delays are long enough for some rounds to flush; otherwise nothing was tested.
  EXPECT_GT(flushed.size(), 8u);
  RecordProperty("flushed", static_cast<int>(flushed.size()));
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
}

}  // namespace
}  // namespace maps::doc
