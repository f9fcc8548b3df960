#pragma once
// The tile worker's HTTP client: one reused curl handle (one connection pool) that sends
// GETs the way every request of the app goes out (net/http_get.hpp).

#include <chrono>
#include <cstddef>
#include <string>
#include <utility>

#include "base/result.hpp"
#include "net/http_get.hpp"

namespace maps {

inline constexpr std::chrono::milliseconds kTileClientTimeout{15000};
// Far above any real tile; stops a misbehaving server from filling memory.
inline constexpr std::size_t kMaxTileReplyBytes = 16u << 20;

using TileReply = HttpReply;

class TileHttpClient {
 public:
  // An error when curl cannot make a handle.
  static base::Result<TileHttpClient> create(std::chrono::milliseconds timeout = kTileClientTimeout);

  // Any status is a reply; transport failures, time-outs and oversized bodies are errors.
  // The time-out covers getting the reply's head, and again reading its body.
  base::Result<TileReply> get(const std::string& url);

 private:
  TileHttpClient(CurlEasy handle, std::chrono::milliseconds timeout) : handle_(std::move(handle)), timeout_(timeout) {}
  CurlEasy handle_;
  std::chrono::milliseconds timeout_{};
};

}  // namespace maps
