#pragma once
// Reply values for the service-parser fuzz targets. Half the inputs are parsed as JSON text;
// the other half drive a generator that builds values from the keys the parser reads, so the
// fuzzer reaches deep members without first having to invent valid JSON.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "net/http_client.hpp"

namespace maps::fuzzing {

inline nlohmann::json generate(FuzzedDataProvider& in, const std::vector<std::string>& words, int depth) {
  const int kind = in.ConsumeIntegralInRange<int>(0, depth >= 5 ? 5 : 7);
  switch (kind) {
    case 0: return nullptr;
    case 1: return in.ConsumeBool();
    case 2: return in.ConsumeIntegral<std::int64_t>();
    case 3: return in.ConsumeFloatingPoint<double>();
    case 4: return words.empty() ? std::string() : words[in.ConsumeIntegralInRange<std::size_t>(0, words.size() - 1)];
    case 5: return in.ConsumeRandomLengthString(24);
    case 6: {
      nlohmann::json arr = nlohmann::json::array();
      const int n = in.ConsumeIntegralInRange<int>(0, 4);
      for (int i = 0; i < n; ++i) arr.push_back(generate(in, words, depth + 1));
      return arr;
    }
    default: {
      nlohmann::json obj = nlohmann::json::object();
      const int n = in.ConsumeIntegralInRange<int>(0, 6);
      for (int i = 0; i < n && !words.empty(); ++i) {
        obj[words[in.ConsumeIntegralInRange<std::size_t>(0, words.size() - 1)]] = generate(in, words, depth + 1);
      }
      return obj;
    }
  }
}

// The reply value for one input, or nothing when the text is not JSON.
inline std::optional<nlohmann::json> reply_value(const std::uint8_t* data, std::size_t size,
                                                 std::initializer_list<const char*> words) {
  if (size == 0) return std::nullopt;
  if ((data[0] & 1) == 0) {
    auto parsed = parse_json_body(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    if (!parsed) return std::nullopt;
    return std::move(*parsed);
  }
  FuzzedDataProvider in(data + 1, size - 1);
  return generate(in, std::vector<std::string>(words.begin(), words.end()), 0);
}

}  // namespace maps::fuzzing
