#pragma once
// A web service on 127.0.0.1 for the adapters' tests: records every request and answers with
// handlers written by each test. Handlers that stall wait on `release` (bounded), so teardown
// never hangs.

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace maps::testing {

// The tests never go through a proxy, whatever the environment says. The variables are written
// while the program starts, before any thread exists: setenv beside another thread's getenv (a
// test server's, or Pango's font set-up in a renderer made first) can crash the reading thread.
inline const bool kTestsBypassProxies = [] {
  ::setenv("no_proxy", "127.0.0.1", 1);
  ::setenv("NO_PROXY", "127.0.0.1", 1);
  return true;
}();

struct SeenRequest {
  std::string method;
  std::string path;
  std::string target;  // path and raw query as sent
  std::vector<std::pair<std::string, std::string>> headers;
};

class FakeService {
 public:
  using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

  FakeService() {
    server_.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response&) {
      SeenRequest seen{req.method, req.path, req.target, {}};
      for (const auto& [k, v] : req.headers) {
        // The server library files the peer's addresses among the headers; they were not sent.
        if (k == "REMOTE_ADDR" || k == "REMOTE_PORT" || k == "LOCAL_ADDR" || k == "LOCAL_PORT") continue;
        seen.headers.emplace_back(k, v);
      }
      std::lock_guard lock(mu_);
      requests_.push_back(std::move(seen));
      return httplib::Server::HandlerResponse::Unhandled;
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    for (int i = 0; i < 500 && !server_.is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }

  ~FakeService() {
    release();
    server_.stop();
    if (thread_.joinable()) thread_.join();
  }

  FakeService(const FakeService&) = delete;
  FakeService& operator=(const FakeService&) = delete;

  std::string host() const { return "http://127.0.0.1:" + std::to_string(port_); }
  int port() const { return port_; }

  void on(const std::string& path, Handler handler) { server_.Get(path, std::move(handler)); }

  // A JSON reply with the given status.
  void reply(const std::string& path, std::string body, int status = 200) {
    on(path, [body = std::move(body), status](const httplib::Request&, httplib::Response& res) {
      res.status = status;
      res.set_content(body, "application/json");
    });
  }

  std::vector<SeenRequest> requests() const {
    std::lock_guard lock(mu_);
    return requests_;
  }

  // Lets stalled handlers finish; waits at most `limit` otherwise.
  void release() {
    {
      std::lock_guard lock(mu_);
      released_ = true;
    }
    cv_.notify_all();
  }
  void wait_for_release(std::chrono::milliseconds limit = std::chrono::milliseconds(5000)) {
    std::unique_lock lock(mu_);
    cv_.wait_for(lock, limit, [&] { return released_; });
  }

 private:
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
  mutable std::mutex mu_;
  std::condition_variable cv_;
  std::vector<SeenRequest> requests_;
  bool released_ = false;
};

// A port on 127.0.0.1 with nothing listening.
inline int closed_port() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  socklen_t len = sizeof(addr);
  int port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0) {
    port = ntohs(addr.sin_port);
  }
  ::close(fd);  // bound but never listening, then closed: connections are refused
  return port;
}

// A server that takes each connection, reads the request and resets the connection without a
// reply, as a crashing or overloaded service does.
class ResettingServer {
 public:
  ResettingServer() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof(addr);
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0 && ::listen(fd_, 16) == 0 &&
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len) == 0) {
      port_ = ntohs(addr.sin_port);
    }
    thread_ = std::thread([this] { serve(); });
  }
  ~ResettingServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    ::close(fd_);
  }
  ResettingServer(const ResettingServer&) = delete;
  ResettingServer& operator=(const ResettingServer&) = delete;

  std::string host() const { return "http://127.0.0.1:" + std::to_string(port_); }

 private:
  void serve() {
    while (!stop_) {
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, 20) <= 0) continue;
      const int c = ::accept(fd_, nullptr, nullptr);
      if (c < 0) continue;
      char buf[4096];
      pollfd r{c, POLLIN, 0};
      if (::poll(&r, 1, 1000) > 0) (void)::read(c, buf, sizeof(buf));
      const linger reset{1, 0};  // close with RST instead of FIN
      ::setsockopt(c, SOL_SOCKET, SO_LINGER, &reset, sizeof(reset));
      ::close(c);
    }
  }

  int fd_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace maps::testing
