#pragma once
// The one blocking GET every web service goes through, and the URL encoder for query values.

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "base/result.hpp"
#include "net/http_get.hpp"
#include "net/service_hosts.hpp"

namespace maps {

// No service answers anywhere near this; it only keeps a hostile reply from exhausting memory.
inline constexpr std::size_t kMaxReplyBytes = 32u * 1024u * 1024u;

// A reply tree is built only within these bounds. Copying or comparing a tree recurses once per
// level, so a reply nested thousands deep would overflow the stack; and every value costs tens
// of bytes in the tree beside its few bytes of text, so a reply of the largest size made of
// tiny values would take gigabytes. Real replies stay far inside both (an Overpass answer for a
// dense view, or a long road route with its full geometry, has some hundred thousand values).
inline constexpr std::size_t kMaxJsonDepth = 256;
inline constexpr std::size_t kMaxJsonValues = 2'000'000;

// Query-value encoding: unreserved ASCII stays, a space is "%20", every other byte "%XX".
std::string percent_encode(std::string_view text);

// "404 Not Found"; just the code when the phrase is not a standard one.
std::string http_status_text(long code);

// "HTTP 503 Service Unavailable", of kind ServiceError with the status beside it.
base::Error http_status_error(long status);

struct RequestControl;

// One GET with the fixed User-Agent and no other header; any status is a reply. With a
// `control`, its flag can cancel the transfer and a 429's Retry-After holds back the next
// requests to the host in its limiter.
base::Result<HttpReply> get_reply(const std::string& url, std::chrono::milliseconds timeout = kJsonRequestTimeout,
                                  RequestControl* control = nullptr);

// `get_reply`, where only a 2xx reply counts and its body is parsed as JSON. Every error has its
// kind: the transport's, ServiceError for another status, BadReply for a body that is not JSON.
// `service` names the service in the text of a 429 that asks for a pause.
base::Result<nlohmann::json> get_json(const std::string& url, std::chrono::milliseconds timeout = kJsonRequestTimeout,
                                      RequestControl* control = nullptr, std::string_view service = "service");

// "the search service asks to wait 10 min — try again later": what a request says when the
// service asked for a pause, or when the pause it asked for is still running. The wait is in
// whole seconds below a minute, else in whole minutes (rounded up).
std::string pause_text(std::string_view service, std::chrono::milliseconds wait);
// The same as an error (ServiceError, status 429).
base::Error pause_error(std::string_view service, std::chrono::milliseconds wait);
// The pause error of a 429 reply that carried a Retry-After (as long as the limiter holds the
// host: at most kLongestHold); nothing for any other reply.
std::optional<base::Error> asked_pause(const HttpReply& reply, std::string_view service);

// The body half of `get_json`: any text that is not one JSON value is an error, and so is one
// nested deeper than kMaxJsonDepth or holding more than kMaxJsonValues values.
base::Result<nlohmann::json> parse_json_body(std::string_view body);

}  // namespace maps
