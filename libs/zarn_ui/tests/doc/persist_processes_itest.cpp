// Several processes on one folder: concurrent writers, and writers killed mid-flight.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <random>

#include "persist_temp_dir.hpp"
#include "zarn_ui/persist.hpp"

namespace zarn_ui::persist {
namespace {

using automerge::ROOT;
using automerge::ScalarValue;
using testing_support::int_at;
using testing_support::TempDir;

std::string key(int i) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "k%05d", i);
  return buf;
}

// Child body: appends keys from where the document stands, reporting each completed flush on
// `ack`. Never returns.
[[noreturn]] void writer(const std::filesystem::path& dir, const std::string& prefix, int count, int ack) {
  PersistedDoc p = open_in(dir);
  int start = 0;
  if (prefix.empty()) {
    while (int_at(p.doc(), key(start))) ++start;
  }
  for (int i = start; i < start + count; ++i) {
    std::string k = prefix.empty() ? key(i) : prefix + std::to_string(i);
    if (!p.doc().put(ROOT, k, ScalarValue::int64(i)).is_ok() || !p.flush().is_ok()) ::_exit(3);
    if (ack >= 0 && ::write(ack, &i, sizeof i) != static_cast<ssize_t>(sizeof i)) ::_exit(4);
  }
  ::_exit(0);
}

TEST(PersistProcesses, TwoWritersLoseNothing) {
  TempDir dir;
  std::vector<pid_t> children;
  for (const char* prefix : {"a", "b"}) {
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) writer(dir.path(), prefix, 40, -1);
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  PersistedDoc p = open_in(dir.path());
  EXPECT_EQ(p.status(), "");
  for (int i = 0; i < 40; ++i) {
    EXPECT_EQ(int_at(p.doc(), "a" + std::to_string(i)), i);
    EXPECT_EQ(int_at(p.doc(), "b" + std::to_string(i)), i);
  }
}

TEST(PersistProcesses, KilledWriterLeavesACommittedPrefix) {
  TempDir dir;
  std::mt19937 rng(41);
  int committed = -1;  // highest key whose flush completed
  for (int round = 0; round < 8; ++round) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ::close(fds[0]);
      writer(dir.path(), "", 100000, fds[1]);
    }
    ::close(fds[1]);
    int wanted = 1 + static_cast<int>(rng() % 25);
    int seen = 0, value = 0;
    while (seen < wanted && ::read(fds[0], &value, sizeof value) == static_cast<ssize_t>(sizeof value)) {
      committed = std::max(committed, value);
      ++seen;
    }
    ::kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    while (::read(fds[0], &value, sizeof value) == static_cast<ssize_t>(sizeof value)) {
      committed = std::max(committed, value);
    }
    ::close(fds[0]);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped on its own: " << status;

    PersistedDoc p = open_in(dir.path());
    auto keys = p.doc().keys(ROOT);
    ASSERT_GE(static_cast<int>(keys.size()), committed + 1) << "round " << round;
    for (std::size_t i = 0; i < keys.size(); ++i) {
      ASSERT_EQ(keys[i], key(static_cast<int>(i))) << "not a prefix, round " << round;
      ASSERT_EQ(int_at(p.doc(), keys[i]), static_cast<int>(i));
    }
  }
  EXPECT_GT(committed, 0);
}

}  // namespace
}  // namespace zarn_ui::persist
