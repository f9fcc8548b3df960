// The live app as a user starts it: from exec to the first painted frame, its resident memory at
// rest in a 1280 x 800 window with its map tiles loaded over TLS from a local server, and the CPU it uses
// while a tile server takes its requests and never answers them. The app is this program run
// as a program of its own (live_app_child.cpp, exec'd, so loading the libraries counts) with its
// tile host pointed at the local server. Beside it, the floor of this stack measured the same
// way: a bare SDL2 window painted by Cairo with one line of Pango text (floor_window.cpp). The
// start is measured twice: with no tile on disk (every tile a request) and with the view's tiles
// in the cache, where the start needs no request at all.
#include <benchmark/benchmark.h>
#include <spawn.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "base/scoped_env.hpp"
#include "base_testing/private_x_server.hpp"
#include "live_rig.hpp"
#include "start_record.hpp"

extern char** environ;

namespace {

using maps::bench::LocalTileServer;

// ---- the parent ----

struct Started {
  double first_frame_s = 0;  // exec to the first painted frame
  double rss_mib = 0;
  double cpu_s = 0;  // over the watch that follows
};

std::string beside_this_program(const std::string& name) {
  return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / name).string();
}

// Execs `program`, waits for its first frame and its rest, then measures.
bool start_child(const std::string& program, const std::vector<std::string>& args, double watch_s, Started& out) {
  int fds[2];
  if (::pipe(fds) != 0) return false;
  std::vector<std::string> argv = {program};
  argv.insert(argv.end(), args.begin(), args.end());
  argv.push_back(std::to_string(fds[1]));
  std::vector<char*> cargv;
  for (auto& a : argv) cargv.push_back(a.data());
  cargv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  pid_t pid = -1;
  const double exec_at = maps::bench::monotonic_s();
  const int rc = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, cargv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  bool ok = rc == 0;
  maps::bench::StartRecord first, rest;
  const auto read_one = [&](maps::bench::StartRecord& r) {
    pollfd p{fds[0], POLLIN, 0};
    return ::poll(&p, 1, 30000) > 0 && ::read(fds[0], &r, sizeof r) == static_cast<ssize_t>(sizeof r);
  };
  ok = ok && read_one(first);
  if (ok) out.first_frame_s = first.at - exec_at;
  // A stalled server never lets the app rest: the watch starts after its first frame.
  ok = ok && (watch_s < 0 || read_one(rest));
  if (ok) {
    std::this_thread::sleep_for(std::chrono::seconds(1));  // what the first frames freed goes back first
    out.rss_mib = maps::bench::status_kib(pid, "VmRSS") / 1024.0;
    const double cpu0 = maps::bench::cpu_seconds(pid);
    std::this_thread::sleep_for(std::chrono::duration<double>(std::abs(watch_s)));
    out.cpu_s = maps::bench::cpu_seconds(pid) - cpu0;
  }
  ::close(fds[0]);
  if (pid > 0) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
  }
  return ok;
}

struct Session {
  base_testing::PrivateXServer x{"1920x1200x24"};
  std::filesystem::path dir = maps::bench::fresh_dir();
  std::unique_ptr<base::ScopedEnv> display, data, config, cache, bus;
  Session() {
    display = std::make_unique<base::ScopedEnv>("DISPLAY", x.display());
    data = std::make_unique<base::ScopedEnv>("XDG_DATA_HOME", (dir / "data").string());
    config = std::make_unique<base::ScopedEnv>("XDG_CONFIG_HOME", (dir / "config").string());
    cache = std::make_unique<base::ScopedEnv>("XDG_CACHE_HOME", (dir / "cache").string());
    bus = std::make_unique<base::ScopedEnv>("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + (dir / "no-bus").string());
  }
  ~Session() { std::filesystem::remove_all(dir); }
};

constexpr int kRuns = 5;

// Medians of kRuns starts. `tiles_on_disk`: every start finds the view's tiles in its cache
// (filled by a start before them), as a second start at the same place does.
void measure(benchmark::State& bs, bool floor, bool stall, double watch_s, bool tiles_on_disk = false,
             maps::bench::TileScheme scheme = maps::bench::TileScheme::Https) {
  Session session;
  if (session.x.display().empty()) {
    bs.SkipWithError("Xvfb did not start");
    return;
  }
  LocalTileServer server(stall, scheme);
  for (auto _ : bs) {
    std::vector<double> first, rss, cpu;
    for (int i = tiles_on_disk ? -1 : 0; i < kRuns; ++i) {
      const auto cache = session.dir / (tiles_on_disk ? std::string("tiles") : "tiles-" + std::to_string(i));
      Started s;
      const std::string program = beside_this_program(floor ? "stack_floor_window" : "maps_start_child");
      const std::vector<std::string> args =
          floor ? std::vector<std::string>{}
                : std::vector<std::string>{server.host(), cache.string(), server.ca_file(), server.ca_directory()};
      const bool counted = i >= 0;
      if (!start_child(program, args, counted ? watch_s : 0.0, s)) {
        bs.SkipWithError("the child did not come to rest");
        return;
      }
      if (!counted) continue;
      first.push_back(s.first_frame_s);
      rss.push_back(s.rss_mib);
      cpu.push_back(s.cpu_s);
    }
    bs.counters["first_frame_s"] = maps::bench::median(first);
    bs.counters["rss_MiB"] = maps::bench::median(rss);
    bs.counters["cpu_s"] = maps::bench::median(cpu);
  }
}

void BM_LiveStart_App(benchmark::State& s) { measure(s, false, false, 3.0); }
// The same where the system keeps its certificates in a bundle only, read whole by every
// connection (what the app did everywhere before it trusted the hashed directory).
void BM_LiveStart_AppTrustingABundle(benchmark::State& s) {
  measure(s, false, false, 3.0, false, maps::bench::TileScheme::HttpsBundleOnly);
}
void BM_LiveStart_Floor(benchmark::State& s) { measure(s, true, false, 3.0); }
void BM_LiveStart_AppTilesOnDisk(benchmark::State& s) { measure(s, false, false, 3.0, true); }
// Every tile request held open: CPU over 10 s after the first frame, given per 30 s.
void BM_LiveStalledTiles_App(benchmark::State& s) {
  measure(s, false, true, -10.0, false, maps::bench::TileScheme::Http);
  s.counters["cpu_s_per_30s"] = s.counters["cpu_s"] * 3.0;
}

}  // namespace

BENCHMARK(BM_LiveStart_App)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiveStart_AppTrustingABundle)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiveStart_Floor)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiveStart_AppTilesOnDisk)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiveStalledTiles_App)->Iterations(1)->Unit(benchmark::kMillisecond);
