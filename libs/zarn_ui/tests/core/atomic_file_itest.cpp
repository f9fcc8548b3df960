#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "zarn_ui/atomic_file.hpp"

namespace zarn_ui {
namespace {

namespace fs = std::filesystem;

class AtomicFile : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/zarn-atomic-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir_, ec);
  }
  static std::string read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  static std::size_t entries(const fs::path& d) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(d), fs::directory_iterator()));
  }
  fs::path dir_;
};

const std::vector<std::uint8_t> kBytes{'s', 'h', 'o', 't', 0, 1, 2};

TEST_F(AtomicFile, CreatesMissingFoldersAndReplacesWholeFiles) {
  const fs::path target = dir_ / "a" / "b" / "shot.png";
  ASSERT_TRUE(atomic_file::write(target.string(), kBytes).is_ok());
  EXPECT_EQ(read(target), std::string("shot\0\1\2", 7));
  const std::vector<std::uint8_t> second{'x'};
  ASSERT_TRUE(atomic_file::write(target.string(), second).is_ok());
  EXPECT_EQ(read(target), "x");
  EXPECT_EQ(entries(target.parent_path()), 1u);  // no temporary file left
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::others_read, fs::perms::others_read);
}

TEST_F(AtomicFile, FailsWithTheOsTextAndLeavesNothing) {
  // A parent that is a regular file.
  const fs::path blocker = dir_ / "file";
  { std::ofstream(blocker) << "x"; }
  auto st = atomic_file::write((blocker / "shot.png").string(), kBytes);
  ASSERT_FALSE(st.is_ok());
  EXPECT_NE(st.error().find("Not a directory"), std::string::npos) << st.error();
  EXPECT_EQ(entries(dir_), 1u);

  // A folder we may not write into (permissions do not bind root).
  if (geteuid() != 0) {
    const fs::path locked = dir_ / "locked";
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    auto denied = atomic_file::write((locked / "shot.png").string(), kBytes);
    ASSERT_FALSE(denied.is_ok());
    EXPECT_NE(denied.error().find("Permission denied"), std::string::npos) << denied.error();
    EXPECT_EQ(entries(locked), 0u);
  }
  // A folder nobody may create files in, root included.
  EXPECT_FALSE(atomic_file::write("/proc/zarn-shot.png", kBytes).is_ok());
  EXPECT_FALSE(fs::exists("/proc/zarn-shot.png"));
  EXPECT_FALSE(atomic_file::write("", kBytes).is_ok());
}

}  // namespace
}  // namespace zarn_ui
