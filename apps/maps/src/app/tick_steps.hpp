#pragma once
// The steps of the frame tick that belong to the whole state, in the order `MapsApp::tick` runs
// them; the views' own steps are in their folders. Each step is callable on its own so it can be
// tested without the others.

#include <cstddef>

#include "app/maps_app.hpp"
#include "geo/screen_view.hpp"
#include "net/worker_result.hpp"
#include "zarn_ui/state.hpp"

namespace maps::tick_steps {

inline constexpr double kPoiMinZoom = 14.0;
// The points-of-interest box reaches this share of the visible extent beyond each side.
inline constexpr double kPoiBoxWidening = 0.25;
inline constexpr std::size_t kMaxPoisPerAnswer = 140;
// A map this wide or narrower has not been laid out yet.
inline constexpr double kMinMapWidth = 1.0;

// Every worker result available now, each through `apply_worker_result`.
void drain_worker_results(MapsApp& app, zarn_ui::state::State& state);
// Lowers the pending count (never below zero), applies the result, and clears a status of job
// work in progress once nothing is pending (a download's status waits for the download).
void apply_worker_result(MapsApp& app, zarn_ui::state::State& state, WorkerResult result);
// A failure status goes away 10 s after it was set. Runs first: a status set after it is fresh.
void expire_failure_status(MapsApp& app);
// While tiles in view have failed, the status says so once (for 10 s, like every failure); it
// goes when none in view has failed any more. A status of work under way, one set in this tick
// and another service's failure are not replaced; the notice waits for them.
void report_tile_failures(MapsApp& app);
// The service whose answer this is, when it did answer (with a result, or with none for the
// request); nothing for a failure or a replaced request.
std::optional<Service> answering_service(const WorkerResult& result);
// The outcome of the running location request, if it has come.
void poll_location_outcome(MapsApp& app);
// The view-idle deadline: the points of interest of the view.
void fire_view_idle_deadline(MapsApp& app);
// Tile answers; a finished region download has the cache measured and may report itself, and
// the answers of cache jobs reach the offline panel.
void apply_tile_results(MapsApp& app);

// The visible box widened by a quarter of its extent on every side.
GeoBox widened_poi_box(const GeoBox& visible);
bool box_contains(const GeoBox& outer, const GeoBox& inner);

}  // namespace maps::tick_steps
