#pragma once
// Each record's fields, once (and those of the plans and the actions): the key text, the member,
// and how the field may be missing where the record is read. The JSON writer and reader, the
// debugging text, and the document's writers and readers all walk these lists, in this order.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "model/records.hpp"

namespace maps {

// How a field may be left out where a record is read.
enum class Absent : std::uint8_t {
  Required,
  Optional,  // JSON: an optional value, none when missing from an object; an array must hold its position
  Default,   // missing (or, in JSON, off the end of an array): the record's default value
};

template <class R, class V>
struct Field {
  using Record = R;
  using Value = V;
  std::string_view key;
  V R::*member;
  Absent in_json = Absent::Required;
  // A stored document may lack a field that JSON requires.
  Absent in_doc = Absent::Required;
};

template <class R, class V>
constexpr Field<R, V> field(std::string_view key, V R::*member, Absent in_json = Absent::Required,
                            Absent in_doc = Absent::Required) {
  return {key, member, in_json, in_doc};
}

// Specialised for every record: its `name`, the `description` its reader's errors give, and the
// tuple `fields`.
template <class R>
struct RecordFields;

template <>
struct RecordFields<LatLon> {
  static constexpr std::string_view name = "LatLon";
  static constexpr std::string_view description = "struct LatLon";
  static constexpr auto fields = std::make_tuple(field("lat", &LatLon::lat), field("lon", &LatLon::lon));
};

template <>
struct RecordFields<Place> {
  static constexpr std::string_view name = "Place";
  static constexpr std::string_view description = "struct Place";
  static constexpr auto fields =
      std::make_tuple(field("id", &Place::id), field("name", &Place::name), field("category", &Place::category),
                      field("address", &Place::address, Absent::Required, Absent::Default), field("pos", &Place::pos),
                      field("saved", &Place::saved, Absent::Required, Absent::Default));
};

template <>
struct RecordFields<RouteStep> {
  static constexpr std::string_view name = "RouteStep";
  static constexpr std::string_view description = "struct RouteStep";
  static constexpr auto fields =
      std::make_tuple(field("instruction", &RouteStep::instruction), field("distance_m", &RouteStep::distance_m),
                      field("maneuver", &RouteStep::maneuver));
};

template <>
struct RecordFields<Route> {
  static constexpr std::string_view name = "Route";
  static constexpr std::string_view description = "struct Route";
  static constexpr auto fields = std::make_tuple(field("mode", &Route::mode), field("distance_m", &Route::distance_m),
                                                 field("duration_s", &Route::duration_s),
                                                 field("geometry", &Route::geometry, Absent::Required, Absent::Default),
                                                 field("steps", &Route::steps, Absent::Required, Absent::Default),
                                                 field("from", &Route::from), field("to", &Route::to));
};

template <>
struct RecordFields<TransitLeg> {
  static constexpr std::string_view name = "TransitLeg";
  static constexpr std::string_view description = "struct TransitLeg";
  static constexpr auto fields = std::make_tuple(
      field("mode", &TransitLeg::mode), field("line", &TransitLeg::line), field("headsign", &TransitLeg::headsign),
      field("from_name", &TransitLeg::from_name), field("to_name", &TransitLeg::to_name),
      field("dep", &TransitLeg::dep), field("arr", &TransitLeg::arr), field("duration_min", &TransitLeg::duration_min),
      field("num_stops", &TransitLeg::num_stops),
      field("geometry", &TransitLeg::geometry, Absent::Required, Absent::Default),
      field("color", &TransitLeg::color, Absent::Default, Absent::Default),
      field("text_color", &TransitLeg::text_color, Absent::Default, Absent::Default),
      field("agency", &TransitLeg::agency, Absent::Default, Absent::Default),
      field("realtime", &TransitLeg::realtime, Absent::Default, Absent::Default));
};

template <>
struct RecordFields<TransitJourney> {
  static constexpr std::string_view name = "TransitJourney";
  static constexpr std::string_view description = "struct TransitJourney";
  static constexpr auto fields = std::make_tuple(
      field("dep", &TransitJourney::dep), field("arr", &TransitJourney::arr),
      field("duration_min", &TransitJourney::duration_min), field("transfers", &TransitJourney::transfers),
      field("legs", &TransitJourney::legs, Absent::Required, Absent::Default));
};

template <>
struct RecordFields<TransitTime> {
  static constexpr std::string_view name = "TransitTime";
  static constexpr std::string_view description = "struct TransitTime";
  static constexpr auto fields =
      std::make_tuple(field("mode", &TransitTime::mode), field("offset_min", &TransitTime::offset_min));
};

template <>
struct RecordFields<DownloadedRegion> {
  static constexpr std::string_view name = "DownloadedRegion";
  static constexpr std::string_view description = "struct DownloadedRegion";
  static constexpr auto fields = std::make_tuple(
      field("id", &DownloadedRegion::id), field("name", &DownloadedRegion::name), field("min", &DownloadedRegion::min),
      field("max", &DownloadedRegion::max), field("z0", &DownloadedRegion::z0), field("z1", &DownloadedRegion::z1),
      field("tiles", &DownloadedRegion::tiles));
};

// Read only (the older whole-model entry); the document keeps the model in collections of its own.
template <>
struct RecordFields<MapModel> {
  static constexpr std::string_view name = "MapModel";
  static constexpr std::string_view description = "struct MapModel";
  static constexpr auto fields = std::make_tuple(
      field("places", &MapModel::places), field("recents", &MapModel::recents),
      field("selected", &MapModel::selected, Absent::Optional), field("route", &MapModel::route, Absent::Optional),
      field("transit", &MapModel::transit), field("transit_choice", &MapModel::transit_choice),
      field("panel", &MapModel::panel), field("mode", &MapModel::mode), field("query", &MapModel::query),
      field("origin_query", &MapModel::origin_query, Absent::Default),
      field("dest_query", &MapModel::dest_query, Absent::Default),
      field("transit_time", &MapModel::transit_time, Absent::Default), field("results", &MapModel::results),
      field("origin", &MapModel::origin, Absent::Optional), field("origin_name", &MapModel::origin_name),
      field("dest", &MapModel::dest, Absent::Default), field("dest_name", &MapModel::dest_name, Absent::Default),
      field("center", &MapModel::center), field("zoom", &MapModel::zoom), field("status", &MapModel::status),
      field("regions", &MapModel::regions, Absent::Default));
};

// The plans and the actions with fields. A plan and the action that commits it share theirs.
template <class R>
constexpr auto route_plan_fields() {
  return std::make_tuple(field("route", &R::route), field("origin", &R::origin, Absent::Optional),
                         field("origin_name", &R::origin_name), field("dest", &R::dest, Absent::Optional),
                         field("dest_name", &R::dest_name), field("mode", &R::mode));
}

template <class R>
constexpr auto transit_plan_fields() {
  return std::make_tuple(field("transit", &R::transit), field("origin", &R::origin, Absent::Optional),
                         field("origin_name", &R::origin_name), field("dest", &R::dest, Absent::Optional),
                         field("dest_name", &R::dest_name));
}

template <>
struct RecordFields<ActivePlan::Route> {
  static constexpr std::string_view name = "Route";
  static constexpr std::string_view description = "struct variant ActivePlan::Route";
  static constexpr auto fields = route_plan_fields<ActivePlan::Route>();
};

template <>
struct RecordFields<ActivePlan::Transit> {
  static constexpr std::string_view name = "Transit";
  static constexpr std::string_view description = "struct variant ActivePlan::Transit";
  static constexpr auto fields = transit_plan_fields<ActivePlan::Transit>();
};

template <>
struct RecordFields<MapsAction::UpsertPlaces> {
  static constexpr std::string_view name = "UpsertPlaces";
  static constexpr std::string_view description = "struct variant MapsAction::UpsertPlaces";
  static constexpr auto fields = std::make_tuple(field("places", &MapsAction::UpsertPlaces::places));
};

template <>
struct RecordFields<MapsAction::SetPlaceSaved> {
  static constexpr std::string_view name = "SetPlaceSaved";
  static constexpr std::string_view description = "struct variant MapsAction::SetPlaceSaved";
  static constexpr auto fields =
      std::make_tuple(field("id", &MapsAction::SetPlaceSaved::id), field("saved", &MapsAction::SetPlaceSaved::saved));
};

template <>
struct RecordFields<MapsAction::CommitSearch> {
  static constexpr std::string_view name = "CommitSearch";
  static constexpr std::string_view description = "struct variant MapsAction::CommitSearch";
  static constexpr auto fields = std::make_tuple(field("query", &MapsAction::CommitSearch::query));
};

template <>
struct RecordFields<MapsAction::SetTravelMode> {
  static constexpr std::string_view name = "SetTravelMode";
  static constexpr std::string_view description = "struct variant MapsAction::SetTravelMode";
  static constexpr auto fields = std::make_tuple(field("mode", &MapsAction::SetTravelMode::mode));
};

template <>
struct RecordFields<MapsAction::SetTransitTime> {
  static constexpr std::string_view name = "SetTransitTime";
  static constexpr std::string_view description = "struct variant MapsAction::SetTransitTime";
  static constexpr auto fields = std::make_tuple(field("value", &MapsAction::SetTransitTime::value));
};

template <>
struct RecordFields<MapsAction::SetRoute> {
  static constexpr std::string_view name = "SetRoute";
  static constexpr std::string_view description = "struct variant MapsAction::SetRoute";
  static constexpr auto fields = route_plan_fields<MapsAction::SetRoute>();
};

template <>
struct RecordFields<MapsAction::SetTransit> {
  static constexpr std::string_view name = "SetTransit";
  static constexpr std::string_view description = "struct variant MapsAction::SetTransit";
  static constexpr auto fields = transit_plan_fields<MapsAction::SetTransit>();
};

template <>
struct RecordFields<MapsAction::DeleteRegion> {
  static constexpr std::string_view name = "DeleteRegion";
  static constexpr std::string_view description = "struct variant MapsAction::DeleteRegion";
  static constexpr auto fields = std::make_tuple(field("id", &MapsAction::DeleteRegion::id));
};

// A record, plan or action with a field list.
template <class R>
concept HasFields = requires {
  RecordFields<R>::fields;
};

template <class R>
inline constexpr std::size_t kFieldCount = std::tuple_size_v<std::remove_const_t<decltype(RecordFields<R>::fields)>>;

// Calls `f(field, index)` for every field of R, in order.
template <class R, class F>
constexpr void for_each_field(F&& f) {
  [&]<std::size_t... I>(std::index_sequence<I...>) { (f(std::get<I>(RecordFields<R>::fields), I), ...); }
  (std::make_index_sequence<kFieldCount<R>>{});
}

}  // namespace maps
