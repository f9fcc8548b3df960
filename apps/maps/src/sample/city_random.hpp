#pragma once
// The small generator behind the demonstration city. The sequence is part of the city's
// definition: change nothing here, or every run's map changes.

#include <cstdint>

namespace maps {

inline constexpr std::uint64_t kCitySeed = 0x51ed2026c0ffee01ULL;

class CityRandom {
 public:
  explicit CityRandom(std::uint64_t seed = kCitySeed) : state_(seed) {}

  // Advances the state, then yields its top 53 bits as a double in [0, 1).
  double next_unit() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state_ >> 11) / 9007199254740992.0;  // 2^53
  }

  std::uint64_t state() const { return state_; }

 private:
  std::uint64_t state_;
};

}  // namespace maps
