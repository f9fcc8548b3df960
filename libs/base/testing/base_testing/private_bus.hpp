#pragma once
// A private dbus-daemon for one test: its own socket in a temporary folder, no service
// activation, stopped and removed when the object goes.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

extern char** environ;

namespace base_testing {

class PrivateBus {
 public:
  // Nullptr when the daemon cannot be started or does not report its address within 5 s.
  static std::unique_ptr<PrivateBus> start() {
    auto bus = std::unique_ptr<PrivateBus>(new PrivateBus());
    return bus->launch() ? std::move(bus) : nullptr;
  }

  PrivateBus(const PrivateBus&) = delete;
  PrivateBus& operator=(const PrivateBus&) = delete;

  ~PrivateBus() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      if (!reaped_within(std::chrono::seconds(3))) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
      }
    }
    if (out_fd_ >= 0) ::close(out_fd_);
    std::error_code ec;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
  }

  const std::string& address() const { return address_; }

 private:
  PrivateBus() = default;

  bool launch() {
    std::string templ = (std::filesystem::temp_directory_path() / "private-bus-XXXXXX").string();
    if (!::mkdtemp(templ.data())) return false;
    dir_ = templ;
    const auto config = dir_ / "bus.conf";
    {
      std::ofstream out(config);
      out << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
             " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
             "<busconfig><type>session</type><listen>unix:dir="
          << dir_.string()
          << "</listen><auth>EXTERNAL</auth>"
             "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
             "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n";
    }
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    // Its start-up chatter (fd limits and the like) is no test output.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::string config_arg = "--config-file=" + config.string();
    char* argv[] = {const_cast<char*>("dbus-daemon"), config_arg.data(), const_cast<char*>("--print-address=1"),
                    const_cast<char*>("--nofork"), nullptr};
    int rc = ::posix_spawnp(&pid_, "dbus-daemon", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    out_fd_ = fds[0];
    if (rc != 0) {
      pid_ = -1;
      return false;
    }
    return read_address(std::chrono::seconds(5));
  }

  bool read_address(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::string line;
    while (line.find('\n') == std::string::npos) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return false;
      pollfd fd{out_fd_, POLLIN, 0};
      if (::poll(&fd, 1, static_cast<int>(left.count())) <= 0) return false;
      char buf[256];
      ssize_t n = ::read(out_fd_, buf, sizeof buf);
      if (n <= 0) return false;
      line.append(buf, static_cast<std::size_t>(n));
    }
    address_ = line.substr(0, line.find('\n'));
    return !address_.empty();
  }

  bool reaped_within(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
      if (::waitpid(pid_, nullptr, WNOHANG) == pid_) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }

  std::filesystem::path dir_;
  pid_t pid_ = -1;
  int out_fd_ = -1;
  std::string address_;
};

}  // namespace base_testing
