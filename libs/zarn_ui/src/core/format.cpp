#include "zarn_ui/format.hpp"

#include <glib.h>

namespace zarn_ui::format {

std::string bytes(std::uint64_t count) {
  gchar* text = g_format_size(count);
  std::string out = text != nullptr ? text : "";
  g_free(text);
  return out;
}

}  // namespace zarn_ui::format
