#include "tiles/tile_http.hpp"

#include <algorithm>
#include <mutex>
#include <optional>
#include <utility>

namespace maps {

namespace {

struct CurlMultiDeleter {
  void operator()(CURLM* multi) const {
    if (const CurlLibrary* lib = curl_library()) lib->multi_cleanup(multi);
  }
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
  const CurlLibrary* lib = nullptr;
};

}  // namespace

struct TileHttpClient::Impl {
  std::chrono::milliseconds timeout{};
  std::size_t max_transfers = 1;
  HttpTrust trust;
  const CurlLibrary* lib = nullptr;  // once the first transfer opened it
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
    for (auto& r : running) lib->multi_remove_handle(multi.get(), r->handle.get());
  }

  // curl is opened with the first transfer rather than with the client: a start whose tiles
  // are all on disk never loads it. The error says why there is no multi handle.
  std::optional<base::Error> open() {
    if (multi) return std::nullopt;
    lib = curl_library();
    if (lib == nullptr) return curl_library_error();
    multi.reset(lib->multi_init());
    if (!multi) return base::err("curl_multi_init failed");
    CURLM* m = multi.get();
    lib->multi_setopt(m, CURLMOPT_PIPELINING, static_cast<long>(CURLPIPE_MULTIPLEX));
    lib->multi_setopt(m, CURLMOPT_MAX_HOST_CONNECTIONS, static_cast<long>(max_transfers));
    std::lock_guard lock(wake->mu);
    wake->multi = m;
    wake->lib = lib;
    return std::nullopt;
  }

  CurlEasy take_handle() {
    if (idle.empty()) return new_curl_handle();
    CurlEasy h = std::move(idle.back());
    idle.pop_back();
    return h;
  }

  void collect(std::vector<TileTransferDone>& out) {
    int left = 0;
    while (CURLMsg* msg = lib->multi_info_read(multi.get(), &left)) {
      if (msg->msg != CURLMSG_DONE) continue;
      auto it = std::find_if(running.begin(), running.end(),
                             [&](const auto& r) { return r->handle.get() == msg->easy_handle; });
      if (it == running.end()) continue;
      const CURLcode rc = msg->data.result;
      std::unique_ptr<Running> r = std::move(*it);
      running.erase(it);
      lib->multi_remove_handle(multi.get(), r->handle.get());
      out.push_back({r->request, r->get.finish(rc)});
      idle.push_back(std::move(r->handle));
    }
  }
};

TileHttpClient::TileHttpClient(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
TileHttpClient::TileHttpClient(TileHttpClient&&) noexcept = default;
TileHttpClient& TileHttpClient::operator=(TileHttpClient&&) noexcept = default;
TileHttpClient::~TileHttpClient() = default;

base::Result<TileHttpClient> TileHttpClient::create(std::chrono::milliseconds timeout, std::size_t max_transfers,
                                                    HttpTrust trust) {
  auto impl = std::make_unique<Impl>();
  impl->timeout = timeout;
  impl->trust = std::move(trust);
  impl->max_transfers = std::max<std::size_t>(1, max_transfers);
  return TileHttpClient(std::move(impl));
}

std::function<void()> TileHttpClient::wake_function() const {
  if (!impl_) return {};
  return [target = impl_->wake] {
    std::lock_guard lock(target->mu);
    if (target->multi) target->lib->multi_wakeup(target->multi);
  };
}

std::size_t TileHttpClient::max_transfers() const { return impl_ ? impl_->max_transfers : 0; }

std::size_t TileHttpClient::running() const { return impl_ ? impl_->running.size() + impl_->refused.size() : 0; }

void TileHttpClient::start(const TileRequest& request, const std::string& url) {
  if (!impl_) return;
  if (auto closed = impl_->open()) {
    impl_->refused.push_back({request, std::move(*closed)});
    return;
  }
  const CurlLibrary& lib = *impl_->lib;
  CurlEasy handle = impl_->take_handle();
  HttpGetTransfer get(handle.get(), url, HttpGetOptions{impl_->timeout, kMaxTileReplyBytes, nullptr, impl_->trust});
  if (!get.ready()) {
    impl_->refused.push_back({request, get.finish(CURLE_FAILED_INIT)});
    return;
  }
  // Over TLS the handshake tells whether the host speaks HTTP/2; wait for it and share the one
  // connection rather than opening more. Plain HTTP would only tell with the first reply.
  if (url.starts_with("https://")) lib.easy_setopt(handle.get(), CURLOPT_PIPEWAIT, 1L);
  lib.easy_setopt(handle.get(), CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_2TLS));
  const CURLMcode rc = lib.multi_add_handle(impl_->multi.get(), handle.get());
  if (rc != CURLM_OK) {
    impl_->refused.push_back({request, base::err(lib.multi_strerror(rc))});
    lib.easy_reset(handle.get());
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
  const CurlLibrary& lib = *impl_->lib;
  CURLM* m = impl_->multi.get();
  int still = 0;
  lib.multi_perform(m, &still);
  impl_->collect(done);
  if (!done.empty() || impl_->running.empty()) return done;
  // curl shortens the wait to its own next deadline (time-outs, connection set-up).
  lib.multi_poll(m, nullptr, 0, static_cast<int>(std::max<long long>(0, wait.count())), nullptr);
  lib.multi_perform(m, &still);
  impl_->collect(done);
  return done;
}

}  // namespace maps
