#include "net/http_client.hpp"

#include <exception>
#include <string>
#include <string_view>

#include <fmt/format.h>

#include "net/request_control.hpp"

namespace maps {

base::Result<nlohmann::json> parse_json_body(std::string_view body) {
  try {
    return nlohmann::json::parse(body.begin(), body.end());
  } catch (const nlohmann::json::exception& e) {
    // Drop the library's "[json.exception.parse_error.101] " tag; the rest says what and where.
    std::string_view what = e.what();
    const auto tag_end = what.find("] ");
    if (what.rfind("[json.exception.", 0) == 0 && tag_end != std::string_view::npos) what.remove_prefix(tag_end + 2);
    return base::err(fmt::format("error decoding response body: {}", what));
  } catch (const std::exception& e) {
    return base::err(fmt::format("error decoding response body: {}", e.what()));
  }
}

base::Result<HttpReply> get_reply(const std::string& url, std::chrono::milliseconds timeout, RequestControl* control) {
  // A new handle per request: connections are never reused between service calls.
  CurlEasy handle = new_curl_handle();
  if (!handle) return base::err("failed to build HTTP client");
  auto reply = http_get(handle.get(), url, {timeout, kMaxReplyBytes, control ? &control->cancelled : nullptr, {}});
  if (reply && reply->retry_after && control) control->limiter.hold(host_key(url), *reply->retry_after);
  return reply;
}

base::Result<nlohmann::json> get_json(const std::string& url, std::chrono::milliseconds timeout,
                                      RequestControl* control) {
  auto reply = get_reply(url, timeout, control);
  if (!reply) return base::err(reply.error());
  if (reply->status < 200 || reply->status > 299)
    return base::err(fmt::format("HTTP {}", http_status_text(reply->status)));
  return parse_json_body(reply->body);
}

}  // namespace maps
