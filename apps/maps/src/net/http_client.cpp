#include "net/http_client.hpp"

#include <algorithm>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include <fmt/format.h>

#include "net/host_schedule.hpp"
#include "net/request_control.hpp"

namespace maps {

namespace {

// Checks the bounds on the text before any tree is built: one pass counting the open arrays and
// objects and the values (each array or object, and one more per comma), outside strings.
// Whether the text is JSON at all is left to the parser.
std::optional<std::string> beyond_bounds(std::string_view body) {
  std::size_t depth = 0;
  std::size_t values = 1;
  bool in_string = false;
  bool escaped = false;
  for (const char c : body) {
    if (in_string) {
      if (escaped) {
        escaped = false;
      } else if (c == '\\') {
        escaped = true;
      } else if (c == '"') {
        in_string = false;
      }
      continue;
    }
    switch (c) {
      case '"': in_string = true; break;
      case '[':
      case '{':
        if (++depth > kMaxJsonDepth) return fmt::format("nested deeper than {} levels", kMaxJsonDepth);
        ++values;
        break;
      case ']':
      case '}':
        if (depth > 0) --depth;
        break;
      case ',': ++values; break;
      default: break;
    }
    if (values > kMaxJsonValues) return fmt::format("more than {} values", kMaxJsonValues);
  }
  return std::nullopt;
}

}  // namespace

base::Result<nlohmann::json> parse_json_body(std::string_view body) {
  using base::ErrorKind;
  if (auto bound = beyond_bounds(body))
    return base::err(ErrorKind::BadReply, fmt::format("error decoding response body: {}", *bound));
  try {
    return nlohmann::json::parse(body.begin(), body.end());
  } catch (const nlohmann::json::exception& e) {
    // Drop the library's "[json.exception.parse_error.101] " tag; the rest says what and where.
    std::string_view what = e.what();
    const auto tag_end = what.find("] ");
    if (what.rfind("[json.exception.", 0) == 0 && tag_end != std::string_view::npos) what.remove_prefix(tag_end + 2);
    return base::err(ErrorKind::BadReply, fmt::format("error decoding response body: {}", what));
  } catch (const std::exception& e) {
    return base::err(ErrorKind::BadReply, fmt::format("error decoding response body: {}", e.what()));
  }
}

base::Error http_status_error(long status) {
  return base::err(base::ErrorKind::ServiceError, fmt::format("HTTP {}", http_status_text(status)), status);
}

base::Result<HttpReply> get_reply(const std::string& url, std::chrono::milliseconds timeout, RequestControl* control) {
  // A new handle per request: connections are never reused between service calls.
  CurlEasy handle = new_curl_handle();
  if (!handle) {
    if (curl_library() == nullptr) return curl_library_error();
    return base::err(base::ErrorKind::Other, "failed to build HTTP client");
  }
  auto reply = http_get(handle.get(), url, {timeout, kMaxReplyBytes, control ? &control->cancelled : nullptr, {}});
  if (reply && reply->retry_after && control) control->limiter.hold(host_key(url), *reply->retry_after);
  return reply;
}

std::string pause_text(std::string_view service, std::chrono::milliseconds wait) {
  const auto seconds = std::chrono::ceil<std::chrono::seconds>(std::max(wait, std::chrono::milliseconds{1})).count();
  const std::string how_long = seconds < 60 ? fmt::format("{} s", seconds) : fmt::format("{} min", (seconds + 59) / 60);
  return fmt::format("the {} asks to wait {} \u2014 try again later", service, how_long);
}

base::Error pause_error(std::string_view service, std::chrono::milliseconds wait) {
  return base::err(base::ErrorKind::ServiceError, pause_text(service, wait), 429);
}

std::optional<base::Error> asked_pause(const HttpReply& reply, std::string_view service) {
  if (reply.status != 429 || !reply.retry_after) return std::nullopt;
  return pause_error(service, std::min<std::chrono::milliseconds>(*reply.retry_after, kLongestHold));
}

base::Result<nlohmann::json> get_json(const std::string& url, std::chrono::milliseconds timeout,
                                      RequestControl* control, std::string_view service) {
  auto reply = get_reply(url, timeout, control);
  if (!reply) return reply.failure();
  if (auto pause = asked_pause(*reply, service)) return std::move(*pause);
  if (reply->status < 200 || reply->status > 299) return http_status_error(reply->status);
  return parse_json_body(reply->body);
}

}  // namespace maps
