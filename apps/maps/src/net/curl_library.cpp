#include "net/curl_library.hpp"

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>

#include <fmt/format.h>
#include <openssl/crypto.h>

#include "base/shared_library.hpp"

namespace maps {

namespace {

std::optional<CurlLibrary>& process_library() {
  static std::optional<CurlLibrary> library;
  return library;
}

base::Error& process_error() {
  static base::Error error = base::err("the HTTP library was not opened");
  return error;
}

std::atomic<std::size_t> crypto_installs{0};

struct OpenHold {
  std::mutex mu;
  std::condition_variable released;
  bool held = false;
  std::chrono::steady_clock::time_point until;
};

OpenHold& open_hold() {
  static OpenHold hold;
  return hold;
}

void wait_for_release() {
  OpenHold& hold = open_hold();
  std::unique_lock lock(hold.mu);
  hold.released.wait_until(lock, hold.until, [&] { return !hold.held; });
  hold.held = false;
}

struct Users {
  std::mutex mu;
  std::condition_variable gone;
  std::size_t count = 0;
};

Users& users() {
  // Never destroyed: a holder may let go while the statics of the ending process go.
  static Users* u = new Users;
  return *u;
}

std::string version_text(unsigned int v) {
  return fmt::format("{}.{}.{}", (v >> 16) & 0xff, (v >> 8) & 0xff, v & 0xff);
}

}  // namespace

base::Result<CurlLibrary> open_curl_library(const char* file) {
  base::SharedLibrary so;
  if (auto failed = base::SharedLibrary::open(file, so)) return *failed;
  CurlLibrary lib;
  const auto find = [&](auto& function, const char* name) { so.find(function, name); };
  find(lib.global_init, "curl_global_init");
  find(lib.version_info, "curl_version_info");
  find(lib.easy_init, "curl_easy_init");
  find(lib.easy_cleanup, "curl_easy_cleanup");
  find(lib.easy_reset, "curl_easy_reset");
  find(lib.easy_setopt, "curl_easy_setopt");
  find(lib.easy_getinfo, "curl_easy_getinfo");
  find(lib.easy_perform, "curl_easy_perform");
  find(lib.easy_strerror, "curl_easy_strerror");
  find(lib.slist_append, "curl_slist_append");
  find(lib.slist_free_all, "curl_slist_free_all");
  find(lib.multi_init, "curl_multi_init");
  find(lib.multi_cleanup, "curl_multi_cleanup");
  find(lib.multi_setopt, "curl_multi_setopt");
  find(lib.multi_add_handle, "curl_multi_add_handle");
  find(lib.multi_remove_handle, "curl_multi_remove_handle");
  find(lib.multi_perform, "curl_multi_perform");
  find(lib.multi_poll, "curl_multi_poll");
  find(lib.multi_wakeup, "curl_multi_wakeup");
  find(lib.multi_info_read, "curl_multi_info_read");
  find(lib.multi_strerror, "curl_multi_strerror");
  if (auto missing = so.missing()) return *missing;
  so.find_if_present(lib.openssl_init_crypto, "OPENSSL_init_crypto");
  const curl_version_info_data* info = lib.version_info(CURLVERSION_NOW);
  if (info == nullptr || info->version_num < LIBCURL_VERSION_NUM) {
    return base::err(fmt::format("{} is version {}, older than the {} this program was built for", file,
                                 info ? version_text(info->version_num) : std::string("unknown"),
                                 version_text(LIBCURL_VERSION_NUM)));
  }
  return lib;
}

void hold_curl_library(std::chrono::milliseconds limit) {
  OpenHold& hold = open_hold();
  std::lock_guard lock(hold.mu);
  hold.held = true;
  hold.until = std::chrono::steady_clock::now() + limit;
}

void release_curl_library() {
  OpenHold& hold = open_hold();
  {
    std::lock_guard lock(hold.mu);
    hold.held = false;
  }
  hold.released.notify_all();
}

CurlUse::CurlUse() {
  std::lock_guard lock(users().mu);
  ++users().count;
}

CurlUse::~CurlUse() {
  Users& u = users();
  {
    std::lock_guard lock(u.mu);
    --u.count;
  }
  u.gone.notify_all();
}

std::size_t curl_users() {
  std::lock_guard lock(users().mu);
  return users().count;
}

bool wait_for_curl_users(std::chrono::milliseconds limit) {
  Users& u = users();
  std::unique_lock lock(u.mu);
  return u.gone.wait_for(lock, limit, [&] { return u.count == 0; });
}

void install_crypto_provider() {
  wait_for_release();
  auto lib = open_curl_library(kCurlLibraryFile);
  if (lib) {
    // OpenSSL would free its locks and tables at exit, under a tile worker that may still be
    // closing its connections then (nobody joins it). Set up first with no exit handler, it
    // leaves them to the end of the process.
    if (lib->openssl_init_crypto) (void)lib->openssl_init_crypto(OPENSSL_INIT_NO_ATEXIT, nullptr);
    // A failure leaves curl unusable; every request then reports that it could not start.
    (void)lib->global_init(CURL_GLOBAL_DEFAULT);
    // Registered after curl's set-up, so it runs before any exit handler that set-up registered.
    std::atexit([] { (void)wait_for_curl_users(kCurlUseExitWait); });
    process_library() = *lib;
  } else {
    process_error() = base::err(fmt::format("the HTTP library could not be loaded: {}", lib.error()));
  }
  ++crypto_installs;
}

void ensure_crypto_provider() {
  static std::once_flag once;
  std::call_once(once, install_crypto_provider);
}

std::size_t crypto_provider_installs() { return crypto_installs.load(); }

const CurlLibrary* curl_library() {
  ensure_crypto_provider();
  return process_library() ? &*process_library() : nullptr;
}

base::Error curl_library_error() { return process_error(); }

}  // namespace maps

// curl's LDAP and RTMP support bring in GnuTLS, whose constructor would set itself up (its
// algorithms, random source and configuration: near 1 MiB touched and a part of a millisecond) when
// curl is opened, though curl's TLS is OpenSSL's and those two protocols are never asked for. GnuTLS
// asks this function, which the program exports, whether to skip that; code that does use GnuTLS
// calls gnutls_global_init itself.
extern "C" int _gnutls_global_init_skip() { return 1; }
