#pragma once
// What the status line is telling, kept beside its text so that the state never reads its own
// behaviour back out of the words shown.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/mono_clock.hpp"
#include "base/result.hpp"
#include "format/failure_text.hpp"
#include "model/records.hpp"

namespace maps {

enum class StatusKind : std::uint8_t {
  Outcome,        // a finished result, an error, or nothing
  InProgress,     // work under way ("Searching…", "Locating…")
  LoadingPlaces,  // the points of interest of the view are on their way
  Downloading,    // an offline area is being downloaded
  Notice,         // a finished result the person must be told: a search that found nothing
  Failure,        // something failed: a service, the location, a download (the pill's red dot)
};

// A service's failure is told this long, unless the service answers again sooner.
inline constexpr std::chrono::seconds kFailureStatusLife{10};

// Work in progress.
constexpr bool status_in_progress(StatusKind kind) {
  return kind == StatusKind::InProgress || kind == StatusKind::LoadingPlaces || kind == StatusKind::Downloading;
}
// Work that the pending jobs stand for: its status is cleared once no job is pending. A
// download's status is not: the download runs on the tile worker and reports its own end.
constexpr bool status_ends_with_jobs(StatusKind kind) {
  return kind == StatusKind::InProgress || kind == StatusKind::LoadingPlaces;
}

// What the status line tells beside its text (the text itself is the model's `status`).
struct StatusLine {
  // What `model.status` is telling; written with it by set.
  StatusKind kind = StatusKind::Outcome;
  // A failure status: the service that failed, and when the status goes away by itself.
  std::optional<Service> service;
  std::optional<base::MonoTime> expires;
  // The status told that tiles in view failed; it is told once until none in view has failed.
  bool tile_failure_told = false;
  // The status was set during this tick; what the tick learnt this frame is not replaced in it.
  bool fresh = false;
  // The tile notice waits for the next tick (the status was fresh): one more frame is due.
  bool tile_notice_waiting = false;

  void set(MapModel& model, std::string text, StatusKind what = StatusKind::Outcome);
  // "{prefix}{short text}" for the service's failure, until `now` + kFailureStatusLife or until
  // the service answers again; the error's full text goes to the log.
  void report_failure(MapModel& model, std::string_view prefix, Service failed, const base::Error& error,
                      base::MonoTime now);
};

}  // namespace maps
