#include "tiles/tile_http.hpp"

#include <algorithm>
#include <mutex>
#include <utility>

namespace maps {

namespace {

struct CurlMultiDeleter {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
using CurlMulti = std::unique_ptr<CURLM, CurlMultiDeleter>;

// The handle is declared last so that it is cleaned up before the buffers it points at.
struct Running {
  TileRequest request;
  HttpGetTransfer get;
  CurlEasy handle;
};

// What a wake function reaches: the multi handle while it lives, nothing afterwards.
struct WakeTarget {
  std::mutex mu;
  CURLM* multi = nullptr;
};

}  // namespace

struct TileHttpClient::Impl {
  std::chrono::milliseconds timeout{};
  std::size_t max_transfers = 1;
  CurlMulti multi;
  std::shared_ptr<WakeTarget> wake = std::make_shared<WakeTarget>();
  std::vector<std::unique_ptr<Running>> running;
  std::vector<CurlEasy> idle;  // handles of ended transfers, reused for the next ones
  std::vector<TileTransferDone> refused;

  ~Impl() {
    {
      std::lock_guard lock(wake->mu);
      wake->multi = nullptr;
    }
    // A handle must leave the multi handle before either is cleaned up.
    for (auto& r : running) curl_multi_remove_handle(multi.get(), r->handle.get());
  }

  CurlEasy take_handle() {
    if (idle.empty()) return new_curl_handle();
    CurlEasy h = std::move(idle.back());
    idle.pop_back();
    return h;
  }

  void collect(std::vector<TileTransferDone>& out) {
    int left = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi.get(), &left)) {
      if (msg->msg != CURLMSG_DONE) continue;
      auto it = std::find_if(running.begin(), running.end(),
                             [&](const auto& r) { return r->handle.get() == msg->easy_handle; });
      if (it == running.end()) continue;
      const CURLcode rc = msg->data.result;
      std::unique_ptr<Running> r = std::move(*it);
      running.erase(it);
      curl_multi_remove_handle(multi.get(), r->handle.get());
      out.push_back({r->request, r->get.finish(rc)});
      idle.push_back(std::move(r->handle));
    }
  }
};

TileHttpClient::TileHttpClient(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
TileHttpClient::TileHttpClient(TileHttpClient&&) noexcept = default;
TileHttpClient& TileHttpClient::operator=(TileHttpClient&&) noexcept = default;
TileHttpClient::~TileHttpClient() = default;

base::Result<TileHttpClient> TileHttpClient::create(std::chrono::milliseconds timeout, std::size_t max_transfers) {
  ensure_crypto_provider();
  auto impl = std::make_unique<Impl>();
  impl->timeout = timeout;
  impl->max_transfers = std::max<std::size_t>(1, max_transfers);
  impl->multi.reset(curl_multi_init());
  if (!impl->multi) return base::err("curl_multi_init failed");
  CURLM* m = impl->multi.get();
  curl_multi_setopt(m, CURLMOPT_PIPELINING, static_cast<long>(CURLPIPE_MULTIPLEX));
  curl_multi_setopt(m, CURLMOPT_MAX_HOST_CONNECTIONS, static_cast<long>(impl->max_transfers));
  impl->wake->multi = m;
  return TileHttpClient(std::move(impl));
}

std::function<void()> TileHttpClient::wake_function() const {
  if (!impl_) return {};
  return [target = impl_->wake] {
    std::lock_guard lock(target->mu);
    if (target->multi) curl_multi_wakeup(target->multi);
  };
}

std::size_t TileHttpClient::max_transfers() const { return impl_ ? impl_->max_transfers : 0; }

std::size_t TileHttpClient::running() const { return impl_ ? impl_->running.size() + impl_->refused.size() : 0; }

void TileHttpClient::start(const TileRequest& request, const std::string& url) {
  if (!impl_) return;
  CurlEasy handle = impl_->take_handle();
  HttpGetTransfer get(handle.get(), url, impl_->timeout, kMaxTileReplyBytes);
  if (!get.ready()) {
    impl_->refused.push_back({request, get.finish(CURLE_FAILED_INIT)});
    return;
  }
  // Over TLS the handshake tells whether the host speaks HTTP/2; wait for it and share the one
  // connection rather than opening more. Plain HTTP would only tell with the first reply.
  if (url.starts_with("https://")) curl_easy_setopt(handle.get(), CURLOPT_PIPEWAIT, 1L);
  curl_easy_setopt(handle.get(), CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_2TLS));
  const CURLMcode rc = curl_multi_add_handle(impl_->multi.get(), handle.get());
  if (rc != CURLM_OK) {
    impl_->refused.push_back({request, base::err(curl_multi_strerror(rc))});
    curl_easy_reset(handle.get());
    impl_->idle.push_back(std::move(handle));
    return;
  }
  impl_->running.push_back(std::make_unique<Running>(Running{request, std::move(get), std::move(handle)}));
}

std::vector<TileTransferDone> TileHttpClient::run(std::chrono::milliseconds wait) {
  std::vector<TileTransferDone> done;
  if (!impl_) return done;
  done = std::move(impl_->refused);
  impl_->refused.clear();
  if (impl_->running.empty()) return done;
  CURLM* m = impl_->multi.get();
  int still = 0;
  curl_multi_perform(m, &still);
  impl_->collect(done);
  if (!done.empty() || impl_->running.empty()) return done;
  // curl shortens the wait to its own next deadline (time-outs, connection set-up).
  curl_multi_poll(m, nullptr, 0, static_cast<int>(std::max<long long>(0, wait.count())), nullptr);
  curl_multi_perform(m, &still);
  impl_->collect(done);
  return done;
}

}  // namespace maps
