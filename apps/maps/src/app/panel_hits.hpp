#pragma once
// Press areas that the directions panel and the offline panel record while painting. Like
// `hit_targets`, they are emptied at the start of every draw and tested from the last to the first.

#include <cstdint>
#include <string>
#include <variant>

#include "zarn_ui/geometry.hpp"

namespace maps {

// One area of the route endpoint editor.
struct EndpointHit {
  enum Kind : std::uint8_t { kFieldBox = 0, kSuggestionRow = 1, kSwapButton = 2, kSuggestionCard = 3 };
  zarn_ui::Rect rect;
  std::uint8_t kind = kFieldBox;
  std::uint8_t field = 0;   // 0 origin, 1 destination
  std::uint64_t index = 0;  // suggestion row
  bool operator==(const EndpointHit&) const = default;
};

// What a press on the offline panel does.
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

struct OfflineHit {
  zarn_ui::Rect rect;
  OfflineCommand command;
  bool operator==(const OfflineHit&) const = default;
};

}  // namespace maps
