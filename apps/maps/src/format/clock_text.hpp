#pragma once
// The wall-clock time of an instant, as journeys and departure times show it.

#include <cstdint>
#include <string>

namespace maps {

// "%H:%M" of the instant `unix_ms` at the offset `utc_offset_s` east of UTC (the offset in
// force at that instant); no time-zone database or locale is consulted.
std::string clock_text(std::int64_t unix_ms, std::int32_t utc_offset_s);

}  // namespace maps
