#include "tiles/tile_http.hpp"

#include <gtest/gtest.h>

#include <httplib.h>

#include <thread>

namespace maps {
namespace {

class RedirectServer {
 public:
  RedirectServer() {
    server_.Get("/moved.png", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/tile.png"); });
    server_.Get("/tile.png",
                [](const httplib::Request&, httplib::Response& res) { res.set_content("PNGDATA", "image/png"); });
    server_.Get("/big.png", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(std::string(kMaxTileReplyBytes + 1, 'x'), "image/png");
    });
    server_.set_tcp_nodelay(true);
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    for (int i = 0; i < 500 && !server_.is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ~RedirectServer() {
    server_.stop();
    thread_.join();
  }
  std::string url(const char* path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

 private:
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
};

TEST(TileHttpClient, FollowsRedirectsAndReportsStatus) {
  RedirectServer server;
  auto client = TileHttpClient::create();
  ASSERT_TRUE(client.is_ok());
  auto moved = client->get(server.url("/moved.png"));
  ASSERT_TRUE(moved.is_ok()) << moved.error();
  EXPECT_EQ(moved->status, 200);
  EXPECT_EQ(std::string(moved->body.begin(), moved->body.end()), "PNGDATA");
  // The same handle serves the next request; a 404 is a reply, not an error.
  auto missing = client->get(server.url("/nothing.png"));
  ASSERT_TRUE(missing.is_ok());
  EXPECT_EQ(missing->status, 404);
}

TEST(TileHttpClient, RefusesOversizedBodiesAndUnreachableHosts) {
  RedirectServer server;
  auto client = TileHttpClient::create();
  ASSERT_TRUE(client.is_ok());
  EXPECT_TRUE(client->get(server.url("/big.png")).is_err());
  EXPECT_TRUE(client->get("http://127.0.0.1:1/x.png").is_err());
  EXPECT_TRUE(client->get("file:///etc/passwd").is_err());
}

}  // namespace
}  // namespace maps
