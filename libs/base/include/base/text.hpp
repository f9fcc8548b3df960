#pragma once
// Small text helpers shared by the services, the document and the interface.

#include <string>
#include <string_view>

namespace base {

// The text without leading and trailing Unicode White_Space (UTF-8). Bytes that are not valid
// UTF-8 are never taken for space.
std::string_view trim_white_space(std::string_view text);

// The text with the ASCII letters A to Z lowered; every other byte as it is.
std::string ascii_lower(std::string_view text);

}  // namespace base
