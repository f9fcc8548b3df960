#pragma once
// Forgiving reads of an untyped reply: a missing key, a non-object, an index past the end or a
// value of the wrong kind all read as absent. Nothing here throws.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "model/records.hpp"

namespace maps::json_read {

using Json = nlohmann::json;

// The member `key` of an object, else a shared null.
const Json& member(const Json& value, std::string_view key);
// Element `index` of an array, else a shared null.
const Json& element(const Json& value, std::size_t index);

// The string itself when `value` is a JSON string.
std::optional<std::string> text(const Json& value);
// Any JSON number (integer or float) as a double.
std::optional<double> number(const Json& value);
// A JSON integer that fits a signed 64-bit value.
std::optional<std::int64_t> int64(const Json& value);
// A JSON integer that is not negative, kept to its low 32 bits.
std::optional<std::uint32_t> non_negative_u32(const Json& value);

// Text to double the way the services write coordinates: the whole text must be one
// decimal number (an optional leading "+" is allowed); non-finite values are refused.
std::optional<double> parse_f64(std::string_view text);

// A position read from a reply: both parts present and on the globe (latitude in [-90, 90],
// longitude in [-180, 180]). Anything else would put a place nowhere and poison every distance
// and projection made from it.
std::optional<LatLon> position(std::optional<double> lat, std::optional<double> lon);

// Splits at every `sep`, keeping empty parts.
std::vector<std::string_view> split(std::string_view text, char sep);

}  // namespace maps::json_read
