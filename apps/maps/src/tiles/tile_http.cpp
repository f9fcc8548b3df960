#include "tiles/tile_http.hpp"

#include <curl/curl.h>

#include <mutex>
#include <utility>

namespace maps {

namespace {

using SteadyClock = std::chrono::steady_clock;

struct Transfer {
  TileReply reply;
  bool too_large = false;
  bool head_done = false;
  bool timed_out = false;
  SteadyClock::time_point deadline;
  std::chrono::milliseconds timeout{};
  CURL* handle = nullptr;
};

std::size_t on_body(char* data, std::size_t size, std::size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const std::size_t n = size * count;
  if (t->reply.body.size() + n > kMaxTileReplyBytes) {
    t->too_large = true;
    return 0;  // aborts the transfer
  }
  t->reply.body.insert(t->reply.body.end(), data, data + n);
  return n;
}

std::size_t on_header(char* data, std::size_t size, std::size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const std::size_t n = size * count;
  // The blank line ends a head. The final head (not an interim or redirect reply) starts the
  // body's own allowance.
  if (n == 2 && data[0] == '\r' && data[1] == '\n') {
    long code = 0;
    curl_easy_getinfo(t->handle, CURLINFO_RESPONSE_CODE, &code);
    if (!t->head_done && (code < 100 || code >= 200) && (code < 300 || code >= 400)) {
      t->head_done = true;
      t->deadline = SteadyClock::now() + t->timeout;
    }
  }
  return n;
}

int on_progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  auto* t = static_cast<Transfer*>(user);
  if (SteadyClock::now() > t->deadline) {
    t->timed_out = true;
    return 1;
  }
  return 0;
}

}  // namespace

void ensure_tile_http_ready() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

base::Result<TileHttpClient> TileHttpClient::create(std::chrono::milliseconds timeout) {
  ensure_tile_http_ready();
  CURL* h = curl_easy_init();
  if (!h) return base::err("curl_easy_init failed");
  return TileHttpClient(h, timeout);
}

TileHttpClient::TileHttpClient(TileHttpClient&& o) noexcept
    : handle_(std::exchange(o.handle_, nullptr)), timeout_(o.timeout_) {}

TileHttpClient& TileHttpClient::operator=(TileHttpClient&& o) noexcept {
  if (this != &o) {
    if (handle_) curl_easy_cleanup(handle_);
    handle_ = std::exchange(o.handle_, nullptr);
    timeout_ = o.timeout_;
  }
  return *this;
}

TileHttpClient::~TileHttpClient() {
  if (handle_) curl_easy_cleanup(handle_);
}

base::Result<TileReply> TileHttpClient::get(const std::string& url) {
  if (!handle_) return base::err("no HTTP client");
  CURL* h = handle_;
  // Reset keeps the connection pool but drops every option of the last request.
  curl_easy_reset(h);

  Transfer t;
  t.timeout = timeout_;
  t.handle = h;
  t.deadline = SteadyClock::now() + timeout_;

  // curl adds "Accept: */*" by default; the service gets the User-Agent and nothing else.
  curl_slist* headers = curl_slist_append(nullptr, "Accept:");
  curl_easy_setopt(h, CURLOPT_URL, url.c_str());
  curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(h, CURLOPT_USERAGENT, kTileUserAgent);
  curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
  // Head and body each get the full allowance; the hard cap is their sum.
  curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(2 * timeout_.count()));
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeout_.count()));
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, on_body);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &t);
  curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, on_header);
  curl_easy_setopt(h, CURLOPT_HEADERDATA, &t);
  curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, on_progress);
  curl_easy_setopt(h, CURLOPT_XFERINFODATA, &t);
  curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);

  const CURLcode rc = curl_easy_perform(h);
  curl_slist_free_all(headers);
  if (t.too_large) return base::err("tile reply too large");
  if (t.timed_out) return base::err("operation timed out");
  if (rc != CURLE_OK) return base::err(curl_easy_strerror(rc));
  curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &t.reply.status);
  return std::move(t.reply);
}

}  // namespace maps
