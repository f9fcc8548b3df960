#pragma once
// Backend: the work that runs behind the window. It starts the jobs the services answer, counts
// those the window waits for, holds the channel their answers come back on, the clock and the
// waker of the window loop, and what the status line tells beside its text.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "backend/latest_search.hpp"
#include "backend/plan_request.hpp"
#include "backend/status_line.hpp"
#include "backend/worker_channel.hpp"
#include "base/channel.hpp"
#include "base/mono_clock.hpp"
#include "format/local_date_time.hpp"
#include "geo/geo_box.hpp"
#include "location/location.hpp"
#include "model/records.hpp"
#include "model/vector_map.hpp"
#include "net/job_spawner.hpp"
#include "net/jobs.hpp"
#include "net/worker_result.hpp"
#include "tiles/tile_store.hpp"

namespace maps {

// A demonstration state starts no job. Work the window waits for (place, endpoint and area
// searches, routes, journeys) stays counted there as if never answered; work it does not wait
// for (the address of a fix, the places of the view) is not counted either.
bool counted_in_demonstration(const JobRequest& job);

// The location request under way, and the last fix it gave.
struct LocationWork {
  bool pending = false;
  std::optional<base::Receiver<LocationOutcome>> receiver;
  // Its address is applied only while it is still the origin.
  std::optional<LatLon> located_fix;
};

// The points of interest of the view: asked for once the view rests, for a box wider than it.
struct ViewPois {
  std::vector<Poi> pois;
  // The box they were asked for, numbered so that only the latest answer is taken.
  std::optional<GeoBox> box;
  std::uint64_t generation = 0;
  std::optional<base::MonoTime> idle_deadline;
};

struct TrafficData {
  bool enabled = false;
  std::vector<TrafficSegment> segments;
  // Where the segments came from; none when there are none.
  std::optional<std::string> source;
};

struct Plans {
  // The latest route or journey request; the answers of earlier ones are dropped.
  PlanRequest latest;
  // A journey request waiting for the asking to pause (see transitions/plans.hpp).
  std::optional<JourneyWait> journey_wait;
};

class Backend {
 public:
  // Talks to the real services; a demonstration state does not.
  bool live = false;
  // Jobs started (or answers sent again) and not yet answered.
  std::uint32_t pending_jobs = 0;
  base::MonoNow now = &base::MonoClock::now;
  // Wakes the window loop; handed to every channel the tick drains (empty: nothing wakes it).
  std::function<void()> waker;
  StatusLine status;
  LocationWork location;
  ViewPois view_pois;
  TrafficData traffic;
  Plans plans;
  // The latest geocoding searches of the search box and of the endpoint fields.
  LatestSearch place_searches;
  LatestSearch endpoint_searches;
  TileStore tiles;

  // The worker-result channel the jobs answer on, drained by the tick.
  base::Receiver<WorkerResult> result_receiver;
  // Declared after the receiver: opening the channel fills it. Every job gets a clone.
  base::Sender<WorkerResult> result_sender = open_worker_channel(result_receiver);
  // Starts the request threads (only a live state asks it); tests put a RecordingJobSpawner here.
  std::unique_ptr<JobSpawner> job_spawner = std::make_unique<ThreadJobSpawner>(ServiceHosts{}, result_sender);

  // The one way to start work. Live: counted and started; a demonstration state follows
  // counted_in_demonstration. True when the window now waits for the job.
  bool start(JobRequest job);
  // A kept answer of the latest search, counted and delivered through the tick as the service's.
  void answer_again(WorkerResult result);
  // The window loop's waker, handed to the result channel, the location request and the tiles.
  void set_waker(std::function<void()> wake);
  // The next answer on the channel, if any (the caller lowers the count as it applies it).
  std::optional<WorkerResult> take_result();

  // The wall clock of the window; a demonstration state reads 09:00 of today.
  LocalDateTime now_local() const { return live ? local_now() : demo_clock_now(); }
};

}  // namespace maps
