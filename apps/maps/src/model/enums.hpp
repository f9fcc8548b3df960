#pragma once
// The model's enumerations, numbered from 0 in the order listed, with their variant names
// (the names the JSON form uses; the document's lower-case keys live with the document code).

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace maps {

enum class Category : std::uint8_t {
  Landmark,
  Cafe,
  Restaurant,
  Bar,
  Museum,
  Park,
  Transit,
  Hotel,
  Shop,
  Hospital,
  Other
};
enum class TravelMode : std::uint8_t { Car, Transit, Bike, Foot };
enum class Maneuver : std::uint8_t {
  Depart,
  Continue,
  SlightLeft,
  Left,
  SharpLeft,
  SlightRight,
  Right,
  SharpRight,
  Uturn,
  Roundabout,
  Merge,
  Arrive
};
enum class TransitMode : std::uint8_t { Walk, Bus, Tram, Subway, Rail, Ferry };
enum class TransitTimeMode : std::uint8_t { Depart, Arrive };
enum class Panel : std::uint8_t { Explore, Directions };

inline constexpr std::array<std::string_view, 11> kCategoryNames = {
    "Landmark", "Cafe", "Restaurant", "Bar", "Museum", "Park", "Transit", "Hotel", "Shop", "Hospital", "Other"};
inline constexpr std::array<std::string_view, 4> kTravelModeNames = {"Car", "Transit", "Bike", "Foot"};
inline constexpr std::array<std::string_view, 12> kManeuverNames = {
    "Depart", "Continue",   "SlightLeft", "Left",       "SharpLeft", "SlightRight",
    "Right",  "SharpRight", "Uturn",      "Roundabout", "Merge",     "Arrive"};
inline constexpr std::array<std::string_view, 6> kTransitModeNames = {"Walk", "Bus", "Tram", "Subway", "Rail", "Ferry"};
inline constexpr std::array<std::string_view, 2> kTransitTimeModeNames = {"Depart", "Arrive"};
inline constexpr std::array<std::string_view, 2> kPanelNames = {"Explore", "Directions"};

// The ids that name a travel mode to the desktop's action and accessibility tooling
// ("maps.mode:drive", "travel-mode-drive"); they stay as they are when a label changes.
inline constexpr std::array<std::string_view, 4> kTravelModeIds = {"drive", "transit", "cycle", "walk"};

template <class E>
struct EnumNames;
template <>
struct EnumNames<Category> {
  static constexpr const auto& names = kCategoryNames;
};
template <>
struct EnumNames<TravelMode> {
  static constexpr const auto& names = kTravelModeNames;
};
template <>
struct EnumNames<Maneuver> {
  static constexpr const auto& names = kManeuverNames;
};
template <>
struct EnumNames<TransitMode> {
  static constexpr const auto& names = kTransitModeNames;
};
template <>
struct EnumNames<TransitTimeMode> {
  static constexpr const auto& names = kTransitTimeModeNames;
};
template <>
struct EnumNames<Panel> {
  static constexpr const auto& names = kPanelNames;
};

template <class E>
constexpr std::size_t enum_count() {
  return EnumNames<E>::names.size();
}

template <class E>
constexpr std::size_t enum_index(E e) {
  return static_cast<std::size_t>(e);
}

template <class E>
constexpr std::string_view enum_name(E e) {
  const auto i = enum_index(e);
  return i < enum_count<E>() ? EnumNames<E>::names[i] : std::string_view{};
}

// The mode's id; empty for a value outside the enumeration.
constexpr std::string_view travel_mode_id(TravelMode mode) {
  const auto i = static_cast<std::size_t>(mode);
  return i < kTravelModeIds.size() ? kTravelModeIds[i] : std::string_view{};
}

template <class E>
constexpr std::optional<E> enum_from_name(std::string_view name) {
  for (std::size_t i = 0; i < enum_count<E>(); ++i) {
    if (EnumNames<E>::names[i] == name) return static_cast<E>(i);
  }
  return std::nullopt;
}

}  // namespace maps
