#include "tiles/tile_http.hpp"

#include <utility>

namespace maps {

base::Result<TileHttpClient> TileHttpClient::create(std::chrono::milliseconds timeout) {
  CurlEasy handle = new_curl_handle();
  if (!handle) return base::err("curl_easy_init failed");
  return TileHttpClient(std::move(handle), timeout);
}

base::Result<TileReply> TileHttpClient::get(const std::string& url) {
  if (!handle_) return base::err("no HTTP client");
  return http_get(handle_.get(), url, timeout_, kMaxTileReplyBytes);
}

}  // namespace maps
