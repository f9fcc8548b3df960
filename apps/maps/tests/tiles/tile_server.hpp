#pragma once
// A tile service on 127.0.0.1 for the tests: serves /{style}/{z}/{x}/{y}.png from a table the
// test fills, counts requests per path, notes when each arrived and records the headers of the
// last one. Requests can be held back, all of them or those of chosen paths, until the test
// releases them.

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace maps::testing {

struct CannedReply {
  int status = 200;
  std::string body;
  std::string retry_after;  // the Retry-After header, when not empty
};

class TileServer {
 public:
  TileServer() {
    server_.Get(R"(/.*)", [this](const httplib::Request& req, httplib::Response& res) {
      std::unique_lock lock(mu_);
      ++hits_[req.path];
      arrivals_.push_back({req.path, std::chrono::steady_clock::now()});
      seen_.notify_all();
      gate_.wait(lock, [&] { return !held_ && !stalled_.contains(req.path); });
      headers_.clear();
      for (const auto& [k, v] : req.headers) {
        if (k != "REMOTE_ADDR" && k != "REMOTE_PORT" && k != "LOCAL_ADDR" && k != "LOCAL_PORT") headers_[k] = v;
      }
      auto it = replies_.find(req.path);
      if (it == replies_.end()) {
        res.status = 404;
        res.set_content("not found", "text/plain");
        return;
      }
      res.status = it->second.status;
      if (!it->second.retry_after.empty()) res.set_header("Retry-After", it->second.retry_after);
      res.set_content(it->second.body, "image/png");
    });
    server_.set_tcp_nodelay(true);  // otherwise delayed ACKs add 40 ms to every reply
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    for (int i = 0; i < 500 && !server_.is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ~TileServer() {
    release();
    server_.stop();
    if (thread_.joinable()) thread_.join();
  }
  TileServer(const TileServer&) = delete;
  TileServer& operator=(const TileServer&) = delete;

  std::string host() const { return "http://127.0.0.1:" + std::to_string(port_); }

  void set(const std::string& path, int status, const std::vector<std::uint8_t>& body,
           const std::string& retry_after = "") {
    std::lock_guard lock(mu_);
    replies_[path] = {status, std::string(body.begin(), body.end()), retry_after};
  }
  int hits(const std::string& path) {
    std::lock_guard lock(mu_);
    return hits_[path];
  }
  // Requests for paths that start with `prefix`, such as one style's.
  int hits_under(const std::string& prefix) {
    std::lock_guard lock(mu_);
    int n = 0;
    for (const auto& [p, c] : hits_) n += p.starts_with(prefix) ? c : 0;
    return n;
  }
  int total_hits() {
    std::lock_guard lock(mu_);
    int n = 0;
    for (const auto& [p, c] : hits_) n += c;
    return n;
  }
  // While held, every request waits inside the server until `release`.
  void hold() {
    std::lock_guard lock(mu_);
    held_ = true;
  }
  // Requests for `path` wait inside the server until `release`; the others are answered.
  void stall(const std::string& path) {
    std::lock_guard lock(mu_);
    stalled_.insert(path);
  }
  void release() {
    {
      std::lock_guard lock(mu_);
      held_ = false;
      stalled_.clear();
    }
    gate_.notify_all();
  }
  // True once `n` requests have arrived; gives up after a few seconds.
  bool wait_for_hits(int n) {
    std::unique_lock lock(mu_);
    return seen_.wait_for(lock, std::chrono::seconds(5), [&] {
      int total = 0;
      for (const auto& [p, c] : hits_) total += c;
      return total >= n;
    });
  }
  // When the first request for `path` arrived, if one did.
  std::optional<std::chrono::steady_clock::time_point> first_arrival(const std::string& path) {
    std::lock_guard lock(mu_);
    for (const auto& [p, at] : arrivals_) {
      if (p == path) return at;
    }
    return std::nullopt;
  }
  std::map<std::string, std::string> last_headers() {
    std::lock_guard lock(mu_);
    return headers_;
  }

 private:
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
  std::mutex mu_;
  std::condition_variable gate_;
  std::condition_variable seen_;
  bool held_ = false;
  std::set<std::string> stalled_;
  std::map<std::string, CannedReply> replies_;
  std::map<std::string, int> hits_;
  std::vector<std::pair<std::string, std::chrono::steady_clock::time_point>> arrivals_;
  std::map<std::string, std::string> headers_;
};

}  // namespace maps::testing
