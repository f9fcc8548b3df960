#pragma once
// The plain records the application holds everything in. Data only: defaulted equality,
// deep copies by value, no references between records (relations are ids).

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "model/enums.hpp"

namespace maps {

struct LatLon {
  double lat = 0.0;
  double lon = 0.0;
  bool operator==(const LatLon&) const = default;
};

struct Place {
  std::string id;
  std::string name;
  Category category = Category::Other;
  std::string address;
  LatLon pos;
  bool saved = false;
  bool operator==(const Place&) const = default;
};

struct RouteStep {
  std::string instruction;
  double distance_m = 0.0;
  Maneuver maneuver = Maneuver::Depart;
  bool operator==(const RouteStep&) const = default;
};

struct Route {
  TravelMode mode = TravelMode::Car;
  double distance_m = 0.0;
  double duration_s = 0.0;
  std::vector<LatLon> geometry;
  std::vector<RouteStep> steps;
  LatLon from;
  LatLon to;
  bool operator==(const Route&) const = default;
};

struct TransitLeg {
  TransitMode mode = TransitMode::Walk;
  std::string line;
  std::string headsign;
  std::string from_name;
  std::string to_name;
  std::string dep;
  std::string arr;
  std::uint32_t duration_min = 0;
  std::uint32_t num_stops = 0;
  std::vector<LatLon> geometry;
  std::optional<std::string> color;
  std::optional<std::string> text_color;
  std::string agency;
  bool realtime = false;
  bool operator==(const TransitLeg&) const = default;
};

struct TransitJourney {
  std::string dep;
  std::string arr;
  std::uint32_t duration_min = 0;
  std::uint32_t transfers = 0;
  std::vector<TransitLeg> legs;
  bool operator==(const TransitJourney&) const = default;
};

struct TransitTime {
  TransitTimeMode mode = TransitTimeMode::Depart;
  std::int32_t offset_min = 0;
  bool operator==(const TransitTime&) const = default;
};

struct DownloadedRegion {
  std::string id;
  std::string name;
  LatLon min;
  LatLon max;
  std::uint8_t z0 = 0;
  std::uint8_t z1 = 0;
  std::uint32_t tiles = 0;
  bool operator==(const DownloadedRegion&) const = default;
};

// The model record: 21 fields in this order.
struct MapModel {
  std::vector<Place> places;
  std::vector<std::string> recents;
  std::optional<std::string> selected;
  std::optional<Route> route;
  std::vector<TransitJourney> transit;
  std::uint64_t transit_choice = 0;
  Panel panel = Panel::Explore;
  TravelMode mode = TravelMode::Car;
  std::string query;
  std::string origin_query;
  std::string dest_query;
  TransitTime transit_time;
  std::vector<Place> results;
  std::optional<LatLon> origin;
  std::string origin_name = "Map centre";
  std::optional<LatLon> dest;
  std::string dest_name;
  LatLon center{48.1371, 11.5754};
  double zoom = 14.4;
  std::string status;
  std::vector<DownloadedRegion> regions;
  bool operator==(const MapModel&) const = default;
};

// A fresh default model: centred on 48.1371, 11.5754 at zoom 14.4, origin name "Map centre".
inline MapModel default_map_model() { return MapModel{}; }

// The plan the document keeps as JSON text under "route_plan" and "transit_plan".
struct ActivePlan {
  struct None {
    bool operator==(const None&) const = default;
  };
  struct Route {
    maps::Route route;
    std::optional<LatLon> origin;
    std::string origin_name;
    std::optional<LatLon> dest;
    std::string dest_name;
    TravelMode mode = TravelMode::Car;
    bool operator==(const Route&) const = default;
  };
  struct Transit {
    std::vector<TransitJourney> transit;
    std::optional<LatLon> origin;
    std::string origin_name;
    std::optional<LatLon> dest;
    std::string dest_name;
    bool operator==(const Transit&) const = default;
  };
  using Variant = std::variant<None, Route, Transit>;
  Variant value;
  bool operator==(const ActivePlan&) const = default;
};

// One lasting change of the model; the variant index is the action's number.
struct MapsAction {
  struct UpsertPlaces {
    std::vector<Place> places;
    bool operator==(const UpsertPlaces&) const = default;
  };
  struct SetPlaceSaved {
    std::string id;
    bool saved = false;
    bool operator==(const SetPlaceSaved&) const = default;
  };
  struct CommitSearch {
    std::string query;
    bool operator==(const CommitSearch&) const = default;
  };
  struct ClearRecents {
    bool operator==(const ClearRecents&) const = default;
  };
  struct SetTravelMode {
    TravelMode mode = TravelMode::Car;
    bool operator==(const SetTravelMode&) const = default;
  };
  struct SetTransitTime {
    TransitTime value;
    bool operator==(const SetTransitTime&) const = default;
  };
  struct ClearRoute {
    bool operator==(const ClearRoute&) const = default;
  };
  struct SetRoute {
    maps::Route route;
    std::optional<LatLon> origin;
    std::string origin_name;
    std::optional<LatLon> dest;
    std::string dest_name;
    TravelMode mode = TravelMode::Car;
    bool operator==(const SetRoute&) const = default;
  };
  struct SetTransit {
    std::vector<TransitJourney> transit;
    std::optional<LatLon> origin;
    std::string origin_name;
    std::optional<LatLon> dest;
    std::string dest_name;
    bool operator==(const SetTransit&) const = default;
  };
  struct ClearTransit {
    bool operator==(const ClearTransit&) const = default;
  };
  struct AddRegion {
    DownloadedRegion region;
    bool operator==(const AddRegion&) const = default;
  };
  struct DeleteRegion {
    std::string id;
    bool operator==(const DeleteRegion&) const = default;
  };
  struct ClearRegions {
    bool operator==(const ClearRegions&) const = default;
  };
  using Variant = std::variant<UpsertPlaces, SetPlaceSaved, CommitSearch, ClearRecents, SetTravelMode, SetTransitTime,
                               ClearRoute, SetRoute, SetTransit, ClearTransit, AddRegion, DeleteRegion, ClearRegions>;
  Variant value;
  bool operator==(const MapsAction&) const = default;
};

inline constexpr std::array<std::string_view, 13> kMapsActionNames = {
    "UpsertPlaces", "SetPlaceSaved", "CommitSearch", "ClearRecents", "SetTravelMode", "SetTransitTime", "ClearRoute",
    "SetRoute",     "SetTransit",    "ClearTransit", "AddRegion",    "DeleteRegion",  "ClearRegions"};
inline constexpr std::array<std::string_view, 3> kActivePlanNames = {"None", "Route", "Transit"};

inline std::string_view action_name(const MapsAction& a) { return kMapsActionNames[a.value.index()]; }

// A point of interest of the current view or of the sample data; never persisted or encoded.
struct Poi {
  std::string id;
  std::string name;
  std::string address;
  std::optional<std::string> opening_hours;
  std::optional<std::string> website;
  std::optional<std::string> phone;
  std::optional<std::string> kind;
  LatLon pos;
  Category category = Category::Other;
  bool operator==(const Poi&) const = default;
};

// One answer of the area search: a named place with the bounding box the offline panel downloads.
struct AreaCandidate {
  std::string name;
  std::string label;
  LatLon pos;
  LatLon min;
  LatLon max;
  bool operator==(const AreaCandidate&) const = default;
};

}  // namespace maps
