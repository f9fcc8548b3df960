#pragma once
// What the live-app benchmarks share: a local tile server, reading a process's memory and CPU
// from /proc, and a child process that reports one record through a pipe.

#include <httplib.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "base_testing/self_signed.hpp"
#include "tile_bench_png.hpp"

namespace maps::bench {

inline std::filesystem::path fresh_dir();

// How a local tile server is reached: plain HTTP, or TLS with a certificate of its own that the
// client trusts through a bundle and a hashed directory, as the system keeps its certificates,
// or through a bundle alone, as a system without such a directory does.
enum class TileScheme { Http, Https, HttpsBundleOnly };

// Serves the same tile for every path, on 127.0.0.1; with `stall`, takes every request and never
// answers it.
class LocalTileServer {
 public:
  explicit LocalTileServer(bool stall = false, TileScheme scheme = TileScheme::Http) : stall_(stall) {
    const auto png = make_tile_png();
    body_.assign(png.begin(), png.end());
    if (scheme == TileScheme::Http) {
      server_ = std::make_unique<httplib::Server>();
    } else {
      auto [cert, key] = base_testing::self_signed_for_localhost();
      server_ = std::make_unique<httplib::SSLServer>(cert.get(), key.get());
      trust_dir_ = fresh_dir();
      // The system's bundle with this server's certificate added: the bundle is read whole.
      ca_file_ = (trust_dir_ / "bundle.crt").string();
      std::error_code ec;
      std::filesystem::copy_file("/etc/ssl/certs/ca-certificates.crt", ca_file_, ec);
      base_testing::append_pem(ca_file_, cert.get());
      if (scheme == TileScheme::Https) {
        ca_directory_ = (trust_dir_ / "certs").string();
        std::filesystem::create_directory(ca_directory_, ec);
        base_testing::append_pem(std::filesystem::path(ca_directory_) / base_testing::subject_hash_name(cert.get()),
                                 cert.get());
      }
    }
    server_->Get(R"(/(\w+)/(\d+)/(\d+)/(\d+)\.png)", [this](const httplib::Request&, httplib::Response& res) {
      if (stall_) {
        while (!stopping_) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return;
      }
      res.set_content(body_, "image/png");
    });
    server_->new_task_queue = [] { return new httplib::ThreadPool(64); };
    port_ = server_->bind_to_any_port("127.0.0.1");
    scheme_ = scheme == TileScheme::Http ? "http" : "https";
    thread_ = std::thread([this] { server_->listen_after_bind(); });
  }
  ~LocalTileServer() {
    stopping_ = true;
    server_->stop();
    thread_.join();
    std::error_code ec;
    if (!trust_dir_.empty()) std::filesystem::remove_all(trust_dir_, ec);
  }
  std::string host() const { return scheme_ + "://127.0.0.1:" + std::to_string(port_); }
  // The certificates a client trusts it by (empty for plain HTTP).
  const std::string& ca_file() const { return ca_file_; }
  const std::string& ca_directory() const { return ca_directory_; }

 private:
  std::unique_ptr<httplib::Server> server_;
  std::string body_;
  bool stall_ = false;
  std::atomic<bool> stopping_{false};
  int port_ = 0;
  std::string scheme_;
  std::filesystem::path trust_dir_;
  std::string ca_file_, ca_directory_;
  std::thread thread_;
};

inline double status_kib(pid_t pid, const std::string& field) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(field + ":", 0) == 0) return std::stod(line.substr(field.size() + 1));
  }
  return 0;
}

// User and system CPU of the whole process.
inline double cpu_seconds(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto close = all.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream rest(all.substr(close + 2));
  std::string field;
  unsigned long long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && rest >> field; ++i) {
    if (i == 14) utime = std::stoull(field);
    if (i == 15) stime = std::stoull(field);
  }
  return static_cast<double>(utime + stime) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

inline double thread_cpu_ms() {
  timespec ts{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

inline double monotonic_s() {
  timespec ts{};
  ::clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

inline std::filesystem::path fresh_dir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "bench-live-XXXXXX").string();
  std::vector<char> buf(pattern.begin(), pattern.end());
  buf.push_back('\0');
  return ::mkdtemp(buf.data());
}

inline double median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

inline double percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<std::size_t>(p * static_cast<double>(v.size())))];
}

// Runs `body` in a child process, which writes one `Record` to the fd it is given and then stays
// until killed; `inspect` runs in the parent once the record is read. False when no record came
// within `timeout`.
template <class Record>
bool run_child(const std::function<void(int fd)>& body, const std::function<void(pid_t, const Record&)>& inspect,
               std::chrono::seconds timeout = std::chrono::seconds(60)) {
  int fds[2];
  if (::pipe(fds) != 0) return false;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    body(fds[1]);
    ::_exit(0);
  }
  ::close(fds[1]);
  Record record{};
  pollfd p{fds[0], POLLIN, 0};
  const bool got = pid > 0 && ::poll(&p, 1, static_cast<int>(timeout.count() * 1000)) > 0 &&
                   ::read(fds[0], &record, sizeof record) == static_cast<ssize_t>(sizeof record);
  ::close(fds[0]);
  if (got) inspect(pid, record);
  if (pid > 0) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
  }
  return got;
}

template <class Record>
void send_record(int fd, const Record& r) {
  if (::write(fd, &r, sizeof r) != static_cast<ssize_t>(sizeof r)) ::_exit(1);
}

}  // namespace maps::bench
