// Entry points of the readers: one value, white space around it, nothing else.
#include <exception>
#include <new>

#include "model/json_codec.hpp"
#include "model/json_read_rules.hpp"

namespace maps {

template <class T>
base::Result<T> deserialize_json(std::string_view text) {
  try {
    json::Reader r(text);
    T value{};
    if (!json::read_value(r, value) || !r.finish()) return base::err(r.error());
    return value;
  } catch (const std::bad_alloc&) {
    return base::err("out of memory while reading JSON");
  } catch (const std::exception& e) {
    return base::err(e.what());
  }
}

template base::Result<LatLon> deserialize_json<LatLon>(std::string_view);
template base::Result<Place> deserialize_json<Place>(std::string_view);
template base::Result<RouteStep> deserialize_json<RouteStep>(std::string_view);
template base::Result<Route> deserialize_json<Route>(std::string_view);
template base::Result<TransitLeg> deserialize_json<TransitLeg>(std::string_view);
template base::Result<TransitJourney> deserialize_json<TransitJourney>(std::string_view);
template base::Result<TransitTime> deserialize_json<TransitTime>(std::string_view);
template base::Result<DownloadedRegion> deserialize_json<DownloadedRegion>(std::string_view);
template base::Result<MapModel> deserialize_json<MapModel>(std::string_view);
template base::Result<ActivePlan> deserialize_json<ActivePlan>(std::string_view);
template base::Result<MapsAction> deserialize_json<MapsAction>(std::string_view);
template base::Result<Category> deserialize_json<Category>(std::string_view);
template base::Result<TravelMode> deserialize_json<TravelMode>(std::string_view);
template base::Result<Maneuver> deserialize_json<Maneuver>(std::string_view);
template base::Result<TransitMode> deserialize_json<TransitMode>(std::string_view);
template base::Result<TransitTimeMode> deserialize_json<TransitTimeMode>(std::string_view);
template base::Result<Panel> deserialize_json<Panel>(std::string_view);

base::Result<MapsAction> deserialize_maps_action_slice(std::span<const std::uint8_t> bytes) {
  return deserialize_json<MapsAction>(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

base::Result<MapsAction> deserialize_maps_action_slice(std::string_view bytes) {
  return deserialize_json<MapsAction>(bytes);
}

base::Result<ActivePlan> deserialize_active_plan_str(std::string_view text) {
  return deserialize_json<ActivePlan>(text);
}

base::Result<TransitTime> deserialize_transit_time_str(std::string_view text) {
  return deserialize_json<TransitTime>(text);
}

base::Result<MapModel> deserialize_map_model_str(std::string_view text) { return deserialize_json<MapModel>(text); }

}  // namespace maps
