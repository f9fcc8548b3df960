#include "zarn_ui/launch.hpp"

#include <spdlog/spdlog.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <future>

#include "sdl_video.hpp"
#include "zarn_ui/state.hpp"

namespace zarn_ui::launch {

int run(const AppDescriptor& d, const std::string& program, const std::vector<std::string>& args,
        const LoopOptions& options) {
  if (std::find(args.begin(), args.end(), "--help") != args.end() ||
      std::find(args.begin(), args.end(), "-h") != args.end()) {
    std::fputs(usage_text(program, d.launch_flags, d.value_options).c_str(), stdout);
    return 0;
  }
  auto parsed = LaunchArgs::parse(args, d.launch_flags, d.value_options);
  if (!parsed) {
    std::fprintf(stderr, "%s: %s\n\n%s", program.c_str(), parsed.error().c_str(),
                 usage_text(program, d.launch_flags, d.value_options).c_str());
    return 2;
  }
  if (parsed->shot_output()) {
    if (!d.render_shot) {
      std::fprintf(stderr, "%s: this application cannot render shots\n", program.c_str());
      return 2;
    }
    const ShotOutcome out = d.render_shot(*parsed);
    if (out.kind == ShotOutcome::Kind::Failed) {
      std::fprintf(stderr, "%s: shot failed: %s\n", program.c_str(), out.error.c_str());
      return 1;
    }
    return 0;
  }

  // The environment is complete before the first thread starts (fontconfig and Pango read it).
  name_window_class(d.app_id);
  // The display first, so that nothing is built or opened (workers, the saved document, the
  // fonts) for a window that cannot be shown. It is opened while this is the only thread: the
  // input method it opens reads the keyboard's compose table a character at a time through
  // stdio, which locks the stream for every character once a second thread exists. That made
  // the display take twice as long beside the font thread as the two took one after the other.
  SdlVideo video(options.video_driver, d.app_id);
  if (!video.ok()) {
    std::fprintf(stderr, "%s: no display available (%s); use --shot PATH to render a frame headless\n", program.c_str(),
                 video.error().c_str());
    return 1;
  }
  // The fonts are opened on a thread of their own while the document, the application and the
  // window are made ready: the first frame needs them all.
  auto fonts = std::async(std::launch::async, &text_render::TextRenderer::create_warm);
  LoopOptions loop = options;
  loop.app_id = d.app_id;
  if (!loop.text_renderer) loop.text_renderer = [&fonts] { return fonts.get(); };
  // The window follows the desktop's look through the session bus's settings portal.
  if (!loop.theme && !loop.settings_bus) loop.settings_bus = "";
  if (d.first_frame_shown) {
    loop.after_frame = [shown = d.first_frame_shown, then = options.after_frame, told = false](std::uint64_t frame,
                                                                                               bool repainted) mutable {
      if (repainted && !told) {
        told = true;
        shown();
      }
      if (then) then(frame, repainted);
    };
  }

  app::App application;
  if (d.register_actions) d.register_actions(application);

  // Demonstration starts get a fresh document of their own and never touch the saved one.
  const bool demonstration = parsed->any_app_argument();
  std::unique_ptr<widget::Widget> root;
  std::unique_ptr<state::State> state;
  if (demonstration && d.args_factory) {
    auto built = d.args_factory(*parsed);
    if (!built) {
      std::fprintf(stderr, "%s: %s\n", program.c_str(), built.error().c_str());
      return 1;
    }
    root = std::move(*built);
    state = std::make_unique<state::State>();
  } else {
    if (!d.default_factory) return 2;
    persist::PersistedDoc doc = d.persist_open ? d.persist_open(d.app_id) : persist::PersistedDoc::in_memory();
    if (!doc.status().empty()) spdlog::warn("{}: {}", program, doc.status());
    if (!doc.is_persistent()) spdlog::warn("{}: changes will not be saved this session", program);
    state = std::make_unique<state::State>(std::move(doc));
    root = d.default_factory();
  }
  const auto size = d.window_size ? d.window_size() : std::pair<std::uint32_t, std::uint32_t>{1280, 800};
  const int status = run_window(*root, *state, d.title.empty() ? program : d.title, size, loop);
  root.reset();
  (void)state->flush();  // the state logs a failed write and retries
  return status;
}

void run_or_exit(const AppDescriptor& d, int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  std::string program = argc > 0 && argv[0] ? argv[0] : "app";
  if (const auto slash = program.rfind('/'); slash != std::string::npos) program = program.substr(slash + 1);
  const int status = run(d, program, args);
  std::fflush(stdout);
  std::exit(status);
}

}  // namespace zarn_ui::launch
