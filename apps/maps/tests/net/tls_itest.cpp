#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "../tiles/temp_dir.hpp"
#include "base_testing/self_signed.hpp"
#include "fake_service.hpp"
#include "net/http_client.hpp"

namespace maps {
namespace {

using ::testing::HasSubstr;

using base_testing::self_signed_for_localhost;

TEST(GetJsonTls, UntrustedCertificateIsRefused) {
  auto [cert, key] = self_signed_for_localhost();
  ASSERT_TRUE(cert && key);
  httplib::SSLServer server(cert.get(), key.get());
  ASSERT_TRUE(server.is_valid());
  std::atomic<int> served{0};
  server.Get("/x", [&](const httplib::Request&, httplib::Response& res) {
    ++served;
    res.set_content("[]", "application/json");
  });
  const int port = server.bind_to_any_port("127.0.0.1");
  std::thread t([&] { server.listen_after_bind(); });
  for (int i = 0; i < 500 && !server.is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(2));

  auto r = get_json("https://127.0.0.1:" + std::to_string(port) + "/x", std::chrono::milliseconds(3000));
  server.stop();
  t.join();
  ASSERT_TRUE(r.is_err());
  EXPECT_THAT(r.error(), HasSubstr("certificate"));
  // A service that cannot prove who it is counts as one that cannot be reached.
  EXPECT_EQ(r.error_kind(), base::ErrorKind::Unreachable);
  EXPECT_EQ(served.load(), 0);
}

TEST(GetJsonTls, ARedirectFromHttpsToHttpIsRefused) {
  testing::FakeService plain;
  plain.reply("/final", R"({"via":"http"})");
  auto [cert, key] = self_signed_for_localhost();
  ASSERT_TRUE(cert && key);
  testing::TempDir dir;
  const std::string trust = (dir.path() / "trust.pem").string();
  ASSERT_TRUE(base_testing::append_pem(trust, cert.get()));
  httplib::SSLServer server(cert.get(), key.get());
  ASSERT_TRUE(server.is_valid());
  server.Get("/down",
             [&](const httplib::Request&, httplib::Response& res) { res.set_redirect(plain.host() + "/final"); });
  server.Get("/across", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/final"); });
  server.Get("/final", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(R"({"via":"https"})", "application/json");
  });
  const int port = server.bind_to_any_port("127.0.0.1");
  std::thread t([&] { server.listen_after_bind(); });
  for (int i = 0; i < 500 && !server.is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  const std::string secure = "https://127.0.0.1:" + std::to_string(port);
  plain.on("/up", [&](const httplib::Request&, httplib::Response& res) { res.set_redirect(secure + "/final"); });

  const auto get = [&](const std::string& url) {
    CurlEasy handle = new_curl_handle();
    return http_get(handle.get(), url, HttpGetOptions{std::chrono::milliseconds(3000), 1 << 20, nullptr, {trust, {}}});
  };
  const auto down = get(secure + "/down");
  const auto across = get(secure + "/across");
  const auto up = get(plain.host() + "/up");
  server.stop();
  t.join();

  ASSERT_TRUE(down.is_err());
  EXPECT_EQ(down.error(), "refused redirect from https to http");
  EXPECT_TRUE(plain.requests().size() == 1u && plain.requests()[0].path == "/up") << "nothing went out over http";
  ASSERT_TRUE(across.is_ok()) << across.error();
  EXPECT_EQ(across->body, R"({"via":"https"})");
  ASSERT_TRUE(up.is_ok()) << up.error();
  EXPECT_EQ(up->body, R"({"via":"https"})");
}

// A running TLS server for 127.0.0.1 with `cert`, answering GET /x with "[]".
class TlsServer {
 public:
  TlsServer(X509* cert, EVP_PKEY* key) : server_(cert, key) {
    server_.Get("/x",
                [](const httplib::Request&, httplib::Response& res) { res.set_content("[]", "application/json"); });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    for (int i = 0; i < 500 && !server_.is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ~TlsServer() {
    server_.stop();
    thread_.join();
  }
  std::string url() const { return "https://127.0.0.1:" + std::to_string(port_) + "/x"; }

 private:
  httplib::SSLServer server_;
  int port_ = 0;
  std::thread thread_;
};

// The system's certificates are trusted through their hashed directory where there is one: a
// certificate found there by its subject hash is trusted, and one under another name is not.
TEST(GetJsonTls, ACertificateDirectoryIsReadByTheNamesOfItsHashes) {
  auto [cert, key] = self_signed_for_localhost();
  ASSERT_TRUE(cert && key);
  const TlsServer server(cert.get(), key.get());
  testing::TempDir hashed, misnamed;
  ASSERT_TRUE(base_testing::append_pem(hashed.path() / base_testing::subject_hash_name(cert.get()), cert.get()));
  ASSERT_TRUE(base_testing::append_pem(misnamed.path() / "server.pem", cert.get()));
  const auto get = [&](const testing::TempDir& dir) {
    CurlEasy handle = new_curl_handle();
    return http_get(handle.get(), server.url(),
                    HttpGetOptions{std::chrono::milliseconds(3000), 1 << 20, nullptr, {{}, dir.path().string()}});
  };
  const auto trusted = get(hashed);
  ASSERT_TRUE(trusted.is_ok()) << trusted.error();
  EXPECT_EQ(trusted->body, "[]");
  const auto refused = get(misnamed);
  ASSERT_TRUE(refused.is_err());
  EXPECT_THAT(refused.error(), HasSubstr("certificate"));

  EXPECT_TRUE(holds_hashed_certificates(hashed.path()));
  EXPECT_FALSE(holds_hashed_certificates(misnamed.path()));
  EXPECT_FALSE(holds_hashed_certificates(hashed.path() / "missing"));
  for (const char* name : {"5ad8a5d6", "5ad8a5d6.", "5ad8a5dg.0", "5ad8a5d.0", "5ad8a5d6.0x"}) {
    testing::TempDir dir;
    std::ofstream(dir.path() / name) << "x";
    EXPECT_FALSE(holds_hashed_certificates(dir.path())) << name;
  }
  // On this system the directory curl was built with holds the same certificates as its bundle.
  if (std::filesystem::exists("/etc/ssl/certs/ca-certificates.crt") && holds_hashed_certificates("/etc/ssl/certs")) {
    EXPECT_EQ(system_ca_directory(), "/etc/ssl/certs");
  }
}

}  // namespace
}  // namespace maps
