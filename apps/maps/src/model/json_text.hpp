#pragma once
// Text pieces shared by the JSON writer, the reader's messages and the diagnostic text:
// UTF-8 checks, the three float layouts and the quoted-string form used in messages.

#include <cstddef>
#include <string>
#include <string_view>

#include "base/utf8.hpp"

namespace maps::json {

using base::utf8_sequence_length;

// Shortest round-trip form with JSON number layout: "1.0", "0.001", "1e20", "1.5e-7".
// The value must be finite.
void append_json_f64(std::string& out, double v);

// Plain decimal layout without exponent, with ".0" added when integral ("60.0", "100000000000000000000.0").
void append_decimal_f64(std::string& out, double v);

// Diagnostic layout: decimal with at least one fraction digit, exponent form below 1e-4 and from 1e16,
// "NaN", "inf", "-inf".
void append_debug_f64(std::string& out, double v);

// The text in double quotes with backslash escapes for quotes, backslashes and control characters.
void append_quoted(std::string& out, std::string_view s);

}  // namespace maps::json
