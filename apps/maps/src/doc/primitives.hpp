#pragma once
// Read and write primitives every document writer and reader is built on. Reads never change
// the document; a failed read is a missing key, a value of another kind is missing too. Writes
// that fail are skipped: the caller goes on with its next field.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "automerge/automerge.hpp"
#include "model/records.hpp"

namespace maps::doc {

using automerge::AutoCommit;
using automerge::ExId;

// Reading.
std::optional<ExId> get_map(const AutoCommit& doc, const ExId& obj, std::string_view key);
std::optional<ExId> get_list(const AutoCommit& doc, const ExId& obj, std::string_view key);
std::optional<ExId> list_item(const AutoCommit& doc, const ExId& list, std::size_t index);
std::optional<std::string> read_text(const AutoCommit& doc, const ExId& obj, std::string_view key);
std::optional<double> read_f64(const AutoCommit& doc, const ExId& obj, std::string_view key);
std::optional<std::uint64_t> read_uint(const AutoCommit& doc, const ExId& obj, std::string_view key);
std::optional<std::int64_t> read_transit_time_offset(const AutoCommit& doc, const ExId& obj, std::string_view key);
// The winning value only; false unless it is Boolean true.
bool read_bool_field(const AutoCommit& doc, const ExId& obj, std::string_view key);
// True when any concurrent value is Boolean true, so a removal never loses to an un-removal.
bool read_bool(const AutoCommit& doc, const ExId& obj, std::string_view key);
bool is_deleted(const AutoCommit& doc, const ExId& record);
std::optional<LatLon> read_latlon(const AutoCommit& doc, const ExId& obj, std::string_view key);
// The list of points at `key` of `obj`; unreadable points are skipped.
std::vector<LatLon> read_geometry(const AutoCommit& doc, const ExId& obj, std::string_view key = "geometry");

// Writing.
std::optional<ExId> maps_root(AutoCommit& doc);
std::optional<ExId> ensure_map(AutoCommit& doc, const ExId& obj, std::string_view key);
std::optional<ExId> ensure_list(AutoCommit& doc, const ExId& obj, std::string_view key);
// A string scalar, written only when read_text gives another value (a text object of an older
// document reads as its content).
void write_text(AutoCommit& doc, const ExId& obj, std::string_view key, std::string_view value);
void write_opt_text(AutoCommit& doc, const ExId& obj, std::string_view key, const std::optional<std::string>& value);
void write_latlon(AutoCommit& doc, const ExId& obj, std::string_view key, LatLon value);
void write_opt_latlon(AutoCommit& doc, const ExId& obj, std::string_view key, const std::optional<LatLon>& value);
void write_geometry(AutoCommit& doc, const ExId& obj, const std::vector<LatLon>& points,
                    std::string_view key = "geometry");
void clear_list(AutoCommit& doc, const ExId& list);
// A new map appended at the list's current end, so one failed insertion loses one element
// and never shifts the ones after it.
std::optional<ExId> append_map(AutoCommit& doc, const ExId& list);
void put_bool_if_changed(AutoCommit& doc, const ExId& obj, std::string_view key, bool value);
void put_f64_if_changed(AutoCommit& doc, const ExId& obj, std::string_view key, double value);
void put_uint_if_changed(AutoCommit& doc, const ExId& obj, std::string_view key, std::uint64_t value);
void put_str(AutoCommit& doc, const ExId& obj, std::string_view key, std::string value);
void delete_key(AutoCommit& doc, const ExId& obj, std::string_view key);

// Record lifecycle. Reviving clears "deleted" whenever any concurrent value still says deleted,
// even when the winning value is already false.
void revive_record(AutoCommit& doc, const ExId& record);
void tombstone_record(AutoCommit& doc, const ExId& record);

}  // namespace maps::doc
