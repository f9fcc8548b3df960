#pragma once
// What the status line is telling, kept beside its text so that the state never reads its own
// behaviour back out of the words shown.

#include <chrono>
#include <cstdint>

namespace maps {

enum class StatusKind : std::uint8_t {
  Outcome,        // a finished result, an error, or nothing
  InProgress,     // work under way ("Searching…", "Locating…")
  LoadingPlaces,  // the points of interest of the view are on their way
  Downloading,    // an offline area is being downloaded
  Notice,         // a finished result the person must be told: a search that found nothing
};

// A service's failure is told this long, unless the service answers again sooner.
inline constexpr std::chrono::seconds kFailureStatusLife{10};

// Work in progress.
constexpr bool status_in_progress(StatusKind kind) { return kind != StatusKind::Outcome && kind != StatusKind::Notice; }
// Work that the pending jobs stand for: its status is cleared once no job is pending. A
// download's status is not: the download runs on the tile worker and reports its own end.
constexpr bool status_ends_with_jobs(StatusKind kind) {
  return kind == StatusKind::InProgress || kind == StatusKind::LoadingPlaces;
}

}  // namespace maps
