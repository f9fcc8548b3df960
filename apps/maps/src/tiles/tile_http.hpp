#pragma once
// The tile worker's HTTP client: several GETs in flight at once on curl's multi interface, all
// over one connection pool, each sent the way every request of the app goes out
// (net/http_get.hpp). HTTP/2 is used where the server offers it, and then the transfers share
// one connection.

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/result.hpp"
#include "net/http_get.hpp"
#include "tiles/tile_messages.hpp"
#include "tiles/tile_worker_settings.hpp"

namespace maps {

// Far above any real tile; stops a misbehaving server from filling memory.
inline constexpr std::size_t kMaxTileReplyBytes = 16u << 20;

using TileReply = HttpReply;

// A transfer that ended: the reply (any status), or why there is none.
struct TileTransferDone {
  TileRequest request;
  base::Result<TileReply> reply;
};

class TileHttpClient {
 public:
  // `max_transfers` is at least 1. curl is opened with the first transfer, not here: a client
  // whose tiles all come from disk never loads it, and a curl that cannot be opened or cannot
  // make its multi handle fails each transfer with the reason.
  static base::Result<TileHttpClient> create(std::chrono::milliseconds timeout = kTileClientTimeout,
                                             std::size_t max_transfers = kMaxTileTransfers, HttpTrust trust = {});
  TileHttpClient(TileHttpClient&&) noexcept;
  TileHttpClient& operator=(TileHttpClient&&) noexcept;
  ~TileHttpClient();

  std::size_t max_transfers() const;
  // Transfers started and not yet returned by `run`.
  std::size_t running() const;
  bool has_free_slot() const { return running() < max_transfers(); }

  // Starts a GET of `url` for `request` (a free slot is the caller's to check). The time-out
  // covers getting the reply's head from now, and again reading its body. A transfer that
  // cannot start is reported as ended by the next `run`.
  void start(const TileRequest& request, const std::string& url);
  // Moves every transfer along, waiting at most `wait` for network activity when none has
  // ended yet, and returns those that ended. Returns at once when nothing is running.
  std::vector<TileTransferDone> run(std::chrono::milliseconds wait);
  // Ends a wait in `run` early; callable from any thread, also after the client is gone (it
  // then does nothing).
  std::function<void()> wake_function() const;

 private:
  struct Impl;
  explicit TileHttpClient(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace maps
