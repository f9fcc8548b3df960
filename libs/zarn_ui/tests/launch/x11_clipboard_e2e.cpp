// The system clipboard on an X server of the test's own: text is read, an empty clipboard reads
// as nothing, and a clipboard another program holds but does not hand over reads as nothing
// that is marked unreadable, so a paste can say so.

#include <SDL.h>
#include <gtest/gtest.h>

#include "base_testing/private_x_server.hpp"
#include "base_testing/x_windows.hpp"
#include "zarn_ui/system_clipboard.hpp"

namespace zarn_ui::launch {
namespace {

TEST(SystemClipboard, TellsAnEmptyClipboardFromOneItCannotRead) {
  base_testing::PrivateXServer x;
  ASSERT_FALSE(x.display().empty()) << "Xvfb did not start";
  ASSERT_EQ(::setenv("DISPLAY", x.display().c_str(), 1), 0);
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
  SDL_Window* window = SDL_CreateWindow("clipboard", 0, 0, 64, 64, 0);
  ASSERT_NE(window, nullptr);
  clipboard::Clipboard& board = system_clipboard();

  EXPECT_EQ(board.text(), std::nullopt);
  EXPECT_FALSE(board.take_unreadable()) << "nobody holds the clipboard";
  // What SDL asked of the server on the way goes out before another program acts, as the window
  // loop's event pumping does between frames.
  SDL_PumpEvents();

  const base_testing::XConnection other(x.display());
  const auto owner = other.own_clipboard();
  EXPECT_EQ(board.text(), std::nullopt);
  EXPECT_TRUE(board.take_unreadable());
  EXPECT_FALSE(board.take_unreadable()) << "said once";

  other.destroy(owner);
  EXPECT_EQ(board.text(), std::nullopt);
  EXPECT_FALSE(board.take_unreadable());
  SDL_PumpEvents();

  board.set_text("Viktualienmarkt");
  EXPECT_EQ(board.text(), "Viktualienmarkt");
  EXPECT_EQ(board.text_prefix(4), "Vikt");
  EXPECT_FALSE(board.take_unreadable());

  SDL_DestroyWindow(window);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace
}  // namespace zarn_ui::launch
