#pragma once
// A private dbus-daemon for one test: its own socket in a temporary folder and no service
// activation, stopped and removed when the object goes.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

extern char** environ;

namespace zarn_ui::testing_support {

class PrivateBus {
 public:
  PrivateBus() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zarn-bus-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return;
    dir_ = pattern;
    const auto config = dir_ / "bus.conf";
    std::ofstream(config)
        << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
           " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
           "<busconfig><type>session</type><listen>unix:dir="
        << dir_.string()
        << "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
           "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/><allow own=\"*\"/>"
           "</policy></busconfig>\n";
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::string config_arg = "--config-file=" + config.string();
    char* argv[] = {const_cast<char*>("dbus-daemon"), config_arg.data(), const_cast<char*>("--print-address=1"),
                    const_cast<char*>("--nofork"), nullptr};
    if (::posix_spawnp(&pid_, "dbus-daemon", &actions, nullptr, argv, environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    // The daemon prints its address once it listens.
    std::string line;
    while (pid_ > 0 && line.find('\n') == std::string::npos) {
      pollfd p{fds[0], POLLIN, 0};
      char buf[256];
      if (::poll(&p, 1, 5000) <= 0) break;
      const ssize_t n = ::read(fds[0], buf, sizeof buf);
      if (n <= 0) break;
      line.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    if (line.find('\n') != std::string::npos) address_ = line.substr(0, line.find('\n'));
  }
  ~PrivateBus() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
    std::error_code ec;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
  }
  PrivateBus(const PrivateBus&) = delete;
  PrivateBus& operator=(const PrivateBus&) = delete;

  // Empty when the daemon did not start.
  const std::string& address() const { return address_; }

 private:
  std::filesystem::path dir_;
  pid_t pid_ = -1;
  std::string address_;
};

}  // namespace zarn_ui::testing_support
