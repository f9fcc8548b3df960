#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "fake_service.hpp"
#include "net/http_client.hpp"

namespace maps {
namespace {

using ::testing::HasSubstr;

struct PkeyFree {
  void operator()(EVP_PKEY* k) const { EVP_PKEY_free(k); }
};
struct X509Free {
  void operator()(X509* x) const { X509_free(x); }
};

// A self-signed certificate for 127.0.0.1: valid in every way except that no one trusts it.
std::pair<std::unique_ptr<X509, X509Free>, std::unique_ptr<EVP_PKEY, PkeyFree>> self_signed() {
  std::unique_ptr<EVP_PKEY, PkeyFree> key(EVP_EC_gen("P-256"));
  std::unique_ptr<X509, X509Free> cert(X509_new());
  X509_set_version(cert.get(), 2);
  ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), 1);
  X509_gmtime_adj(X509_getm_notBefore(cert.get()), -60);
  X509_gmtime_adj(X509_getm_notAfter(cert.get()), 3600);
  X509_set_pubkey(cert.get(), key.get());
  X509_NAME* name = X509_get_subject_name(cert.get());
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
  X509_set_issuer_name(cert.get(), name);
  X509V3_CTX ctx;
  X509V3_set_ctx_nodb(&ctx);
  X509V3_set_ctx(&ctx, cert.get(), cert.get(), nullptr, nullptr, 0);
  if (X509_EXTENSION* san = X509V3_EXT_conf_nid(nullptr, &ctx, NID_subject_alt_name, "IP:127.0.0.1")) {
    X509_add_ext(cert.get(), san, -1);
    X509_EXTENSION_free(san);
  }
  X509_sign(cert.get(), key.get(), EVP_sha256());
  return {std::move(cert), std::move(key)};
}

TEST(GetJsonTls, UntrustedCertificateIsRefused) {
  const base::ScopedEnv no_proxy("no_proxy", "127.0.0.1");
  auto [cert, key] = self_signed();
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

// The certificate as a PEM file that a test's client trusts; removed with the object.
class TrustFile {
 public:
  explicit TrustFile(X509* cert) {
    char name[] = "/tmp/maps-tls-test-XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd < 0) return;
    path_ = name;
    if (FILE* f = ::fdopen(fd, "w")) {
      PEM_write_X509(f, cert);
      std::fclose(f);
    } else {
      ::close(fd);
    }
  }
  ~TrustFile() {
    if (!path_.empty()) std::remove(path_.c_str());
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

TEST(GetJsonTls, ARedirectFromHttpsToHttpIsRefused) {
  testing::FakeService plain;
  plain.reply("/final", R"({"via":"http"})");
  auto [cert, key] = self_signed();
  ASSERT_TRUE(cert && key);
  const TrustFile trust(cert.get());
  ASSERT_FALSE(trust.path().empty());
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
    return http_get(handle.get(), url, HttpGetOptions{std::chrono::milliseconds(3000), 1 << 20, nullptr, trust.path()});
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

}  // namespace
}  // namespace maps
