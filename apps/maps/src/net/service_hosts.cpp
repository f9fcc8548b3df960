#include "net/service_hosts.hpp"

#include <string_view>

namespace maps {

std::string service_url(const std::string& host, const std::string& path_and_query) {
  std::string_view h = host;
  while (!h.empty() && h.back() == '/') h.remove_suffix(1);
  std::string out(h);
  out += path_and_query;
  return out;
}

}  // namespace maps
