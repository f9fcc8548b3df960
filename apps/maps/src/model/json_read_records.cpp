// The records, read by their field lists (model/record_fields.hpp).
#include "model/json_read_rules.hpp"

namespace maps::json {

bool read_value(Reader& r, LatLon& v) { return read_record(r, v); }
bool read_value(Reader& r, Place& v) { return read_record(r, v); }
bool read_value(Reader& r, RouteStep& v) { return read_record(r, v); }
bool read_value(Reader& r, Route& v) { return read_record(r, v); }
bool read_value(Reader& r, TransitLeg& v) { return read_record(r, v); }
bool read_value(Reader& r, TransitJourney& v) { return read_record(r, v); }
bool read_value(Reader& r, TransitTime& v) { return read_record(r, v); }
bool read_value(Reader& r, DownloadedRegion& v) { return read_record(r, v); }
bool read_value(Reader& r, MapModel& v) { return read_record(r, v); }

}  // namespace maps::json
