#include "automerge/types.hpp"

#include <fmt/format.h>
#include <sys/random.h>

#include <random>

namespace automerge {
namespace {

std::string hex(const std::uint8_t* data, std::size_t n) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(n * 2);
  for (std::size_t i = 0; i < n; ++i) {
    out.push_back(kDigits[data[i] >> 4]);
    out.push_back(kDigits[data[i] & 0xf]);
  }
  return out;
}

}  // namespace

ActorId ActorId::random() {
  Bytes b(16);
  if (::getrandom(b.data(), b.size(), 0) != static_cast<ssize_t>(b.size())) {
    // No answer from the kernel's source: fall back to the library's rather than fail.
    std::random_device rd;
    for (auto& x : b) x = static_cast<std::uint8_t>(rd());
  }
  return ActorId(std::move(b));
}

std::string ActorId::to_hex() const { return hex(to_bytes().data(), to_bytes().size()); }

std::string ChangeHash::to_hex() const { return hex(bytes.data(), bytes.size()); }

std::string ExId::to_string() const {
  if (is_root()) return "_root";
  return fmt::format("{}@{}", counter, actor.to_hex());
}

std::optional<std::int64_t> ScalarValue::as_counter() const {
  if (const auto* c = std::get_if<Counter>(&v_)) return c->value;
  return std::nullopt;
}

std::optional<std::int64_t> ScalarValue::as_timestamp() const {
  if (const auto* t = std::get_if<Timestamp>(&v_)) return t->value;
  return std::nullopt;
}

}  // namespace automerge
