#pragma once
// The local wall-clock time of an instant the journey planner sends. Its instants are UTC
// ("2024-11-06T16:34:00Z") or carry their own offset ("+01:00"); the person reads journeys
// in the time of this machine (the TZ variable and summer time honoured).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace maps {

// Seconds since the epoch of an RFC 3339 date-time with an offset ("Z", "±hh:mm" or "±hhmm",
// fractional seconds allowed); none for a text without an offset or one that does not parse.
std::optional<std::int64_t> rfc3339_instant_s(std::string_view text);

// "HH:MM" of the instant in the machine's local time. A text without an offset, or one that
// does not parse, is cut as `iso_clock_text` cuts it.
std::string local_clock_text(std::string_view text);

}  // namespace maps
