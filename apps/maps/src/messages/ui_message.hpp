#pragma once
// The commands input handling and the action surface hand to the state.

#include <cstdint>
#include <string>
#include <variant>

#include "messages/offline_command.hpp"
#include "model/records.hpp"
#include "zarn_ui/geometry.hpp"

namespace maps {

struct SearchBoxEvent {
  struct Opened {
    bool operator==(const Opened&) const = default;
  };
  struct Cleared {
    bool operator==(const Cleared&) const = default;
  };
  struct SuggestionChosen {
    std::uint64_t index = 0;
    bool operator==(const SuggestionChosen&) const = default;
  };
  struct Other {
    bool operator==(const Other&) const = default;
  };
  std::variant<Opened, Cleared, SuggestionChosen, Other> value;
  bool operator==(const SearchBoxEvent&) const = default;
};

namespace msg {
#define MAPS_UNIT_MESSAGE(Name)                   \
  struct Name {                                   \
    bool operator==(const Name&) const = default; \
  }
MAPS_UNIT_MESSAGE(Noop);
struct SearchBox {
  SearchBoxEvent event;
  bool operator==(const SearchBox&) const = default;
};
MAPS_UNIT_MESSAGE(TogglePanelCollapsed);
MAPS_UNIT_MESSAGE(BackToPlaces);
struct ChooseTravelMode {
  TravelMode mode = TravelMode::Car;
  bool operator==(const ChooseTravelMode&) const = default;
};
struct OpenPlace {
  std::string id;
  bool operator==(const OpenPlace&) const = default;
};
struct OpenPoi {
  std::string id;
  bool operator==(const OpenPoi&) const = default;
};
MAPS_UNIT_MESSAGE(ClosePoi);
MAPS_UNIT_MESSAGE(DirectionsToPoi);
struct SearchAgain {
  std::string text;
  bool operator==(const SearchAgain&) const = default;
};
MAPS_UNIT_MESSAGE(ClearRecents);
MAPS_UNIT_MESSAGE(ToggleNavigation);
MAPS_UNIT_MESSAGE(CloseNavigation);
MAPS_UNIT_MESSAGE(Directions);
MAPS_UNIT_MESSAGE(TransitDirections);
MAPS_UNIT_MESSAGE(ToggleSaved);
MAPS_UNIT_MESSAGE(ClearRoute);
MAPS_UNIT_MESSAGE(UseMyLocation);
struct SetTransitTimeMode {
  TransitTimeMode mode = TransitTimeMode::Depart;
  bool operator==(const SetTransitTimeMode&) const = default;
};
struct ShiftTransitTime {
  std::int32_t minutes = 0;
  bool operator==(const ShiftTransitTime&) const = default;
};
MAPS_UNIT_MESSAGE(LeaveNow);
struct ChooseJourney {
  std::uint64_t index = 0;
  bool operator==(const ChooseJourney&) const = default;
};
MAPS_UNIT_MESSAGE(ToggleOverflowMenu);
MAPS_UNIT_MESSAGE(OpenAttribution);
// The overflow menu's entries; the composition root opens what they name.
MAPS_UNIT_MESSAGE(OpenLicenses);
MAPS_UNIT_MESSAGE(OpenOfflineMaps);
MAPS_UNIT_MESSAGE(FloatNavigation);
// The offline panel's: a press on one of its areas, and the area search its typing pause asks for.
struct Offline {
  OfflineCommand command;
  bool operator==(const Offline&) const = default;
};
struct AskAreaSearch {
  std::string query;
  bool operator==(const AskAreaSearch&) const = default;
};
#undef MAPS_UNIT_MESSAGE
}  // namespace msg

// Kinds 0 to 28, in the order of the variant.
struct UiMessage {
  std::variant<msg::Noop, msg::SearchBox, msg::TogglePanelCollapsed, msg::BackToPlaces, msg::ChooseTravelMode,
               msg::OpenPlace, msg::OpenPoi, msg::ClosePoi, msg::DirectionsToPoi, msg::SearchAgain, msg::ClearRecents,
               msg::ToggleNavigation, msg::CloseNavigation, msg::Directions, msg::TransitDirections, msg::ToggleSaved,
               msg::ClearRoute, msg::UseMyLocation, msg::SetTransitTimeMode, msg::ShiftTransitTime, msg::LeaveNow,
               msg::ChooseJourney, msg::ToggleOverflowMenu, msg::OpenAttribution, msg::OpenLicenses,
               msg::OpenOfflineMaps, msg::FloatNavigation, msg::Offline, msg::AskAreaSearch>
      value;
  bool operator==(const UiMessage&) const = default;
  std::uint8_t kind() const { return static_cast<std::uint8_t>(value.index()); }
};

// A clickable area a painter recorded during the last draw.
struct HitTarget {
  zarn_ui::Rect rect;
  UiMessage message;
  bool operator==(const HitTarget&) const = default;
};

}  // namespace maps
