#include "tiles/tile_http.hpp"

#include <gtest/gtest.h>

#include <httplib.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

#include "base_testing/self_signed.hpp"
#include "temp_dir.hpp"

namespace maps {
namespace {

using namespace std::chrono_literals;

class TestServer {
 public:
  TestServer() {
    server_.Get("/moved.png", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/tile.png"); });
    server_.Get("/tile.png",
                [](const httplib::Request&, httplib::Response& res) { res.set_content("PNGDATA", "image/png"); });
    server_.Get("/big.png", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(std::string(kMaxTileReplyBytes + 1, 'x'), "image/png");
    });
    // Answers only once the test lets it.
    server_.Get("/stalled.png", [this](const httplib::Request&, httplib::Response& res) {
      std::unique_lock lock(mu_);
      ++stalled_;
      gate_.wait(lock, [this] { return open_; });
      res.set_content("LATE", "image/png");
    });
    server_.set_tcp_nodelay(true);
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    for (int i = 0; i < 500 && !server_.is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ~TestServer() {
    release();
    server_.stop();
    thread_.join();
  }
  std::string url(const char* path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
  void release() {
    {
      std::lock_guard lock(mu_);
      open_ = true;
    }
    gate_.notify_all();
  }
  int stalled() {
    std::lock_guard lock(mu_);
    return stalled_;
  }

 private:
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
  std::mutex mu_;
  std::condition_variable gate_;
  bool open_ = false;
  int stalled_ = 0;
};

TileRequest display(std::uint32_t x) { return {TileRequestKind::Display, TileKey{x, 0, 1}}; }

// Runs the client until `n` more transfers have ended (bounded: a hang fails the test instead).
std::map<std::uint32_t, base::Result<TileReply>> run_until(TileHttpClient& client, std::size_t n) {
  std::map<std::uint32_t, base::Result<TileReply>> ended;
  for (int i = 0; i < 1000 && ended.size() < n; ++i) {
    for (TileTransferDone& d : client.run(10ms)) ended.emplace(d.request.key.x, std::move(d.reply));
  }
  return ended;
}

TEST(TileHttpClient, FollowsRedirectsAndReportsStatus) {
  TestServer server;
  auto client = TileHttpClient::create();
  ASSERT_TRUE(client.is_ok());
  EXPECT_EQ(client->max_transfers(), kMaxTileTransfers);
  client->start(display(1), server.url("/moved.png"));
  client->start(display(2), server.url("/nothing.png"));
  EXPECT_EQ(client->running(), 2u);
  auto ended = run_until(*client, 2);
  ASSERT_EQ(ended.size(), 2u);
  ASSERT_TRUE(ended.at(1).is_ok()) << ended.at(1).error();
  EXPECT_EQ(ended.at(1)->status, 200);
  EXPECT_EQ(ended.at(1)->body, "PNGDATA");
  // A 404 is a reply, not an error.
  ASSERT_TRUE(ended.at(2).is_ok());
  EXPECT_EQ(ended.at(2)->status, 404);
  EXPECT_EQ(client->running(), 0u);
  EXPECT_TRUE(client->run(10ms).empty());  // nothing running: returns at once

  // The handles are reused for the next transfers.
  client->start(display(3), server.url("/tile.png"));
  ended = run_until(*client, 1);
  ASSERT_TRUE(ended.at(3).is_ok());
  EXPECT_EQ(ended.at(3)->body, "PNGDATA");
}

TEST(TileHttpClient, RefusesOversizedBodiesAndUnreachableHosts) {
  TestServer server;
  auto client = TileHttpClient::create();
  ASSERT_TRUE(client.is_ok());
  client->start(display(1), server.url("/big.png"));
  client->start(display(2), "http://127.0.0.1:1/x.png");
  client->start(display(3), "file:///etc/passwd");
  auto ended = run_until(*client, 3);
  ASSERT_EQ(ended.size(), 3u);
  for (auto& [x, reply] : ended) EXPECT_TRUE(reply.is_err()) << x;
  EXPECT_EQ(ended.at(1).error(), "response body too large");
}

// A server that does not answer one request holds up no other, and the one it holds times out
// on its own clock.
TEST(TileHttpClient, AStalledTransferHoldsUpNoOther) {
  TestServer server;
  auto client = TileHttpClient::create(1000ms, 4);
  ASSERT_TRUE(client.is_ok());
  client->start(display(1), server.url("/stalled.png"));
  client->start(display(2), server.url("/tile.png"));
  client->start(display(3), server.url("/tile.png"));
  EXPECT_EQ(client->running(), 3u);
  EXPECT_TRUE(client->has_free_slot());
  auto ended = run_until(*client, 2);
  ASSERT_EQ(ended.size(), 2u);
  EXPECT_TRUE(ended.contains(2) && ended.contains(3));
  EXPECT_EQ(client->running(), 1u);
  // The stalled request may reach the server after the other two ended (slow builds).
  for (int i = 0; i < 50 && server.stalled() == 0; ++i) std::this_thread::sleep_for(10ms);
  EXPECT_EQ(server.stalled(), 1);

  ended = run_until(*client, 1);
  ASSERT_TRUE(ended.contains(1));
  ASSERT_TRUE(ended.at(1).is_err());
  EXPECT_EQ(ended.at(1).error(), "timed out waiting for a reply (limit 1000 ms)");
}

// The wake function ends a long wait on a transfer that does not move (a request was sent to
// the worker), and does nothing once the client is gone.
TEST(TileHttpClient, TheWakeFunctionEndsAWaitEarly) {
  TestServer server;
  auto client = TileHttpClient::create(120s, 4);
  ASSERT_TRUE(client.is_ok());
  client->start(display(1), server.url("/stalled.png"));
  const auto wake = client->wake_function();
  ASSERT_TRUE(wake);
  const auto reached = std::chrono::steady_clock::now() + 20s;
  while (server.stalled() == 0 && std::chrono::steady_clock::now() < reached) (void)client->run(10ms);
  ASSERT_EQ(server.stalled(), 1) << "the request never reached the server";
  std::thread waker([&] {
    std::this_thread::sleep_for(100ms);
    wake();
  });
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(client->run(60s).empty());
  waker.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 30s);  // far below the minute it would wait
  client = base::err("dropped");
  wake();  // the client is gone
}

// Over TLS the client trusts what it was given, as a bundle or as a hashed directory, and
// refuses a server it was not told to trust.
TEST(TileHttpClient, TrustsTheCertificatesItWasGiven) {
  auto [cert, key] = base_testing::self_signed_for_localhost();
  ASSERT_TRUE(cert && key);
  httplib::SSLServer server(cert.get(), key.get());
  server.Get("/tile.png",
             [](const httplib::Request&, httplib::Response& res) { res.set_content("PNGDATA", "image/png"); });
  const int port = server.bind_to_any_port("127.0.0.1");
  std::thread t([&] { server.listen_after_bind(); });
  for (int i = 0; i < 500 && !server.is_running(); ++i) std::this_thread::sleep_for(2ms);
  testing::TempDir dir;
  const auto bundle = dir.path() / "bundle.crt";
  ASSERT_TRUE(base_testing::append_pem(bundle, cert.get()));
  std::filesystem::create_directory(dir.path() / "certs");
  ASSERT_TRUE(base_testing::append_pem(dir.path() / "certs" / base_testing::subject_hash_name(cert.get()), cert.get()));

  const std::string url = "https://127.0.0.1:" + std::to_string(port) + "/tile.png";
  const std::vector<HttpTrust> trusts = {{bundle.string(), {}}, {{}, (dir.path() / "certs").string()}, {}};
  for (std::uint32_t i = 0; i < trusts.size(); ++i) {
    auto client = TileHttpClient::create(3s, 1, trusts[i]);
    ASSERT_TRUE(client.is_ok());
    client->start(display(i), url);
    auto ended = run_until(*client, 1);
    ASSERT_EQ(ended.count(i), 1u);
    if (i < 2) {
      ASSERT_TRUE(ended.at(i).is_ok()) << i << ": " << ended.at(i).error();
      EXPECT_EQ(ended.at(i)->body, "PNGDATA");
    } else {
      EXPECT_TRUE(ended.at(i).is_err()) << "the system's certificates do not name this server";
    }
  }
  server.stop();
  t.join();
}

}  // namespace
}  // namespace maps
