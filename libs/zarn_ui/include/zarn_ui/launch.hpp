#pragma once
// The launcher: an application hands its descriptor to run_or_exit, which parses the command
// line, builds the application through one of its factories, and runs the window loop or the
// headless shot. It ends the process itself.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/result.hpp"
#include "zarn_actions/registry.hpp"
#include "zarn_ui/launch_args.hpp"
#include "zarn_ui/persist.hpp"
#include "zarn_ui/text_render.hpp"
#include "zarn_ui/theme.hpp"
#include "zarn_ui/widget.hpp"

namespace zarn_ui::app {

// The framework's application object: what start-up callbacks may configure.
class App {
 public:
  zarn_actions::ActionRegistry& action_registry_mut() { return registry_; }
  const zarn_actions::ActionRegistry& action_registry() const { return registry_; }

 private:
  zarn_actions::ActionRegistry registry_;
};

}  // namespace zarn_ui::app

namespace zarn_ui::launch {

struct ShotOutcome {
  enum class Kind : std::uint8_t { Written, NotRequested, Failed };
  Kind kind = Kind::NotRequested;
  std::string error;
};

using WidgetBox = std::unique_ptr<widget::Widget>;
using PersistOpener = std::function<persist::PersistedDoc(const std::string& app_id)>;

struct AppDescriptor {
  std::string app_id;
  std::string title;  // the window title
  std::vector<std::string> launch_flags;
  std::vector<std::string> value_options;
  std::function<WidgetBox()> default_factory;
  std::function<base::Result<WidgetBox>(const LaunchArgs&)> args_factory;
  std::function<ShotOutcome(const LaunchArgs&)> render_shot;
  std::function<void(app::App&)> register_actions;
  std::function<std::pair<std::uint32_t, std::uint32_t>()> window_size;
  PersistOpener persist_open;
  // Called once, when the window's first frame shows: what was held back so as not to slow that
  // frame may start.
  std::function<void()> first_frame_shown;
};

// How the window runs: the name and look it is given, and controls for tests (stop after a
// number of frames, hooks around each frame, a forced video driver).
struct LoopOptions {
  // Names the application to the desktop (window class, SDL's app name); empty: SDL's defaults.
  std::string app_id;
  // None: the desktop's colour scheme and contrast from the settings portal on `settings_bus`,
  // followed while the window runs; light without a bus.
  std::optional<theme::Theme> theme;
  // The bus of the desktop's settings portal, asked while `theme` is none ("": the session bus).
  // None: no portal is asked.
  std::optional<std::string> settings_bus;
  // Logical to physical pixels for text and drawing. None: the desktop's (GDK_SCALE, Xft.dpi,
  // followed while the window runs) or, where SDL scales the window itself, its pixel ratio.
  std::optional<double> scale;
  std::optional<std::uint64_t> max_frames;
  // Gives the loop its text renderer (one prepared while the window opened); none: a new one.
  std::function<text_render::TextRenderer()> text_renderer;
  std::function<void(std::uint64_t frame)> before_frame;
  // After each frame: whether its pixels were drawn again (an unchanged frame is not).
  std::function<void(std::uint64_t frame, bool repainted)> after_frame;
  // Just before the loop sleeps: the longest it will sleep (none: until an event or a wake-up).
  std::function<void(std::optional<std::chrono::milliseconds> timeout)> before_wait;
  const char* video_driver = nullptr;  // e.g. "dummy"; none: SDL's choice
};

// Parses argv, runs the shot or the window, and exits the process with its status.
[[noreturn]] void run_or_exit(const AppDescriptor& descriptor, int argc, char** argv);

// The same without exiting: returns the process status.
int run(const AppDescriptor& descriptor, const std::string& program, const std::vector<std::string>& args,
        const LoopOptions& options = {});

// Runs the window loop for one widget on a given UI state until the window closes (or
// max_frames). Returns 0, or 1 when no window could be opened.
int run_window(widget::Widget& root, state::State& state, const std::string& title,
               std::pair<std::uint32_t, std::uint32_t> size, const LoopOptions& options = {});

}  // namespace zarn_ui::launch
