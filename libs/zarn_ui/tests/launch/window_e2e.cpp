// The window loop against a real window system (Xvfb in CI) and SDL's dummy driver: frames run,
// synthetic pointer and key events reach the widget, idle frames stop, and the loop closes cleanly;
// text input is on only while a focused field is shown, and fields cut and paste through the
// system clipboard.

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "probe_widget.hpp"
#include "zarn_ui/launch.hpp"
#include "zarn_ui/state.hpp"
#include "zarn_ui/system_clipboard.hpp"
#include "zarn_ui/text_input.hpp"

namespace zarn_ui::launch {
namespace {

using testing_support::ProbeWidget;

void push_motion(int x, int y) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.x = x;
  e.motion.y = y;
  e.motion.windowID = 0;
  SDL_PushEvent(&e);
}

void push_button(int x, int y, bool down) {
  SDL_Event e{};
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.button = SDL_BUTTON_LEFT;
  e.button.x = x;
  e.button.y = y;
  SDL_PushEvent(&e);
}

void push_text(const char* text) {
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  SDL_strlcpy(e.text.text, text, sizeof(e.text.text));
  SDL_PushEvent(&e);
}

void push_key(SDL_Keycode key, std::uint16_t mod) {
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.keysym.sym = key;
  e.key.keysym.mod = mod;
  SDL_PushEvent(&e);
}

void push_quit() {
  SDL_Event e{};
  e.type = SDL_QUIT;
  SDL_PushEvent(&e);
}

void run_scripted(const char* driver) {
  ProbeWidget w;
  state::State state;
  LoopOptions opts;
  opts.video_driver = driver;
  opts.max_frames = 200;  // a bound in case the quit never arrives
  int frames = 0, repaints = 0;
  opts.after_frame = [&](std::uint64_t, bool repainted) {
    ++frames;
    repaints += repainted ? 1 : 0;
  };
  opts.before_frame = [&](std::uint64_t frame) {
    if (frame == 2) {
      push_motion(100, 120);
      push_button(100, 120, true);
      push_button(100, 120, false);
      push_text("d");
      push_key(SDLK_ESCAPE, 0);
      push_key(SDLK_s, KMOD_LCTRL);
    }
    if (frame == 5) push_quit();
  };
  EXPECT_EQ(run_window(w, state, "probe", {640, 400}, opts), 0);
  EXPECT_GE(w.ticks, 5);
  EXPECT_GE(w.draws, 5);
  EXPECT_EQ(w.presses, 1);
  EXPECT_EQ(w.escapes, 1);
  EXPECT_EQ(w.typed, "ds");  // Control+S arrives as the key's text, with the modifier
  EXPECT_EQ(w.last_mods & widget::modifiers::kControl, widget::modifiers::kControl);
  EXPECT_EQ(w.pressed_at, (Point{100, 120}));
  EXPECT_EQ(w.bounds_, (Rect{0, 0, 640, 400}));
  // The widget paints the same picture every frame: only the first (and any exposed one) is rasterised.
  EXPECT_GE(frames, 5);
  EXPECT_GE(repaints, 1);
  EXPECT_LT(repaints, frames);
}

TEST(WindowLoop, RealWindowRunsFramesTakesInputAndCloses) {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) GTEST_SKIP() << "no X display (the test command runs under Xvfb)";
  run_scripted("x11");
}

TEST(WindowLoop, DummyDriverRunsTheSameScript) { run_scripted("dummy"); }

// The launcher tells the application once, when the first frame shows, before the frame's own
// hook runs.
TEST(WindowLoop, TheLauncherTellsOfTheFirstFrameOnce) {
  AppDescriptor d;
  d.app_id = "so.zarn.probe";
  d.default_factory = [] { return std::make_unique<ProbeWidget>(); };
  int shown = 0;
  std::uint64_t frames = 0, frames_when_shown = 99;
  d.first_frame_shown = [&] {
    ++shown;
    frames_when_shown = frames;
  };
  LoopOptions opts;
  opts.video_driver = "dummy";
  opts.max_frames = 50;
  opts.after_frame = [&](std::uint64_t frame, bool) {
    ++frames;
    if (frame == 3) push_quit();
  };
  EXPECT_EQ(run(d, "probe", {}, opts), 0);
  EXPECT_GE(frames, 4u);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(frames_when_shown, 0u);
}

// A window whose only widget is a text field.
class FieldWidget : public widget::Widget {
 public:
  FieldWidget() { field.set_rect({20, 20, 300, 50}); }
  void draw(Scene& scene, const Affine& t, const widget::PaintCtx& ctx) override { field.draw(scene, t, ctx); }
  void handle_event(const widget::Event& e, std::uint32_t mods, state::State&, bool& handled, double scale) override {
    if (field.handle_event(e, {mods, scale, &system_clipboard()})) handled = true;
  }
  bool needs_frame() const override { return true; }

  widgets::TextInput field = widgets::TextInput::local();
};

void run_field_script(const char* driver) {
  FieldWidget w;
  state::State state;
  LoopOptions opts;
  opts.video_driver = driver;
  opts.max_frames = 200;
  std::vector<bool> active;
  std::optional<std::string> copied;
  opts.before_frame = [&](std::uint64_t frame) {
    if (frame == 2) w.field.focused = true;
    if (frame == 3) {
      push_text("M\u00fcn");
      push_key(SDLK_a, KMOD_LCTRL);  // select all
      push_key(SDLK_c, KMOD_LCTRL);
      push_key(SDLK_END, 0);
      push_key(SDLK_v, KMOD_LCTRL);
    }
    if (frame == 4) w.field.focused = false;
    if (frame == 5) push_quit();
  };
  opts.after_frame = [&](std::uint64_t frame, bool) {
    active.push_back(SDL_IsTextInputActive() == SDL_TRUE);
    if (frame == 3) copied = system_clipboard().text();
  };
  EXPECT_EQ(run_window(w, state, "field", {640, 400}, opts), 0);
  ASSERT_GE(active.size(), 5u);
  EXPECT_FALSE(active[0]);
  EXPECT_FALSE(active[1]);
  EXPECT_TRUE(active[2]);
  EXPECT_TRUE(active[3]);
  EXPECT_FALSE(active[4]);
  EXPECT_EQ(copied, "M\u00fcn");
  EXPECT_EQ(w.field.text(), "M\u00fcnM\u00fcn");
}

TEST(WindowLoop, TextInputFollowsTheFocusedFieldAndTheClipboardWorks) {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) GTEST_SKIP() << "no X display (the test command runs under Xvfb)";
  run_field_script("x11");
}
TEST(WindowLoop, DummyDriverTextInputAndClipboard) { run_field_script("dummy"); }

}  // namespace
}  // namespace zarn_ui::launch
