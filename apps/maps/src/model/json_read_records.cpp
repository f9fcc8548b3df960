// The member tables of the records: names in writing order and which may be left out.
#include "model/json_read_rules.hpp"

namespace maps::json {

namespace {

const RecordSpec<LatLon, 2> kLatLon{"struct LatLon",
                                    "struct LatLon with 2 elements",
                                    {MAPS_JSON_MEMBER(LatLon, lat, Required), MAPS_JSON_MEMBER(LatLon, lon, Required)}};

const RecordSpec<Place, 6> kPlace{
    "struct Place",
    "struct Place with 6 elements",
    {MAPS_JSON_MEMBER(Place, id, Required), MAPS_JSON_MEMBER(Place, name, Required),
     MAPS_JSON_MEMBER(Place, category, Required), MAPS_JSON_MEMBER(Place, address, Required),
     MAPS_JSON_MEMBER(Place, pos, Required), MAPS_JSON_MEMBER(Place, saved, Required)}};

const RecordSpec<RouteStep, 3> kRouteStep{
    "struct RouteStep",
    "struct RouteStep with 3 elements",
    {MAPS_JSON_MEMBER(RouteStep, instruction, Required), MAPS_JSON_MEMBER(RouteStep, distance_m, Required),
     MAPS_JSON_MEMBER(RouteStep, maneuver, Required)}};

const RecordSpec<Route, 7> kRoute{
    "struct Route",
    "struct Route with 7 elements",
    {MAPS_JSON_MEMBER(Route, mode, Required), MAPS_JSON_MEMBER(Route, distance_m, Required),
     MAPS_JSON_MEMBER(Route, duration_s, Required), MAPS_JSON_MEMBER(Route, geometry, Required),
     MAPS_JSON_MEMBER(Route, steps, Required), MAPS_JSON_MEMBER(Route, from, Required),
     MAPS_JSON_MEMBER(Route, to, Required)}};

const RecordSpec<TransitLeg, 14> kTransitLeg{
    "struct TransitLeg",
    "struct TransitLeg with 14 elements",
    {MAPS_JSON_MEMBER(TransitLeg, mode, Required), MAPS_JSON_MEMBER(TransitLeg, line, Required),
     MAPS_JSON_MEMBER(TransitLeg, headsign, Required), MAPS_JSON_MEMBER(TransitLeg, from_name, Required),
     MAPS_JSON_MEMBER(TransitLeg, to_name, Required), MAPS_JSON_MEMBER(TransitLeg, dep, Required),
     MAPS_JSON_MEMBER(TransitLeg, arr, Required), MAPS_JSON_MEMBER(TransitLeg, duration_min, Required),
     MAPS_JSON_MEMBER(TransitLeg, num_stops, Required), MAPS_JSON_MEMBER(TransitLeg, geometry, Required),
     MAPS_JSON_MEMBER(TransitLeg, color, Default), MAPS_JSON_MEMBER(TransitLeg, text_color, Default),
     MAPS_JSON_MEMBER(TransitLeg, agency, Default), MAPS_JSON_MEMBER(TransitLeg, realtime, Default)}};

const RecordSpec<TransitJourney, 5> kTransitJourney{
    "struct TransitJourney",
    "struct TransitJourney with 5 elements",
    {MAPS_JSON_MEMBER(TransitJourney, dep, Required), MAPS_JSON_MEMBER(TransitJourney, arr, Required),
     MAPS_JSON_MEMBER(TransitJourney, duration_min, Required), MAPS_JSON_MEMBER(TransitJourney, transfers, Required),
     MAPS_JSON_MEMBER(TransitJourney, legs, Required)}};

const RecordSpec<TransitTime, 2> kTransitTime{
    "struct TransitTime",
    "struct TransitTime with 2 elements",
    {MAPS_JSON_MEMBER(TransitTime, mode, Required), MAPS_JSON_MEMBER(TransitTime, offset_min, Required)}};

const RecordSpec<DownloadedRegion, 7> kDownloadedRegion{
    "struct DownloadedRegion",
    "struct DownloadedRegion with 7 elements",
    {MAPS_JSON_MEMBER(DownloadedRegion, id, Required), MAPS_JSON_MEMBER(DownloadedRegion, name, Required),
     MAPS_JSON_MEMBER(DownloadedRegion, min, Required), MAPS_JSON_MEMBER(DownloadedRegion, max, Required),
     MAPS_JSON_MEMBER(DownloadedRegion, z0, Required), MAPS_JSON_MEMBER(DownloadedRegion, z1, Required),
     MAPS_JSON_MEMBER(DownloadedRegion, tiles, Required)}};

const RecordSpec<MapModel, 21> kMapModel{
    "struct MapModel",
    "struct MapModel with 21 elements",
    {MAPS_JSON_MEMBER(MapModel, places, Required),      MAPS_JSON_MEMBER(MapModel, recents, Required),
     MAPS_JSON_MEMBER(MapModel, selected, Optional),    MAPS_JSON_MEMBER(MapModel, route, Optional),
     MAPS_JSON_MEMBER(MapModel, transit, Required),     MAPS_JSON_MEMBER(MapModel, transit_choice, Required),
     MAPS_JSON_MEMBER(MapModel, panel, Required),       MAPS_JSON_MEMBER(MapModel, mode, Required),
     MAPS_JSON_MEMBER(MapModel, query, Required),       MAPS_JSON_MEMBER(MapModel, origin_query, Default),
     MAPS_JSON_MEMBER(MapModel, dest_query, Default),   MAPS_JSON_MEMBER(MapModel, transit_time, Default),
     MAPS_JSON_MEMBER(MapModel, results, Required),     MAPS_JSON_MEMBER(MapModel, origin, Optional),
     MAPS_JSON_MEMBER(MapModel, origin_name, Required), MAPS_JSON_MEMBER(MapModel, dest, Default),
     MAPS_JSON_MEMBER(MapModel, dest_name, Default),    MAPS_JSON_MEMBER(MapModel, center, Required),
     MAPS_JSON_MEMBER(MapModel, zoom, Required),        MAPS_JSON_MEMBER(MapModel, status, Required),
     MAPS_JSON_MEMBER(MapModel, regions, Default)}};

}  // namespace

bool read_value(Reader& r, LatLon& v) { return read_record(r, v, kLatLon); }
bool read_value(Reader& r, Place& v) { return read_record(r, v, kPlace); }
bool read_value(Reader& r, RouteStep& v) { return read_record(r, v, kRouteStep); }
bool read_value(Reader& r, Route& v) { return read_record(r, v, kRoute); }
bool read_value(Reader& r, TransitLeg& v) { return read_record(r, v, kTransitLeg); }
bool read_value(Reader& r, TransitJourney& v) { return read_record(r, v, kTransitJourney); }
bool read_value(Reader& r, TransitTime& v) { return read_record(r, v, kTransitTime); }
bool read_value(Reader& r, DownloadedRegion& v) { return read_record(r, v, kDownloadedRegion); }
bool read_value(Reader& r, MapModel& v) { return read_record(r, v, kMapModel); }

}  // namespace maps::json
