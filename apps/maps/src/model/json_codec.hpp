#pragma once
// The JSON form of the model records, plans and actions. Writers append compact JSON (members in
// field order, shortest round-trip numbers, non-finite numbers as null) and cannot fail. Readers
// take exactly one JSON value, strictly: duplicate members, missing required members, integers out
// of range or with a fraction, and anything but white space after the value are refused; unknown
// members are skipped. They never throw.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "base/result.hpp"
#include "model/records.hpp"

namespace maps {

// The action payload.
void serialize_maps_action_json(const MapsAction& action, std::string& out);
void serialize_maps_action_json(const MapsAction& action, std::vector<std::uint8_t>& out);
// The same shape as an in-memory value: a string for a variant without fields, else an object
// with the one member named after the variant.
nlohmann::json serialize_maps_action_value(const MapsAction& action);
// Refuses invalid UTF-8 inside strings.
base::Result<MapsAction> deserialize_maps_action_slice(std::span<const std::uint8_t> bytes);
base::Result<MapsAction> deserialize_maps_action_slice(std::string_view bytes);

void serialize_active_plan_json(const ActivePlan& plan, std::string& out);
void serialize_active_plan_json(const ActivePlan& plan, std::vector<std::uint8_t>& out);
base::Result<ActivePlan> deserialize_active_plan_str(std::string_view text);

void serialize_transit_time_json(const TransitTime& time, std::string& out);
void serialize_transit_time_json(const TransitTime& time, std::vector<std::uint8_t>& out);
base::Result<TransitTime> deserialize_transit_time_str(std::string_view text);

// The older whole-model entry; nothing writes a model as JSON.
base::Result<MapModel> deserialize_map_model_str(std::string_view text);

// Every record and enumeration on its own.
void serialize_json(const LatLon& v, std::string& out);
void serialize_json(const Place& v, std::string& out);
void serialize_json(const RouteStep& v, std::string& out);
void serialize_json(const Route& v, std::string& out);
void serialize_json(const TransitLeg& v, std::string& out);
void serialize_json(const TransitJourney& v, std::string& out);
void serialize_json(const TransitTime& v, std::string& out);
void serialize_json(const DownloadedRegion& v, std::string& out);
void serialize_json(const ActivePlan& v, std::string& out);
void serialize_json(const MapsAction& v, std::string& out);
void serialize_json(Category v, std::string& out);
void serialize_json(TravelMode v, std::string& out);
void serialize_json(Maneuver v, std::string& out);
void serialize_json(TransitMode v, std::string& out);
void serialize_json(TransitTimeMode v, std::string& out);

// Defined for the records above, MapModel, and every enumeration including Panel.
template <class T>
base::Result<T> deserialize_json(std::string_view text);

// The debugging form of an action: `SetPlaceSaved { id: "cafe", saved: true }`, `ClearRoute`,
// `AddRegion(DownloadedRegion { ... })`.
std::string maps_action_debug_text(const MapsAction& action);

}  // namespace maps
