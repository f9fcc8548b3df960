#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <latch>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "fake_service.hpp"
#include "net/http_client.hpp"

extern char** environ;

namespace maps {
namespace {

using testing::FakeService;
using ::testing::HasSubstr;
using namespace std::chrono_literals;

std::set<std::string> header_names(const testing::SeenRequest& r) {
  std::set<std::string> names;
  for (const auto& [k, v] : r.headers) {
    std::string lower;
    for (char c : k) lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    names.insert(lower);
  }
  return names;
}

// A service made while other threads run (a renderer's font set-up, another server) must not
// write the environment under them: the proxy bypass is in place from the program's start.
TEST(FakeServiceSetUp, WritesNothingIntoTheEnvironment) {
  ASSERT_STREQ(std::getenv("no_proxy"), "127.0.0.1");
  ASSERT_STREQ(std::getenv("NO_PROXY"), "127.0.0.1");
  char** const before = environ;
  const char* const entry = std::getenv("no_proxy");
  {
    FakeService service;
    EXPECT_EQ(environ, before);
    EXPECT_EQ(std::getenv("no_proxy"), entry);
  }
  EXPECT_EQ(environ, before);
  EXPECT_STREQ(std::getenv("no_proxy"), "127.0.0.1") << "nothing is put back when a service goes";
}

TEST(GetJson, SendsOnlyTheUserAgentAndParsesTheBody) {
  FakeService svc;
  svc.reply("/v", R"({"a":[1,2,"x"]})");
  auto r = get_json(svc.host() + "/v?q=1");
  ASSERT_TRUE(r.is_ok()) << r.error();
  EXPECT_EQ((*r)["a"][2], "x");

  const auto seen = svc.requests();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].method, "GET");
  EXPECT_EQ(seen[0].target, "/v?q=1");
  // Host is part of HTTP/1.1 itself; nothing else but the User-Agent may go out.
  EXPECT_EQ(header_names(seen[0]), (std::set<std::string>{"host", "user-agent"}));
  for (const auto& [k, v] : seen[0].headers) {
    if (k == "User-Agent") {
      EXPECT_EQ(v, "Zarn-Maps/0.1 (maps@zarn.so; native maps app)");
    }
  }
}

TEST(GetJson, StatusOutsideTwoHundredsIsAnError) {
  struct Case {
    int status;
    const char* error;  // nullptr: accepted
  };
  const Case cases[] = {
      {200, nullptr},
      {299, nullptr},
      {304, "HTTP 304 Not Modified"},
      {404, "HTTP 404 Not Found"},
      {429, "HTTP 429 Too Many Requests"},
      {500, "HTTP 500 Internal Server Error"},
      {503, "HTTP 503 Service Unavailable"},
  };
  FakeService svc;
  for (const auto& c : cases) svc.reply("/s" + std::to_string(c.status), "[]", c.status);
  for (const auto& c : cases) {
    auto r = get_json(svc.host() + "/s" + std::to_string(c.status));
    if (c.error == nullptr) {
      EXPECT_TRUE(r.is_ok()) << c.status;
    } else {
      ASSERT_TRUE(r.is_err()) << c.status;
      EXPECT_EQ(r.failure(), base::err(base::ErrorKind::ServiceError, c.error, c.status));
    }
  }
}

TEST(GetJson, BodiesThatAreNotJsonAreErrors) {
  FakeService svc;
  svc.reply("/empty", "");
  svc.reply("/html", "<html><body>busy</body></html>");
  svc.reply("/trailing", "[1] [2]");
  for (const char* path : {"/empty", "/html", "/trailing"}) {
    auto r = get_json(svc.host() + path);
    ASSERT_TRUE(r.is_err()) << path;
    EXPECT_THAT(r.error(), HasSubstr("error decoding response body")) << path;
  }
}

TEST(GetJson, ConnectionRefusedIsATransportError) {
  auto r = get_json("http://127.0.0.1:" + std::to_string(testing::closed_port()) + "/x");
  ASSERT_TRUE(r.is_err());
  EXPECT_THAT(r.error(), HasSubstr("onnect"));
}

TEST(GetJson, StalledHeadTimesOut) {
  FakeService svc;
  svc.on("/slow", [&](const httplib::Request&, httplib::Response& res) {
    svc.wait_for_release();
    res.set_content("[]", "application/json");
  });
  auto r = get_json(svc.host() + "/slow", 200ms);
  ASSERT_TRUE(r.is_err());
  EXPECT_THAT(r.error(), HasSubstr("timed out"));
}

TEST(GetJson, StalledBodyTimesOut) {
  FakeService svc;
  svc.on("/drip", [&](const httplib::Request&, httplib::Response& res) {
    res.set_chunked_content_provider("application/json", [&](size_t offset, httplib::DataSink& sink) {
      if (offset == 0) {
        sink.write("[1,", 3);
        return true;
      }
      svc.wait_for_release();
      sink.done();
      return true;
    });
  });
  auto r = get_json(svc.host() + "/drip", 200ms);
  ASSERT_TRUE(r.is_err());
  EXPECT_THAT(r.error(), HasSubstr("timed out reading the reply body"));
}

TEST(GetJson, FollowsRedirectsWithinLimits) {
  FakeService svc;
  svc.on("/hop", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/final"); });
  svc.reply("/final", R"({"ok":true})");
  svc.on("/loop", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/loop"); });
  svc.on("/ftp",
         [](const httplib::Request&, httplib::Response& res) { res.set_redirect("ftp://127.0.0.1/file.json"); });

  auto hop = get_json(svc.host() + "/hop");
  ASSERT_TRUE(hop.is_ok()) << hop.error();
  EXPECT_EQ((*hop)["ok"], true);
  EXPECT_TRUE(get_json(svc.host() + "/loop").is_err());
  auto ftp = get_json(svc.host() + "/ftp");
  ASSERT_TRUE(ftp.is_err());
  EXPECT_EQ(ftp.failure(), base::err(base::ErrorKind::BadReply, "refused redirect from http to ftp"));
}

TEST(GetJson, OversizedBodyIsRefused) {
  FakeService svc;
  svc.on("/huge", [](const httplib::Request&, httplib::Response& res) {
    res.set_chunked_content_provider("application/json", [](size_t offset, httplib::DataSink& sink) {
      static const std::string chunk(1 << 20, ' ');
      if (offset > kMaxReplyBytes) {
        sink.done();
        return true;
      }
      return sink.write(chunk.data(), chunk.size());
    });
  });
  auto r = get_json(svc.host() + "/huge");
  ASSERT_TRUE(r.is_err());
  EXPECT_EQ(r.error(), "response body too large");
}

TEST(GetJson, OnlyHttpSchemesAreFetched) {
  EXPECT_TRUE(get_json("file:///etc/hostname").is_err());
  EXPECT_TRUE(get_json("ftp://127.0.0.1/x").is_err());
}

// Callers that arrive together initialise once, and none goes on before it is done.
TEST(EnsureCryptoProvider, ConcurrentCallsInitialiseOnceAndWaitForIt) {
  constexpr int kCallers = 8;
  std::latch start(kCallers);
  std::vector<std::size_t> seen(kCallers, 0);
  std::vector<std::thread> callers;
  for (int i = 0; i < kCallers; ++i) {
    callers.emplace_back([&, i] {
      start.arrive_and_wait();
      ensure_crypto_provider();
      seen[static_cast<std::size_t>(i)] = crypto_provider_installs();
    });
  }
  for (auto& t : callers) t.join();
  ensure_crypto_provider();
  EXPECT_EQ(crypto_provider_installs(), 1u);
  EXPECT_THAT(seen, ::testing::Each(1u));
}

}  // namespace
}  // namespace maps
