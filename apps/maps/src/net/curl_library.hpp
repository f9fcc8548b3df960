#pragma once
// libcurl is opened when the first request goes out, not with the program: with it come some
// twenty-five TLS, HTTP and authentication libraries whose loading would otherwise stand
// before the window's first frame, and many starts never send a request before it. Every curl
// function the app calls is reached through this table; only the headers are built against.

#include <curl/curl.h>

#include <chrono>
#include <cstddef>
#include <cstdint>

#include "base/result.hpp"

namespace maps {

inline constexpr const char* kCurlLibraryFile = "libcurl.so.4";

struct CurlLibrary {
  decltype(&::curl_global_init) global_init = nullptr;
  decltype(&::curl_version_info) version_info = nullptr;
  decltype(&::curl_easy_init) easy_init = nullptr;
  decltype(&::curl_easy_cleanup) easy_cleanup = nullptr;
  decltype(&::curl_easy_reset) easy_reset = nullptr;
  decltype(&::curl_easy_setopt) easy_setopt = nullptr;
  decltype(&::curl_easy_getinfo) easy_getinfo = nullptr;
  decltype(&::curl_easy_perform) easy_perform = nullptr;
  decltype(&::curl_easy_strerror) easy_strerror = nullptr;
  decltype(&::curl_slist_append) slist_append = nullptr;
  decltype(&::curl_slist_free_all) slist_free_all = nullptr;
  decltype(&::curl_multi_init) multi_init = nullptr;
  decltype(&::curl_multi_cleanup) multi_cleanup = nullptr;
  decltype(&::curl_multi_setopt) multi_setopt = nullptr;
  decltype(&::curl_multi_add_handle) multi_add_handle = nullptr;
  decltype(&::curl_multi_remove_handle) multi_remove_handle = nullptr;
  decltype(&::curl_multi_perform) multi_perform = nullptr;
  decltype(&::curl_multi_poll) multi_poll = nullptr;
  decltype(&::curl_multi_wakeup) multi_wakeup = nullptr;
  decltype(&::curl_multi_info_read) multi_info_read = nullptr;
  decltype(&::curl_multi_strerror) multi_strerror = nullptr;
  // OpenSSL's set-up, from the libraries curl brings; null where curl's TLS is another.
  int (*openssl_init_crypto)(std::uint64_t options, const void* settings) = nullptr;
};

// Opens `file` (never closed again) and finds every function of the table in it. The error
// names the library or the function that is missing, or says that the library is older than
// the curl this program was built for (options it sets, such as the protocols a redirect may
// use, would then be ignored without a word).
base::Result<CurlLibrary> open_curl_library(const char* file);

// Opens and initialises the process's curl once; later and concurrent calls wait for the first.
// Every request calls it first, and nothing else before: the start of the program does not.
void ensure_crypto_provider();
// The one-time step itself; a failure is not fatal (requests then report it).
void install_crypto_provider();
// How many times the initialisation has run to its end in this process.
std::size_t crypto_provider_installs();

// While the window draws its first frame it starts threads, and a thread being started waits
// for any library another thread is opening: curl and its libraries would make that frame late.
// After `hold_curl_library`, the opening waits for `release_curl_library` or for `limit` to
// pass, whichever comes first; without a hold it never waits.
void hold_curl_library(std::chrono::milliseconds limit);
void release_curl_library();

// Held by a thread that uses curl and that nobody joins (the tile worker), from before its
// first request until its last curl handle is gone. At exit OpenSSL frees its locks and the
// program's own statics go, so the end of the process waits for every holder to let go, for
// at most `kCurlUseExitWait`; a holder stuck longer (in a name lookup, say) is not waited for.
class CurlUse {
 public:
  CurlUse();
  ~CurlUse();
  CurlUse(const CurlUse&) = delete;
  CurlUse& operator=(const CurlUse&) = delete;
};
inline constexpr std::chrono::milliseconds kCurlUseExitWait{2000};
// How many threads hold a CurlUse now.
std::size_t curl_users();
// Waits until no thread holds a CurlUse or `limit` has passed; whether none is left.
bool wait_for_curl_users(std::chrono::milliseconds limit);

// The process's curl after `ensure_crypto_provider`; null when it could not be opened.
const CurlLibrary* curl_library();
// Why `curl_library` is null, as a request's error text.
base::Error curl_library_error();

}  // namespace maps
