#pragma once
// What a press on the offline maps panel does, and where the panel's painter recorded it.

#include <cstdint>
#include <string>
#include <variant>

#include "zarn_ui/geometry.hpp"

namespace maps {

struct OfflineCommand {
  struct Close {
    bool operator==(const Close&) const = default;
  };
  struct Zoom {
    std::int8_t delta = 0;
    bool operator==(const Zoom&) const = default;
  };
  struct Download {
    bool operator==(const Download&) const = default;
  };
  struct DeleteRegion {
    std::string id;
    bool operator==(const DeleteRegion&) const = default;
  };
  struct ClearCache {
    bool operator==(const ClearCache&) const = default;
  };
  struct FocusSearch {
    bool operator==(const FocusSearch&) const = default;
  };
  std::variant<Close, Zoom, Download, DeleteRegion, ClearCache, FocusSearch> value;
  bool operator==(const OfflineCommand&) const = default;
};

// Emptied at the start of every draw and tested from the last to the first.
struct OfflineHit {
  zarn_ui::Rect rect;
  OfflineCommand command;
  bool operator==(const OfflineHit&) const = default;
};

}  // namespace maps
