#pragma once
// The tile worker's HTTP client: one reused curl handle (one connection pool) that sends
// GETs with the app's User-Agent and no other header.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "base/result.hpp"

namespace maps {

inline constexpr const char* kTileUserAgent = "Zarn-Maps/0.1 (maps@zarn.so; native maps app)";
inline constexpr std::chrono::milliseconds kTileClientTimeout{15000};
// Far above any real tile; stops a misbehaving server from filling memory.
inline constexpr std::size_t kMaxTileReplyBytes = 16u << 20;

struct TileReply {
  long status = 0;
  std::vector<std::uint8_t> body;
};

class TileHttpClient {
 public:
  // An error when curl cannot make a handle.
  static base::Result<TileHttpClient> create(std::chrono::milliseconds timeout = kTileClientTimeout);

  TileHttpClient(TileHttpClient&& o) noexcept;
  TileHttpClient& operator=(TileHttpClient&& o) noexcept;
  TileHttpClient(const TileHttpClient&) = delete;
  TileHttpClient& operator=(const TileHttpClient&) = delete;
  ~TileHttpClient();

  // Any status is a reply; transport failures, time-outs and oversized bodies are errors.
  // The time-out covers getting the reply's head, and again reading its body.
  base::Result<TileReply> get(const std::string& url);

 private:
  TileHttpClient(void* handle, std::chrono::milliseconds timeout) : handle_(handle), timeout_(timeout) {}
  void* handle_ = nullptr;  // CURL*
  std::chrono::milliseconds timeout_{};
};

// curl_global_init, once per process.
void ensure_tile_http_ready();

}  // namespace maps
