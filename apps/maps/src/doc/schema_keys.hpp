#pragma once
// The document's own texts: key names under "maps_v2" and the lower-case key texts of the
// enumerations. These are a file format; a stored document outlives the program that wrote it.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "model/enums.hpp"

namespace maps::doc {

inline constexpr std::string_view kRootKey = "maps_v2";
inline constexpr std::string_view kOlderRootKey = "maps";

inline constexpr std::string_view kPlaces = "places";
inline constexpr std::string_view kRecents = "recents";
inline constexpr std::string_view kRegions = "regions";
inline constexpr std::string_view kRoute = "route";
inline constexpr std::string_view kTransit = "transit";
inline constexpr std::string_view kMode = "mode";
inline constexpr std::string_view kOrigin = "origin";
inline constexpr std::string_view kOriginName = "origin_name";
inline constexpr std::string_view kDest = "dest";
inline constexpr std::string_view kDestName = "dest_name";
inline constexpr std::string_view kTransitTimeMode = "transit_time_mode";
inline constexpr std::string_view kTransitTimeOffset = "transit_time_offset";
inline constexpr std::string_view kTransitTime = "transit_time";
inline constexpr std::string_view kRoutePlan = "route_plan";
inline constexpr std::string_view kTransitPlan = "transit_plan";
inline constexpr std::string_view kRouteDeleted = "route_deleted";
inline constexpr std::string_view kTransitDeleted = "transit_deleted";
inline constexpr std::string_view kDeleted = "deleted";

inline constexpr std::array<std::string_view, 4> kTravelModeKeys = {"car", "transit", "bike", "foot"};
inline constexpr std::array<std::string_view, 11> kCategoryKeys = {
    "landmark", "cafe", "restaurant", "bar", "museum", "park", "transit", "hotel", "shop", "hospital", "other"};
inline constexpr std::array<std::string_view, 12> kManeuverKeys = {
    "depart", "continue",    "slight_left", "left",       "sharp_left", "slight_right",
    "right",  "sharp_right", "uturn",       "roundabout", "merge",      "arrive"};
inline constexpr std::array<std::string_view, 6> kTransitModeKeys = {"walk", "bus", "tram", "subway", "rail", "ferry"};
inline constexpr std::array<std::string_view, 2> kTransitTimeModeKeys = {"depart", "arrive"};

template <class E>
struct DocKeys;
template <>
struct DocKeys<TravelMode> {
  static constexpr const auto& keys = kTravelModeKeys;
};
template <>
struct DocKeys<Category> {
  static constexpr const auto& keys = kCategoryKeys;
};
template <>
struct DocKeys<Maneuver> {
  static constexpr const auto& keys = kManeuverKeys;
};
template <>
struct DocKeys<TransitMode> {
  static constexpr const auto& keys = kTransitModeKeys;
};
template <>
struct DocKeys<TransitTimeMode> {
  static constexpr const auto& keys = kTransitTimeModeKeys;
};

// The key text of a variant; empty for a value outside the enumeration.
template <class E>
constexpr std::string_view doc_key(E e) {
  const auto i = static_cast<std::size_t>(e);
  return i < DocKeys<E>::keys.size() ? DocKeys<E>::keys[i] : std::string_view{};
}

// Exact, case-sensitive: "Car" is not a key text.
template <class E>
constexpr std::optional<E> parse_doc_key(std::string_view text) {
  for (std::size_t i = 0; i < DocKeys<E>::keys.size(); ++i) {
    if (DocKeys<E>::keys[i] == text) return static_cast<E>(i);
  }
  return std::nullopt;
}

constexpr std::string_view travel_mode_key(TravelMode mode) { return doc_key(mode); }
constexpr std::optional<TravelMode> parse_travel_mode(std::string_view text) { return parse_doc_key<TravelMode>(text); }

// Each byte as two lower-case hex digits, no separator.
std::string hex_encode_bytes(std::string_view bytes);

// The record key of a recent search: the trimmed, fully lower-cased text as hex of its UTF-8
// bytes, so "  Museum " and "museum" share one record.
std::string recent_search_key(std::string_view text);

}  // namespace maps::doc
