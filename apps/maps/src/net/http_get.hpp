#pragma once
// One HTTP GET on a curl handle, the way every request of the app goes out: the fixed
// User-Agent and no other header, redirects only to http(s) and never from https to http, TLS
// verified, a time-out for the reply head and again for its body, and a cap on the body. The
// JSON client and the tile worker's client both send through it.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/result.hpp"
#include "net/curl_library.hpp"

namespace maps {

inline constexpr std::string_view kUserAgent = "Zarn-Maps/0.1 (maps@zarn.so; native maps app)";

struct CurlEasyDeleter {
  void operator()(CURL* handle) const;
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyDeleter>;

// A fresh handle, after `ensure_crypto_provider`; null when curl cannot be opened or cannot
// make one.
CurlEasy new_curl_handle();

struct HttpReply {
  long status = 0;
  std::string body;
  // The pause a 429 reply asked for (its Retry-After, seconds or a date); nothing otherwise.
  std::optional<std::chrono::seconds> retry_after;
};

// Certificates to trust in place of the system's, as the system keeps them: a PEM bundle, a
// directory of certificates named by their subject hash, or both. Only tests and benchmarks
// that run a TLS server of their own give any.
struct HttpTrust {
  std::string ca_file;
  std::string ca_directory;
  bool operator==(const HttpTrust&) const = default;
};

struct HttpGetOptions {
  std::chrono::milliseconds timeout{0};
  std::size_t max_body_bytes = 0;
  // Setting it aborts the transfer within about a second ("request cancelled").
  const std::atomic<bool>* cancel = nullptr;
  HttpTrust trust;
};

// The system's certificates as a directory named by subject hash, when the curl library knows
// one and it holds such names; else empty. Where there is a directory it is trusted alone: a
// connection then reads only the certificates its peer's chain names, where the bundle would
// have every one of them parsed and held (about 1 MiB, and tens of milliseconds, per
// connection).
const std::string& system_ca_directory();
// Whether `dir` holds at least one certificate named by subject hash ("5ad8a5d6.0").
bool holds_hashed_certificates(const std::filesystem::path& dir);

// Any status is a reply; transport failures, time-outs and bodies larger than `max_body_bytes`
// are errors. The handle is reset first, which keeps its connections for the next request.
base::Result<HttpReply> http_get(CURL* handle, const std::string& url, const HttpGetOptions& options);
base::Result<HttpReply> http_get(CURL* handle, const std::string& url, std::chrono::milliseconds timeout,
                                 std::size_t max_body_bytes);

// The same GET set up on a handle for a caller that runs the transfer itself (curl's multi
// interface). The object holds what the handle points at: keep it until `finish`, or else
// clean the handle up (or reset it) before the object goes.
class HttpGetTransfer {
 public:
  // Resets the handle and sets every option of `http_get`.
  HttpGetTransfer(CURL* handle, const std::string& url, std::chrono::milliseconds timeout, std::size_t max_body_bytes);
  HttpGetTransfer(CURL* handle, const std::string& url, const HttpGetOptions& options);
  HttpGetTransfer(HttpGetTransfer&&) noexcept;
  HttpGetTransfer& operator=(HttpGetTransfer&&) noexcept;
  ~HttpGetTransfer();

  // False when the handle is null or the request could not be set up; `finish` then says why.
  bool ready() const;
  // The outcome once curl reports the transfer done with `rc` (the handle no longer running);
  // resets the handle, keeping its connections.
  base::Result<HttpReply> finish(CURLcode rc);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace maps
