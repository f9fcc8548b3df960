#pragma once
// An X server of a test's own (Xvfb on a display number it picks itself): what a test changes
// there (the root window's resources, where the pointer is, its windows) touches no other test,
// and no other test's pointer moves reach its windows.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

extern char** environ;

namespace base_testing {

class PrivateXServer {
 public:
  // `screen`: Xvfb's screen geometry and depth.
  explicit PrivateXServer(const char* screen = "1024x768x24") {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>("Xvfb"),      const_cast<char*>("-displayfd"), const_cast<char*>("3"),
                    const_cast<char*>("-nolisten"), const_cast<char*>("tcp"),        const_cast<char*>("-screen"),
                    const_cast<char*>("0"),         const_cast<char*>(screen),       nullptr};
    if (::posix_spawnp(&pid_, "Xvfb", &actions, nullptr, argv, environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    std::string number;
    while (pid_ > 0 && number.find('\n') == std::string::npos) {
      pollfd p{fds[0], POLLIN, 0};
      char buf[32];
      if (::poll(&p, 1, 10000) <= 0) break;
      const ssize_t n = ::read(fds[0], buf, sizeof buf);
      if (n <= 0) break;
      number.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    if (number.find('\n') != std::string::npos) display_ = ":" + number.substr(0, number.find('\n'));
  }
  ~PrivateXServer() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  PrivateXServer(const PrivateXServer&) = delete;
  PrivateXServer& operator=(const PrivateXServer&) = delete;

  // Empty when the server did not start.
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

}  // namespace base_testing
