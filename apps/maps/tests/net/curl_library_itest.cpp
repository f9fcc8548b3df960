#include <dlfcn.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "fake_service.hpp"
#include "net/curl_library.hpp"
#include "net/http_client.hpp"

namespace maps {
namespace {

using ::testing::HasSubstr;

bool curl_is_loaded() {
  void* handle = ::dlopen(kCurlLibraryFile, RTLD_NOW | RTLD_NOLOAD);
  if (handle != nullptr) ::dlclose(handle);  // only the reference NOLOAD took
  return handle != nullptr;
}

TEST(OpenCurlLibrary, SaysWhatIsMissing) {
  struct Case {
    const char* file;
    const char* says;
  };
  const Case cases[] = {
      {"libcurl-not-installed.so.4", "libcurl-not-installed.so.4"},
      // A library that is there but is not curl.
      {"libm.so.6", "libm.so.6 has no curl_global_init"},
  };
  for (const Case& c : cases) {
    const auto lib = open_curl_library(c.file);
    ASSERT_TRUE(lib.is_err()) << c.file;
    EXPECT_THAT(lib.error(), HasSubstr(c.says));
  }
  const auto curl = open_curl_library(kCurlLibraryFile);
  ASSERT_TRUE(curl.is_ok()) << curl.error();
  EXPECT_NE(curl->multi_strerror, nullptr);
  // This system's curl does its TLS with OpenSSL, whose exit handler the program turns off.
  EXPECT_NE(curl->openssl_init_crypto, nullptr);
}

// In a process of its own (gtest runs the body in a fresh copy of this program), since any
// earlier test may have sent a request already.
TEST(CurlLibraryDeathTest, OpenedByTheFirstRequestAndNotBefore) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        testing::FakeService svc;
        svc.on("/x",
               [](const httplib::Request&, httplib::Response& res) { res.set_content("{}", "application/json"); });
        if (curl_is_loaded()) std::exit(1);
        const auto reply = get_json(svc.host() + "/x");
        std::exit(reply.is_ok() && curl_is_loaded() && curl_library() != nullptr ? 0 : 2);
      },
      ::testing::ExitedWithCode(0), "");
}

// Held for the window's first frame: the first request waits, without curl, until the hold is
// released, and a hold nobody releases ends at its limit.
TEST(CurlLibraryDeathTest, AHeldOpeningWaitsForTheReleaseOrTheLimit) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const auto serve = [](testing::FakeService& svc) {
    svc.on("/x", [](const httplib::Request&, httplib::Response& res) { res.set_content("{}", "application/json"); });
  };
  EXPECT_EXIT(
      {
        testing::FakeService svc;
        serve(svc);
        hold_curl_library(std::chrono::seconds(60));
        std::atomic<bool> answered = false;
        bool ok = false;
        std::thread request([&] {
          ok = get_json(svc.host() + "/x").is_ok();
          answered = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        if (answered || curl_is_loaded()) std::exit(1);
        release_curl_library();
        request.join();
        std::exit(ok && curl_is_loaded() ? 0 : 2);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EXIT(
      {
        testing::FakeService svc;
        serve(svc);
        hold_curl_library(std::chrono::milliseconds(100));
        const auto start = std::chrono::steady_clock::now();
        const bool ok = get_json(svc.host() + "/x").is_ok();
        std::exit(ok && std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(100) ? 0 : 2);
      },
      ::testing::ExitedWithCode(0), "");
}

// In a process of its own: curl set up by a first request, then a thread nobody joins that holds
// curl for `hold` and then says "let go". Returns once the thread holds it.
void hold_curl_in_a_thread(std::chrono::milliseconds hold) {
  {
    testing::FakeService svc;
    svc.on("/x", [](const httplib::Request&, httplib::Response& res) { res.set_content("{}", "application/json"); });
    if (!get_json(svc.host() + "/x").is_ok()) std::exit(2);
  }
  std::atomic<bool> holding = false;
  std::thread([&holding, hold] {
    const CurlUse use;
    holding = true;  // the last it touches of the caller's
    std::this_thread::sleep_for(hold);
    std::fputs("let go\n", stderr);
  }).detach();
  while (!holding) std::this_thread::yield();
}

// A thread that still holds curl when the process ends: the end waits for it to let go, and
// waits no longer than its limit for one that never does.
TEST(CurlLibraryDeathTest, TheEndOfTheProcessWaitsForThreadsStillInCurl) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        hold_curl_in_a_thread(std::chrono::milliseconds(300));
        std::exit(curl_users() == 1 ? 0 : 3);
      },
      ::testing::ExitedWithCode(0), "let go");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EXIT(
      {
        hold_curl_in_a_thread(std::chrono::hours(1));
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, kCurlUseExitWait);
  EXPECT_LT(took, kCurlUseExitWait + std::chrono::seconds(10));
}

}  // namespace
}  // namespace maps
