// The live map against a tile host that takes connections and never answers, with the worker's
// real time limits: how long until the window says its imagery is unavailable, and until every
// tile the screen asked for has been answered (each as a failure). One run of at most 150 s;
// a figure that never came shows as the cap.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/construct.hpp"
#include "map_layers/status_banner.hpp"
#include "net/recording_job_spawner.hpp"
#include "zarn_ui/permissions.hpp"
#include "zarn_ui/presence.hpp"
#include "zarn_ui/state.hpp"
#include "zarn_ui/theme.hpp"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kCap = 150s;

// Listens on 127.0.0.1, takes every connection and never writes a byte.
class SilentHost {
 public:
  SilentHost() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), len) != 0 || ::listen(fd_, 256) != 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
      return;
    }
    port_ = ntohs(addr.sin_port);
    acceptor_ = std::thread([this] {
      while (!stop_) {
        const int c = ::accept(fd_, nullptr, nullptr);
        if (c < 0) break;
        held_.push_back(c);
      }
    });
  }
  ~SilentHost() {
    stop_ = true;
    ::shutdown(fd_, SHUT_RDWR);
    ::close(fd_);
    if (acceptor_.joinable()) acceptor_.join();
    for (int c : held_) ::close(c);
  }
  bool ok() const { return port_ != 0; }
  std::string host() const { return "http://127.0.0.1:" + std::to_string(port_); }

 private:
  int fd_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread acceptor_;
  std::vector<int> held_;
};

bool frame_shows(maps::MapsApp& app, std::string_view wanted) {
  auto text = zarn_ui::text_render::TextRenderer::fixed(7);
  const auto theme = zarn_ui::theme::Theme::light();
  const auto presence = zarn_ui::presence::PresenceCtx::empty();
  const auto permissions = zarn_ui::permissions::PermissionContext::permissive();
  const zarn_ui::widget::PaintCtx ctx{text, theme, presence, permissions};
  zarn_ui::Scene scene;
  app.draw(scene, zarn_ui::Affine::identity(), ctx);
  return std::any_of(scene.items().begin(), scene.items().end(), [&](const auto& item) {
    const auto* run = std::get_if<zarn_ui::scene::TextRun>(&item);
    return run && run->text == wanted;
  });
}

void BM_StalledTileHost(benchmark::State& state) {
  SilentHost silent;
  if (!silent.ok()) {
    state.SkipWithError("no listening socket");
    return;
  }
  const auto root = std::filesystem::temp_directory_path() / ("maps-bench-stalled-" + std::to_string(::getpid()));
  double banner_s = 0;
  double answered_s = 0;
  for (auto _ : state) {
    std::filesystem::remove_all(root);
    auto app = maps::build_maps_app(maps::default_map_model(), maps::VectorMap{},
                                    maps::new_tile_store(root, silent.host()), false, true);
    app->backend.job_spawner = std::make_unique<maps::RecordingJobSpawner>();
    app->bounds_rect = {0, 0, 1280, 800};
    zarn_ui::state::State ui;
    const auto start = Clock::now();
    std::optional<Clock::duration> banner;
    std::optional<Clock::duration> answered;
    while ((!banner || !answered) && Clock::now() - start < kCap) {
      app->tick(ui);
      if (!banner && frame_shows(*app, maps::kImageryUnavailableText)) banner = Clock::now() - start;
      // Every tile the screen asked for has had its answer.
      if (!answered && Clock::now() - start > 1s && app->backend.tiles.pending.empty()) answered = Clock::now() - start;
      std::this_thread::sleep_for(16ms);
    }
    banner_s = std::chrono::duration<double>(banner.value_or(kCap)).count();
    answered_s = std::chrono::duration<double>(answered.value_or(kCap)).count();
    app.reset();
  }
  std::filesystem::remove_all(root);
  state.counters["banner_s"] = banner_s;
  state.counters["screen_tiles_answered_s"] = answered_s;
}
BENCHMARK(BM_StalledTileHost)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
