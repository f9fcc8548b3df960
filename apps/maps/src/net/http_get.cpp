#include "net/http_get.hpp"

#include <algorithm>
#include <cctype>
#include <system_error>

#include <fmt/format.h>

namespace maps {

namespace {

using Clock = std::chrono::steady_clock;

struct CurlListDeleter {
  void operator()(curl_slist* list) const {
    if (const CurlLibrary* lib = curl_library()) lib->slist_free_all(list);
  }
};
using CurlList = std::unique_ptr<curl_slist, CurlListDeleter>;

bool starts_with_icase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(s[i])) != std::tolower(static_cast<unsigned char>(prefix[i]))) {
      return false;
    }
  }
  return true;
}

// One transfer's progress. The limit covers the reply head (across redirects) and then,
// once the final head is in, the body gets the same limit again.
struct Transfer {
  std::chrono::milliseconds limit;
  std::size_t max_body = 0;
  Clock::time_point head_deadline;
  Clock::time_point body_deadline{};
  bool in_body = false;
  const std::atomic<bool>* cancel = nullptr;
  bool timed_out = false;
  bool too_large = false;
  bool cancelled = false;
  long head_status = 0;
  bool head_has_location = false;
  std::string location;  // of the last head
  std::string body;
};

std::string lower_scheme(std::string_view url) {
  const auto colon = url.find(':');
  std::string out;
  if (colon == std::string_view::npos) return out;
  for (const char c : url.substr(0, colon)) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') return {};
    out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  }
  return out;
}

std::size_t on_header(char* data, std::size_t size, std::size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const std::size_t n = size * count;
  std::string_view line(data, n);
  if (starts_with_icase(line, "HTTP/")) {
    // Status line of a new head (a redirect or an interim reply starts another one).
    const auto sp = line.find(' ');
    t->head_status = 0;
    t->head_has_location = false;
    t->location.clear();
    if (sp != std::string_view::npos) {
      for (std::size_t i = sp + 1; i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])); ++i) {
        t->head_status = t->head_status * 10 + (line[i] - '0');
        if (t->head_status > 999) break;
      }
    }
  } else if (starts_with_icase(line, "location:")) {
    t->head_has_location = true;
    std::string_view value = line.substr(9);
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
    while (!value.empty() && (value.back() == '\r' || value.back() == '\n' || value.back() == ' '))
      value.remove_suffix(1);
    t->location.assign(value.substr(0, 2048));
  } else if (line == "\r\n" || line == "\n") {
    const bool interim = t->head_status >= 100 && t->head_status < 200;
    const bool redirect = t->head_has_location && t->head_status >= 300 && t->head_status < 400;
    if (!interim && !redirect && !t->in_body) {
      t->in_body = true;
      t->body_deadline = Clock::now() + t->limit;
    }
  }
  return n;
}

std::size_t on_body(char* data, std::size_t size, std::size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const std::size_t n = size * count;
  if (t->body.size() + n > t->max_body) {
    t->too_large = true;
    return 0;  // aborts the transfer
  }
  t->body.append(data, n);
  return n;
}

int on_progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  auto* t = static_cast<Transfer*>(user);
  if (t->cancel != nullptr && t->cancel->load(std::memory_order_relaxed)) {
    t->cancelled = true;
    return 1;
  }
  if (Clock::now() > (t->in_body ? t->body_deadline : t->head_deadline)) {
    t->timed_out = true;
    return 1;  // aborts the transfer
  }
  return 0;
}

std::string timeout_text(const Transfer& t) {
  const auto ms = static_cast<long long>(t.limit.count());
  return t.in_body ? fmt::format("timed out reading the reply body (limit {} ms)", ms)
                   : fmt::format("timed out waiting for a reply (limit {} ms)", ms);
}

// What a failed transfer means for the person waiting on it: the service could not be reached
// at all, or it sent something that is not an HTTP reply we can take.
base::ErrorKind transport_kind(CURLcode rc) {
  switch (rc) {
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
    case CURLE_SSL_SHUTDOWN_FAILED:
    case CURLE_USE_SSL_FAILED:
    case CURLE_INTERFACE_FAILED: return base::ErrorKind::Unreachable;
    case CURLE_OPERATION_TIMEDOUT: return base::ErrorKind::TimedOut;
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
    case CURLE_BAD_CONTENT_ENCODING:
    case CURLE_TOO_MANY_REDIRECTS:
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_FILESIZE_EXCEEDED: return base::ErrorKind::BadReply;
    default: return base::ErrorKind::Other;
  }
}

}  // namespace

void CurlEasyDeleter::operator()(CURL* handle) const {
  // A handle exists only once the library is open.
  if (const CurlLibrary* lib = curl_library()) lib->easy_cleanup(handle);
}

bool holds_hashed_certificates(const std::filesystem::path& dir) {
  std::error_code ec;
  for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    // Eight hex digits, a dot and a number: what `openssl rehash` names a certificate.
    const std::string name = it->path().filename().string();
    const std::size_t dot = name.find('.');
    if (dot != 8 || dot + 1 >= name.size()) continue;
    const auto hex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
    const auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    if (std::all_of(name.begin(), name.begin() + 8, hex) && std::all_of(name.begin() + 9, name.end(), digit)) {
      return true;
    }
  }
  return false;
}

const std::string& system_ca_directory() {
  static const std::string dir = [] {
    std::string found;
#if LIBCURL_VERSION_NUM >= 0x075400
    const CurlLibrary* lib = curl_library();
    if (lib == nullptr || lib->easy_getinfo == nullptr) return found;
    CurlEasy handle(lib->easy_init());
    char* path = nullptr;
    if (handle && lib->easy_getinfo(handle.get(), CURLINFO_CAPATH, &path) == CURLE_OK && path != nullptr &&
        holds_hashed_certificates(path)) {
      found = path;
    }
#endif
    return found;
  }();
  return dir;
}

CurlEasy new_curl_handle() {
  const CurlLibrary* lib = curl_library();
  return CurlEasy(lib ? lib->easy_init() : nullptr);
}

struct HttpGetTransfer::State {
  const CurlLibrary* lib = nullptr;
  CURL* handle = nullptr;
  bool ready = false;
  bool secure = false;
  std::string url;
  std::string user_agent{kUserAgent};
  std::string ca_file;
  std::string ca_directory;
  CurlList headers;
  Transfer transfer;
  char errbuf[CURL_ERROR_SIZE] = {};
};

HttpGetTransfer::HttpGetTransfer(CURL* h, const std::string& url, std::chrono::milliseconds timeout,
                                 std::size_t max_body_bytes)
    : HttpGetTransfer(h, url, HttpGetOptions{timeout, max_body_bytes, nullptr, {}}) {}

HttpGetTransfer::HttpGetTransfer(CURL* h, const std::string& url, const HttpGetOptions& options)
    : state_(std::make_unique<State>()) {
  State& s = *state_;
  s.handle = h;
  s.lib = curl_library();
  if (h == nullptr || s.lib == nullptr) return;
  const CurlLibrary& lib = *s.lib;
  const auto timeout = options.timeout;
  lib.easy_reset(h);

  // curl adds "Accept: */*" by default; an empty value removes it so only the User-Agent is sent.
  s.headers.reset(lib.slist_append(nullptr, "Accept:"));
  if (!s.headers) return;

  s.url = url;
  Transfer& t = s.transfer;
  t.limit = timeout;
  t.max_body = options.max_body_bytes;
  t.cancel = options.cancel;
  t.head_deadline = Clock::now() + timeout;
  const long limit_ms = static_cast<long>(std::max<long long>(1, timeout.count()));

  lib.easy_setopt(h, CURLOPT_URL, s.url.c_str());
  lib.easy_setopt(h, CURLOPT_HTTPGET, 1L);
  lib.easy_setopt(h, CURLOPT_USERAGENT, s.user_agent.c_str());
  lib.easy_setopt(h, CURLOPT_HTTPHEADER, s.headers.get());
  lib.easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  lib.easy_setopt(h, CURLOPT_ERRORBUFFER, s.errbuf);
  lib.easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  lib.easy_setopt(h, CURLOPT_MAXREDIRS, 10L);
  // What starts on https stays on https: a redirect must not downgrade it to plain http.
  const bool secure = lower_scheme(url) == "https";
  s.secure = secure;
#if LIBCURL_VERSION_NUM >= 0x075500
  lib.easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
  lib.easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, secure ? "https" : "http,https");
#else
  lib.easy_setopt(h, CURLOPT_PROTOCOLS, static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
  lib.easy_setopt(h, CURLOPT_REDIR_PROTOCOLS,
                  static_cast<long>(secure ? CURLPROTO_HTTPS : (CURLPROTO_HTTP | CURLPROTO_HTTPS)));
#endif
  lib.easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
  lib.easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
  // A directory of certificates is trusted alone where there is one: the same trust as the
  // bundle without parsing and holding all of it.
  s.ca_directory = options.trust.ca_directory;
  s.ca_file = options.trust.ca_file;
  if (s.ca_directory.empty() && s.ca_file.empty()) s.ca_directory = system_ca_directory();
  if (!s.ca_directory.empty()) {
    lib.easy_setopt(h, CURLOPT_CAINFO, nullptr);
    lib.easy_setopt(h, CURLOPT_CAPATH, s.ca_directory.c_str());
  } else if (!s.ca_file.empty()) {
    lib.easy_setopt(h, CURLOPT_CAINFO, s.ca_file.c_str());
    lib.easy_setopt(h, CURLOPT_CAPATH, nullptr);
  }
  lib.easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, limit_ms);
  // Backstop for both phases together; the progress callback enforces each phase.
  lib.easy_setopt(h, CURLOPT_TIMEOUT_MS, 2 * limit_ms);
  lib.easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(options.max_body_bytes));
  lib.easy_setopt(h, CURLOPT_HEADERFUNCTION, on_header);
  lib.easy_setopt(h, CURLOPT_HEADERDATA, &t);
  lib.easy_setopt(h, CURLOPT_WRITEFUNCTION, on_body);
  lib.easy_setopt(h, CURLOPT_WRITEDATA, &t);
  lib.easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
  lib.easy_setopt(h, CURLOPT_XFERINFOFUNCTION, on_progress);
  lib.easy_setopt(h, CURLOPT_XFERINFODATA, &t);
  s.ready = true;
}

HttpGetTransfer::HttpGetTransfer(HttpGetTransfer&&) noexcept = default;
HttpGetTransfer& HttpGetTransfer::operator=(HttpGetTransfer&&) noexcept = default;
HttpGetTransfer::~HttpGetTransfer() = default;

bool HttpGetTransfer::ready() const { return state_ && state_->ready; }

base::Result<HttpReply> HttpGetTransfer::finish(CURLcode rc) {
  if (!ready()) {
    if (curl_library() == nullptr) return curl_library_error();
    return base::err(base::ErrorKind::Other, "failed to build HTTP client");
  }
  State& s = *state_;
  const CurlLibrary& lib = *s.lib;
  const Transfer& t = s.transfer;
  HttpReply reply;
  lib.easy_getinfo(s.handle, CURLINFO_RESPONSE_CODE, &reply.status);
  curl_off_t retry_after = 0;
  if (rc == CURLE_OK && reply.status == 429 &&
      lib.easy_getinfo(s.handle, CURLINFO_RETRY_AFTER, &retry_after) == CURLE_OK && retry_after > 0) {
    // A day is already far past any pause worth honouring; the cap keeps later sums in range.
    reply.retry_after =
        std::chrono::seconds(static_cast<std::chrono::seconds::rep>(std::min<curl_off_t>(retry_after, 86400)));
  }
  // The buffers and the header list die with this object; a reused handle must not point at them.
  lib.easy_reset(s.handle);
  s.ready = false;
  const bool secure = s.secure;
  if (rc != CURLE_OK) {
    using base::ErrorKind;
    if (t.cancelled) return base::err(ErrorKind::Cancelled, "request cancelled");
    if (rc == CURLE_UNSUPPORTED_PROTOCOL && t.head_has_location && t.head_status >= 300 && t.head_status < 400) {
      const std::string to = lower_scheme(t.location);
      return base::err(ErrorKind::BadReply, fmt::format("refused redirect from {} to {}", secure ? "https" : "http",
                                                        to.empty() ? std::string("an unsupported address") : to));
    }
    if (t.timed_out || rc == CURLE_OPERATION_TIMEDOUT) return base::err(ErrorKind::TimedOut, timeout_text(t));
    if (t.too_large || rc == CURLE_FILESIZE_EXCEEDED) return base::err(ErrorKind::BadReply, "response body too large");
    const ErrorKind kind = transport_kind(rc);
    if (s.errbuf[0] != '\0') return base::err(kind, s.errbuf);
    return base::err(kind, lib.easy_strerror(rc));
  }
  reply.body = std::move(s.transfer.body);
  return reply;
}

base::Result<HttpReply> http_get(CURL* h, const std::string& url, std::chrono::milliseconds timeout,
                                 std::size_t max_body_bytes) {
  return http_get(h, url, HttpGetOptions{timeout, max_body_bytes, nullptr, {}});
}

base::Result<HttpReply> http_get(CURL* h, const std::string& url, const HttpGetOptions& options) {
  HttpGetTransfer get(h, url, options);
  if (!get.ready()) return get.finish(CURLE_FAILED_INIT);
  return get.finish(curl_library()->easy_perform(h));
}

}  // namespace maps
