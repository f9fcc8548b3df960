// Record, plan and action writers: every member, in field order, no white space.
#include <type_traits>

#include "model/json_codec.hpp"
#include "model/json_write.hpp"

namespace maps {

namespace {

using json::write_bool;
using json::write_enum;
using json::write_f64;
using json::write_int;
using json::write_string;
using json::write_uint;

void put(std::string& o, double v) { write_f64(o, v); }
void put(std::string& o, bool v) { write_bool(o, v); }
void put(std::string& o, std::uint8_t v) { write_uint(o, v); }
void put(std::string& o, std::uint32_t v) { write_uint(o, v); }
void put(std::string& o, std::int32_t v) { write_int(o, v); }
void put(std::string& o, const std::string& v) { write_string(o, v); }
template <class E, std::enable_if_t<std::is_enum_v<E>, int> = 0>
void put(std::string& o, E v) {
  write_enum(o, v);
}
void put(std::string& o, const LatLon& v);
void put(std::string& o, const Place& v);
void put(std::string& o, const RouteStep& v);
void put(std::string& o, const Route& v);
void put(std::string& o, const TransitLeg& v);
void put(std::string& o, const TransitJourney& v);
void put(std::string& o, const TransitTime& v);
void put(std::string& o, const DownloadedRegion& v);

template <class T>
void put(std::string& o, const std::optional<T>& v) {
  if (v) {
    put(o, *v);
  } else {
    o += "null";
  }
}

template <class T>
void put(std::string& o, const std::vector<T>& v) {
  o += '[';
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (i) o += ',';
    put(o, v[i]);
  }
  o += ']';
}

// `key` is the member's name with its quotes, a colon, and a leading '{' or ','.
template <class T>
void member(std::string& o, std::string_view key, const T& v) {
  o += key;
  put(o, v);
}

void put(std::string& o, const LatLon& v) {
  member(o, R"({"lat":)", v.lat);
  member(o, R"(,"lon":)", v.lon);
  o += '}';
}

void put(std::string& o, const Place& v) {
  member(o, R"({"id":)", v.id);
  member(o, R"(,"name":)", v.name);
  member(o, R"(,"category":)", v.category);
  member(o, R"(,"address":)", v.address);
  member(o, R"(,"pos":)", v.pos);
  member(o, R"(,"saved":)", v.saved);
  o += '}';
}

void put(std::string& o, const RouteStep& v) {
  member(o, R"({"instruction":)", v.instruction);
  member(o, R"(,"distance_m":)", v.distance_m);
  member(o, R"(,"maneuver":)", v.maneuver);
  o += '}';
}

void put(std::string& o, const Route& v) {
  member(o, R"({"mode":)", v.mode);
  member(o, R"(,"distance_m":)", v.distance_m);
  member(o, R"(,"duration_s":)", v.duration_s);
  member(o, R"(,"geometry":)", v.geometry);
  member(o, R"(,"steps":)", v.steps);
  member(o, R"(,"from":)", v.from);
  member(o, R"(,"to":)", v.to);
  o += '}';
}

void put(std::string& o, const TransitLeg& v) {
  member(o, R"({"mode":)", v.mode);
  member(o, R"(,"line":)", v.line);
  member(o, R"(,"headsign":)", v.headsign);
  member(o, R"(,"from_name":)", v.from_name);
  member(o, R"(,"to_name":)", v.to_name);
  member(o, R"(,"dep":)", v.dep);
  member(o, R"(,"arr":)", v.arr);
  member(o, R"(,"duration_min":)", v.duration_min);
  member(o, R"(,"num_stops":)", v.num_stops);
  member(o, R"(,"geometry":)", v.geometry);
  member(o, R"(,"color":)", v.color);
  member(o, R"(,"text_color":)", v.text_color);
  member(o, R"(,"agency":)", v.agency);
  member(o, R"(,"realtime":)", v.realtime);
  o += '}';
}

void put(std::string& o, const TransitJourney& v) {
  member(o, R"({"dep":)", v.dep);
  member(o, R"(,"arr":)", v.arr);
  member(o, R"(,"duration_min":)", v.duration_min);
  member(o, R"(,"transfers":)", v.transfers);
  member(o, R"(,"legs":)", v.legs);
  o += '}';
}

void put(std::string& o, const TransitTime& v) {
  member(o, R"({"mode":)", v.mode);
  member(o, R"(,"offset_min":)", v.offset_min);
  o += '}';
}

void put(std::string& o, const DownloadedRegion& v) {
  member(o, R"({"id":)", v.id);
  member(o, R"(,"name":)", v.name);
  member(o, R"(,"min":)", v.min);
  member(o, R"(,"max":)", v.max);
  member(o, R"(,"z0":)", v.z0);
  member(o, R"(,"z1":)", v.z1);
  member(o, R"(,"tiles":)", v.tiles);
  o += '}';
}

// The shared fields of a route plan and SetRoute, and of a transit plan and SetTransit.
template <class R>
void put_route_fields(std::string& o, const R& v) {
  member(o, R"({"route":)", v.route);
  member(o, R"(,"origin":)", v.origin);
  member(o, R"(,"origin_name":)", v.origin_name);
  member(o, R"(,"dest":)", v.dest);
  member(o, R"(,"dest_name":)", v.dest_name);
  member(o, R"(,"mode":)", v.mode);
  o += '}';
}

template <class T>
void put_transit_fields(std::string& o, const T& v) {
  member(o, R"({"transit":)", v.transit);
  member(o, R"(,"origin":)", v.origin);
  member(o, R"(,"origin_name":)", v.origin_name);
  member(o, R"(,"dest":)", v.dest);
  member(o, R"(,"dest_name":)", v.dest_name);
  o += '}';
}

void put_tag(std::string& o, std::string_view name) {
  o += R"({")";
  o += name;
  o += R"(":)";
}

struct ActionWriter {
  std::string& o;
  void operator()(const MapsAction::UpsertPlaces& a) {
    put_tag(o, "UpsertPlaces");
    member(o, R"({"places":)", a.places);
    o += "}}";
  }
  void operator()(const MapsAction::SetPlaceSaved& a) {
    put_tag(o, "SetPlaceSaved");
    member(o, R"({"id":)", a.id);
    member(o, R"(,"saved":)", a.saved);
    o += "}}";
  }
  void operator()(const MapsAction::CommitSearch& a) {
    put_tag(o, "CommitSearch");
    member(o, R"({"query":)", a.query);
    o += "}}";
  }
  void operator()(const MapsAction::ClearRecents&) { o += R"("ClearRecents")"; }
  void operator()(const MapsAction::SetTravelMode& a) {
    put_tag(o, "SetTravelMode");
    member(o, R"({"mode":)", a.mode);
    o += "}}";
  }
  void operator()(const MapsAction::SetTransitTime& a) {
    put_tag(o, "SetTransitTime");
    member(o, R"({"value":)", a.value);
    o += "}}";
  }
  void operator()(const MapsAction::ClearRoute&) { o += R"("ClearRoute")"; }
  void operator()(const MapsAction::SetRoute& a) {
    put_tag(o, "SetRoute");
    put_route_fields(o, a);
    o += '}';
  }
  void operator()(const MapsAction::SetTransit& a) {
    put_tag(o, "SetTransit");
    put_transit_fields(o, a);
    o += '}';
  }
  void operator()(const MapsAction::ClearTransit&) { o += R"("ClearTransit")"; }
  void operator()(const MapsAction::AddRegion& a) {
    put_tag(o, "AddRegion");
    put(o, a.region);
    o += '}';
  }
  void operator()(const MapsAction::DeleteRegion& a) {
    put_tag(o, "DeleteRegion");
    member(o, R"({"id":)", a.id);
    o += "}}";
  }
  void operator()(const MapsAction::ClearRegions&) { o += R"("ClearRegions")"; }
};

struct PlanWriter {
  std::string& o;
  void operator()(const ActivePlan::None&) { o += R"("None")"; }
  void operator()(const ActivePlan::Route& p) {
    put_tag(o, "Route");
    put_route_fields(o, p);
    o += '}';
  }
  void operator()(const ActivePlan::Transit& p) {
    put_tag(o, "Transit");
    put_transit_fields(o, p);
    o += '}';
  }
};

void append_bytes(std::vector<std::uint8_t>& out, const std::string& text) {
  out.insert(out.end(), text.begin(), text.end());
}

}  // namespace

void serialize_json(const LatLon& v, std::string& out) { put(out, v); }
void serialize_json(const Place& v, std::string& out) { put(out, v); }
void serialize_json(const RouteStep& v, std::string& out) { put(out, v); }
void serialize_json(const Route& v, std::string& out) { put(out, v); }
void serialize_json(const TransitLeg& v, std::string& out) { put(out, v); }
void serialize_json(const TransitJourney& v, std::string& out) { put(out, v); }
void serialize_json(const TransitTime& v, std::string& out) { put(out, v); }
void serialize_json(const DownloadedRegion& v, std::string& out) { put(out, v); }
void serialize_json(const ActivePlan& v, std::string& out) { std::visit(PlanWriter{out}, v.value); }
void serialize_json(const MapsAction& v, std::string& out) { std::visit(ActionWriter{out}, v.value); }
void serialize_json(Category v, std::string& out) { put(out, v); }
void serialize_json(TravelMode v, std::string& out) { put(out, v); }
void serialize_json(Maneuver v, std::string& out) { put(out, v); }
void serialize_json(TransitMode v, std::string& out) { put(out, v); }
void serialize_json(TransitTimeMode v, std::string& out) { put(out, v); }

void serialize_maps_action_json(const MapsAction& action, std::string& out) { serialize_json(action, out); }

void serialize_maps_action_json(const MapsAction& action, std::vector<std::uint8_t>& out) {
  std::string text;
  serialize_json(action, text);
  append_bytes(out, text);
}

void serialize_active_plan_json(const ActivePlan& plan, std::string& out) { serialize_json(plan, out); }

void serialize_active_plan_json(const ActivePlan& plan, std::vector<std::uint8_t>& out) {
  std::string text;
  serialize_json(plan, text);
  append_bytes(out, text);
}

void serialize_transit_time_json(const TransitTime& time, std::string& out) { serialize_json(time, out); }

void serialize_transit_time_json(const TransitTime& time, std::vector<std::uint8_t>& out) {
  std::string text;
  serialize_json(time, text);
  append_bytes(out, text);
}

}  // namespace maps
