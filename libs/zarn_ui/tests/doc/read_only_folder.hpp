#pragma once
// Makes a folder read-only for this thread while the guard lives: the folder and its files lose
// their write bits, and the thread gives up the capabilities that let root write anyway (tests
// run as root in CI). Both are restored when the guard ends, also when a test fails.

#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

namespace zarn_ui::persist::testing_support {

class ReadOnlyFolder {
 public:
  explicit ReadOnlyFolder(std::filesystem::path folder) : folder_(std::move(folder)) {
    namespace fs = std::filesystem;
    for (const auto& e : fs::directory_iterator(folder_)) {
      fs::permissions(e.path(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                      fs::perm_options::remove);
    }
    fs::permissions(folder_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    header_.version = _LINUX_CAPABILITY_VERSION_3;
    header_.pid = 0;
    EXPECT_EQ(::syscall(SYS_capget, &header_, saved_), 0);
    __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
      lowered[cap / 32].effective &= ~(1u << (cap % 32));
    EXPECT_EQ(::syscall(SYS_capset, &header_, lowered), 0);
  }
  ~ReadOnlyFolder() {
    namespace fs = std::filesystem;
    EXPECT_EQ(::syscall(SYS_capset, &header_, saved_), 0);
    std::error_code ec;
    fs::permissions(folder_, fs::perms::owner_write, fs::perm_options::add, ec);
    for (const auto& e : fs::directory_iterator(folder_, ec)) {
      fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add, ec);
    }
  }
  ReadOnlyFolder(const ReadOnlyFolder&) = delete;
  ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

 private:
  std::filesystem::path folder_;
  __user_cap_header_struct header_{};
  __user_cap_data_struct saved_[2]{};
};

}  // namespace zarn_ui::persist::testing_support
