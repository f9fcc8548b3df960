#pragma once
// Human-readable quantities.

#include <cstdint>
#include <string>

namespace zarn_ui::format {

// A byte count in decimal units, as the desktop shows sizes: "17 bytes", "1.5\u00a0kB",
// "3.2\u00a0MB" (GLib puts a no-break space between number and unit).
std::string bytes(std::uint64_t count);

}  // namespace zarn_ui::format
