#include "location/handle_token.hpp"

#include <random>

namespace maps {

std::string new_handle_token() {
  static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937 gen{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, sizeof(kAlphabet) - 2);
  std::string token = "maps_";
  for (int i = 0; i < 12; ++i) token += kAlphabet[pick(gen)];
  return token;
}

std::string request_path_for(const std::string& unique_name, const std::string& token) {
  std::string sender = unique_name;
  if (!sender.empty() && sender.front() == ':') sender.erase(0, 1);
  for (char& c : sender) {
    if (c == '.') c = '_';
  }
  return "/org/freedesktop/portal/desktop/request/" + sender + "/" + token;
}

}  // namespace maps
