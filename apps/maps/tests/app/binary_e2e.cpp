// The real binary: shots, argument errors and the no-display message.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "base_testing/x_windows.hpp"
#include "draw_kit/palette.hpp"
#include "zarn_ui/offscreen.hpp"
#include "zarn_ui/theme.hpp"

namespace {

struct RunResult {
  int status = -1;
  std::string out;
};

// Runs the binary with `env` prefixed (e.g. "DISPLAY= ") and captures stdout and stderr.
RunResult run_maps(const std::string& args, const std::string& env = "") {
  const std::string cmd = env + " " + MAPS_BINARY + " " + args + " 2>&1";
  RunResult r;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  std::array<char, 4096> buf{};
  while (std::fgets(buf.data(), buf.size(), p)) r.out += buf.data();
  const int st = pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

std::filesystem::path temp_dir(const char* name) {
  auto d = std::filesystem::temp_directory_path() / (std::string("maps-e2e-") + name + "-" + std::to_string(getpid()));
  std::filesystem::remove_all(d);
  return d;
}

zarn_ui::offscreen::DecodedPng read_png(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  auto d = zarn_ui::offscreen::decode_png(bytes);
  return d ? *d : zarn_ui::offscreen::DecodedPng{};
}

TEST(Binary, ShotIsWrittenAtItsSizeIntoNewFolders) {
  const auto dir = temp_dir("shot");
  const auto out = dir / "nested" / "out.png";
  const RunResult r = run_maps("--shot " + out.string());
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out, "maps: wrote shot to " + out.string() + "\n");
  auto png = read_png(out);
  EXPECT_EQ(png.width, 1280u);
  EXPECT_EQ(png.height, 800u);

  const auto small = dir / "small.png";
  EXPECT_EQ(run_maps("--shot " + small.string() + " --shot-size 800x600 --shot-text-scale 1.5").status, 0);
  png = read_png(small);
  EXPECT_EQ(png.width, 800u);
  EXPECT_EQ(png.height, 600u);
  std::filesystem::remove_all(dir);
}

// How many pixels of a shot show exactly this colour (line and area interiors, not their edges).
std::size_t count_color(const zarn_ui::offscreen::DecodedPng& png, const zarn_ui::Color& c) {
  const auto want = maps::color_to_rgba8(c);
  std::size_t n = 0;
  for (std::size_t i = 0; i + 3 < png.rgba.size(); i += 4) {
    if (png.rgba[i] == want.r && png.rgba[i + 1] == want.g && png.rgba[i + 2] == want.b) ++n;
  }
  return n;
}

TEST(Binary, DemonstrationShotsShowTheirLayers) {
  const auto dir = temp_dir("layers");
  std::filesystem::create_directories(dir);
  struct Case {
    const char* args;
    const char* theme;
  } cases[] = {{"", "dark"}, {"", "light"}, {"--traffic", "dark"}, {"--empty", "dark"}};
  for (const auto& c : cases) {
    const auto out = dir / (std::string(c.theme) + (c.args[0] ? std::string(c.args + 2) : "sample") + ".png");
    ASSERT_EQ(
        run_maps(std::string(c.args) + " --shot " + out.string(), std::string("ZARN_SHOTS_THEME=") + c.theme).status,
        0);
    const auto png = read_png(out);
    ASSERT_EQ(png.width, 1280u);
    const auto palette = maps::map_palette(std::string(c.theme) == "light" ? zarn_ui::theme::Theme::light()
                                                                           : zarn_ui::theme::Theme::dark());
    const std::string args = c.args;
    if (args == "--empty") {
      // No street map: the tile grid's ground fills the frame, and nothing of the city shows.
      EXPECT_GT(count_color(png, palette.grid_ground), 1280u * 800u / 2) << c.theme;
      EXPECT_EQ(count_color(png, palette.park), 0u);
    } else {
      EXPECT_GT(count_color(png, palette.block), 10000u) << c.theme << args;
      EXPECT_GT(count_color(png, palette.park), 1000u) << c.theme << args;
      EXPECT_GT(count_color(png, palette.water), 1000u) << c.theme << args;
      const std::size_t traffic = count_color(png, palette.traffic_free) + count_color(png, palette.traffic_heavy);
      if (args == "--traffic") {
        EXPECT_GT(traffic, 1000u);
      } else {
        EXPECT_EQ(traffic, 0u) << c.theme;
      }
    }
  }
  std::filesystem::remove_all(dir);
}

TEST(Binary, UnwritableShotStopsWithoutAPartialFile) {
  // Root writes anywhere, but nobody can create a path below a regular file.
  const auto dir = temp_dir("bad");
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "file") << "x";
  const auto out = dir / "file" / "out.png";
  const RunResult r = run_maps("--shot " + out.string());
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.out.find("atomically publish png"), std::string::npos) << r.out;
  // Nothing else appeared in the folder.
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) ++entries;
  EXPECT_EQ(entries, 1u);
  std::filesystem::remove_all(dir);
}

TEST(Binary, ArgumentErrorsAndNoDisplay) {
  RunResult r = run_maps("--bogus");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("unknown argument \"--bogus\""), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("usage:"), std::string::npos);

  // Asking for help is no error, and needs no display.
  for (const char* help : {"--help", "-h", "--empty --help"}) {
    r = run_maps(help, "env -u DISPLAY -u WAYLAND_DISPLAY");
    EXPECT_EQ(r.status, 0) << help;
    EXPECT_EQ(r.out.rfind("usage: ", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("--help"), std::string::npos);
  }

  r = run_maps("--empty", "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out,
            "maps: no display available (DISPLAY and WAYLAND_DISPLAY are not set); use --shot PATH to render a frame "
            "headless\n");

  // A display that names no server: the same one line at once, and the saved document is not opened.
  const auto data = temp_dir("no-server");
  const auto start = std::chrono::steady_clock::now();
  r = run_maps("", "env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=:4077 XDG_DATA_HOME=" + data.string());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out,
            "maps: no display available (cannot open display \":4077\"); use --shot PATH to render a frame headless\n");
  EXPECT_FALSE(std::filesystem::exists(data));
}

// The window of a demonstration state (no network) on the real X server of the test run: it stays
// up until the desktop asks it to close, then ends cleanly.
TEST(Binary, OpensAWindowAndClosesOnRequest) {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) GTEST_SKIP() << "no X display (the test command runs under Xvfb)";
  const auto data = temp_dir("home");
  std::filesystem::create_directories(data);
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    setenv("XDG_CACHE_HOME", data.c_str(), 1);
    execl(MAPS_BINARY, MAPS_BINARY, "--traffic", static_cast<char*>(nullptr));
    _exit(127);
  }
  // Up once its window shows, and still up then.
  const base_testing::XConnection x(display);
  ASSERT_TRUE(x.ok());
  EXPECT_EQ(x.wait_for_windows("so.zarn.maps", 1, std::chrono::seconds(30)).size(), 1u) << "no window showed";
  int status = 0;
  EXPECT_EQ(waitpid(pid, &status, WNOHANG), 0) << "the app ended on its own";
  kill(pid, SIGTERM);  // what a window manager's close does, as far as SDL is concerned
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  std::filesystem::remove_all(data);
}

}  // namespace
