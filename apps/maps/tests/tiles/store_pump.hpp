#pragma once
// Driving a tile store with a real worker from a test.

#include <fmt/format.h>

#include <chrono>
#include <string>
#include <thread>

#include "tiles/tile_store.hpp"

namespace maps::testing {

// Pumps until the condition holds; bounded, so a broken worker fails the test instead of hanging.
template <class Pred>
bool pump_until(TileStore& store, Pred done) {
  for (int i = 0; i < 2000; ++i) {
    pump_tile_results(store);
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

// The path the light style asks the tile server for.
inline std::string light_path(const TileKey& k) { return fmt::format("/light_nolabels/{}/{}/{}.png", k.z, k.x, k.y); }

}  // namespace maps::testing
