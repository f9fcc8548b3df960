#pragma once
// A state for tick tests: a recording job spawner, a clock the test steps by hand, an
// in-memory document and a tile store without worker.

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "app/construct.hpp"
#include "app/maps_app.hpp"
#include "net/recording_job_spawner.hpp"
#include "tiles/tile_store.hpp"
#include "zarn_ui/state.hpp"

namespace maps::testing {

using namespace std::chrono_literals;

inline Place make_place(const std::string& id, double lat = 48.14, double lon = 11.58) {
  return Place{id, "Place " + id, Category::Cafe, "", LatLon{lat, lon}, false};
}

inline Route make_route(double from_lat = 48.10, double to_lat = 48.20) {
  Route r;
  r.mode = TravelMode::Car;
  r.distance_m = 1200.0;
  r.duration_s = 300.0;
  r.geometry = {LatLon{from_lat, 11.5}, LatLon{to_lat, 11.6}};
  r.from = LatLon{from_lat, 11.5};
  r.to = LatLon{to_lat, 11.6};
  return r;
}

struct TickFixture {
  std::unique_ptr<MapsApp> app;
  RecordingJobSpawner* jobs = nullptr;
  zarn_ui::state::State state;
  base::MonoTime clock = base::MonoTime{} + 1000s;

  explicit TickFixture(bool live = true, MapModel model = default_map_model()) { start(live, std::move(model)); }
  // A new state on the same document, as quitting and starting the app again gives.
  void restart(bool live = true, MapModel model = default_map_model()) { start(live, std::move(model)); }
  TickFixture(const TickFixture&) = delete;
  TickFixture& operator=(const TickFixture&) = delete;

  MapModel& model() { return app->model; }
  void send(WorkerResult r) { ASSERT_TRUE(app->backend.result_sender.send(std::move(r))); }
  void tick() { app->tick(state); }
  void advance(std::chrono::milliseconds by) { clock += by; }
  base::MonoTime now() const { return clock; }

 private:
  void start(bool live, MapModel model) {
    // A cache directory that does not exist: nothing on disk, every size reads 0.
    app = build_maps_app(std::move(model), VectorMap{},
                         new_offline_tile_store(std::filesystem::temp_directory_path() / "maps-tick-test-none"), false,
                         live);
    auto recording = std::make_unique<RecordingJobSpawner>();
    jobs = recording.get();
    app->backend.job_spawner = std::move(recording);
    app->backend.now = [this] { return clock; };
  }
};

}  // namespace maps::testing
