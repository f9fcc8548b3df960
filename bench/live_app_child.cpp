// The live app for the start-up benchmark, started as the app starts (the descriptor, the
// launcher, the window loop), its tiles from a local server. Arguments: the tile host, the tile
// cache folder, the certificate bundle and directory that the server is trusted by (empty for
// plain HTTP), the fd to tell of its first painted frame and of its rest.
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/construct.hpp"
#include "app/startup.hpp"
#include "net/recording_job_spawner.hpp"
#include "start_record.hpp"
#include "zarn_ui/launch.hpp"

int main(int argc, char** argv) {
  if (argc != 6) return 2;
  const std::string host = argv[1], cache = argv[2];
  maps::TileWorkerSettings tiles;
  tiles.trust = {argv[3], argv[4]};
  const int fd = std::atoi(argv[5]);
  maps::hold_http_for_first_frame();
  zarn_ui::launch::AppDescriptor d = maps::maps_descriptor();
  maps::MapsApp* live = nullptr;
  maps::RecordingJobSpawner* jobs = nullptr;
  d.default_factory = [&]() -> zarn_ui::launch::WidgetBox {
    auto app = maps::build_maps_app(maps::default_map_model(), maps::VectorMap{},
                                    maps::new_tile_store(cache, host, tiles), false, true);
    // The services are not there: the view-idle deadline's points of interest are answered empty.
    auto spawner = std::make_unique<maps::RecordingJobSpawner>();
    jobs = spawner.get();
    app->backend.job_spawner = std::move(spawner);
    live = app.get();
    return app;
  };
  bool first = false, told = false;
  std::size_t answered = 0;
  zarn_ui::launch::LoopOptions opts;
  opts.video_driver = "x11";
  opts.after_frame = [&](std::uint64_t, bool repainted) {
    if (repainted && !first) {
      first = true;
      maps::bench::tell_parent(fd);
    }
    if (!live) return;
    const auto pois = jobs->of_kind<maps::PoiJob>();
    for (; answered < pois.size(); ++answered) {
      live->backend.result_sender.send(maps::worker::Pois{std::vector<maps::Poi>{}, pois[answered].generation});
    }
    if (told || live->needs_frame() || live->has_pending_work() || live->backend.tiles.decoded.empty()) return;
    told = true;
    maps::bench::tell_parent(fd);
  };
  return zarn_ui::launch::run(d, "maps", {}, opts);
}
