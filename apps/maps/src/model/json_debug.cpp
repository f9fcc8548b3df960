// The debugging form of an action: records as `Name { field: value, ... }`, texts quoted,
// lists in brackets, optional values as `Some(...)` or `None`, enumerations by name.
#include <type_traits>

#include "model/json_codec.hpp"
#include "model/json_text.hpp"

namespace maps {

namespace {

struct Debug {
  std::string& o;

  void value(double v) { json::append_debug_f64(o, v); }
  void value(bool v) { o += v ? "true" : "false"; }
  void value(std::uint8_t v) { o += std::to_string(v); }
  void value(std::uint32_t v) { o += std::to_string(v); }
  void value(std::int32_t v) { o += std::to_string(v); }
  void value(const std::string& v) { json::append_quoted(o, v); }
  template <class E, std::enable_if_t<std::is_enum_v<E>, int> = 0>
  void value(E v) {
    o += enum_name(v);
  }
  template <class T>
  void value(const std::optional<T>& v) {
    if (!v) {
      o += "None";
      return;
    }
    o += "Some(";
    value(*v);
    o += ')';
  }
  template <class T>
  void value(const std::vector<T>& v) {
    o += '[';
    for (std::size_t i = 0; i < v.size(); ++i) {
      if (i) o += ", ";
      value(v[i]);
    }
    o += ']';
  }

  // Writes `Name { a: .., b: .. }`: open(name), then field() for each member, then close().
  void open(std::string_view name) {
    o += name;
    o += " { ";
  }
  template <class T>
  void field(std::string_view name, const T& v, bool last = false) {
    o += name;
    o += ": ";
    value(v);
    o += last ? " }" : ", ";
  }

  void value(const LatLon& v) {
    open("LatLon");
    field("lat", v.lat);
    field("lon", v.lon, true);
  }
  void value(const Place& v) {
    open("Place");
    field("id", v.id);
    field("name", v.name);
    field("category", v.category);
    field("address", v.address);
    field("pos", v.pos);
    field("saved", v.saved, true);
  }
  void value(const RouteStep& v) {
    open("RouteStep");
    field("instruction", v.instruction);
    field("distance_m", v.distance_m);
    field("maneuver", v.maneuver, true);
  }
  void value(const Route& v) {
    open("Route");
    field("mode", v.mode);
    field("distance_m", v.distance_m);
    field("duration_s", v.duration_s);
    field("geometry", v.geometry);
    field("steps", v.steps);
    field("from", v.from);
    field("to", v.to, true);
  }
  void value(const TransitLeg& v) {
    open("TransitLeg");
    field("mode", v.mode);
    field("line", v.line);
    field("headsign", v.headsign);
    field("from_name", v.from_name);
    field("to_name", v.to_name);
    field("dep", v.dep);
    field("arr", v.arr);
    field("duration_min", v.duration_min);
    field("num_stops", v.num_stops);
    field("geometry", v.geometry);
    field("color", v.color);
    field("text_color", v.text_color);
    field("agency", v.agency);
    field("realtime", v.realtime, true);
  }
  void value(const TransitJourney& v) {
    open("TransitJourney");
    field("dep", v.dep);
    field("arr", v.arr);
    field("duration_min", v.duration_min);
    field("transfers", v.transfers);
    field("legs", v.legs, true);
  }
  void value(const TransitTime& v) {
    open("TransitTime");
    field("mode", v.mode);
    field("offset_min", v.offset_min, true);
  }
  void value(const DownloadedRegion& v) {
    open("DownloadedRegion");
    field("id", v.id);
    field("name", v.name);
    field("min", v.min);
    field("max", v.max);
    field("z0", v.z0);
    field("z1", v.z1);
    field("tiles", v.tiles, true);
  }

  void operator()(const MapsAction::UpsertPlaces& a) {
    open("UpsertPlaces");
    field("places", a.places, true);
  }
  void operator()(const MapsAction::SetPlaceSaved& a) {
    open("SetPlaceSaved");
    field("id", a.id);
    field("saved", a.saved, true);
  }
  void operator()(const MapsAction::CommitSearch& a) {
    open("CommitSearch");
    field("query", a.query, true);
  }
  void operator()(const MapsAction::ClearRecents&) { o += "ClearRecents"; }
  void operator()(const MapsAction::SetTravelMode& a) {
    open("SetTravelMode");
    field("mode", a.mode, true);
  }
  void operator()(const MapsAction::SetTransitTime& a) {
    open("SetTransitTime");
    field("value", a.value, true);
  }
  void operator()(const MapsAction::ClearRoute&) { o += "ClearRoute"; }
  void operator()(const MapsAction::SetRoute& a) {
    open("SetRoute");
    field("route", a.route);
    field("origin", a.origin);
    field("origin_name", a.origin_name);
    field("dest", a.dest);
    field("dest_name", a.dest_name);
    field("mode", a.mode, true);
  }
  void operator()(const MapsAction::SetTransit& a) {
    open("SetTransit");
    field("transit", a.transit);
    field("origin", a.origin);
    field("origin_name", a.origin_name);
    field("dest", a.dest);
    field("dest_name", a.dest_name, true);
  }
  void operator()(const MapsAction::ClearTransit&) { o += "ClearTransit"; }
  void operator()(const MapsAction::AddRegion& a) {
    o += "AddRegion(";
    value(a.region);
    o += ')';
  }
  void operator()(const MapsAction::DeleteRegion& a) {
    open("DeleteRegion");
    field("id", a.id, true);
  }
  void operator()(const MapsAction::ClearRegions&) { o += "ClearRegions"; }
};

}  // namespace

std::string maps_action_debug_text(const MapsAction& action) {
  std::string out;
  std::visit(Debug{out}, action.value);
  return out;
}

}  // namespace maps
