#pragma once
// Removing the tile folder of a test's store: the store's worker ends on its own once the store
// is gone, and until then it may still be writing a tile into the folder.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <system_error>

#include "net/curl_library.hpp"

namespace maps::testing {

inline void remove_tile_root(const std::filesystem::path& root) {
  EXPECT_TRUE(wait_for_curl_users(std::chrono::seconds(10))) << "a tile worker did not end";
  std::error_code ec;
  std::filesystem::remove_all(root, ec);
  EXPECT_FALSE(ec) << ec.message();
}

}  // namespace maps::testing
