// SDL events to widget events: typed text with text input on and off, shortcuts, the keypad,
// input-method composition.

#include <SDL.h>
#include <gtest/gtest.h>

#include "../../src/launch/sdl_input.hpp"

namespace zarn_ui::launch {
namespace {

using widget::Key;
namespace mods = widget::modifiers;

SDL_Event key_down(SDL_Keycode sym, std::uint16_t mod = 0) {
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.keysym.sym = sym;
  e.key.keysym.mod = mod;
  return e;
}

std::optional<std::string> text_of(const std::optional<TranslatedEvent>& t) {
  if (!t) return std::nullopt;
  const auto* k = std::get_if<Key>(&t->event);
  if (!k || !k->text()) return std::nullopt;
  return *k->text();
}

TEST(SdlInput, PrintableKeysTypeOnlyWhenNoTextEventComes) {
  struct Case {
    const char* name;
    SDL_Keycode sym;
    std::uint16_t mod;
    bool text_input;
    std::optional<std::string> text;
  };
  const Case cases[] = {
      {"text input on: the text event types", SDLK_d, 0, true, std::nullopt},
      {"text input on: space too", SDLK_SPACE, 0, true, std::nullopt},
      {"text input off: the key types", SDLK_d, 0, false, "d"},
      {"text input off: Shift gives the capital", SDLK_d, KMOD_LSHIFT, false, "D"},
      {"text input off: Caps Lock gives the capital", SDLK_d, KMOD_CAPS, false, "D"},
      {"text input off: space", SDLK_SPACE, 0, false, " "},
      {"text input off: the slash", SDLK_SLASH, 0, false, "/"},
      {"text input off: keypad plus", SDLK_KP_PLUS, 0, false, "+"},
      {"text input off: keypad digit with Num Lock", SDLK_KP_2, KMOD_NUM, false, "2"},
      {"text input off: keypad digit without Num Lock", SDLK_KP_2, 0, false, std::nullopt},
      {"shortcuts come as the key's small letter", SDLK_s, KMOD_LCTRL | KMOD_LSHIFT, true, "s"},
      {"shortcuts without text input too", SDLK_s, KMOD_LCTRL, false, "s"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(text_of(translate_sdl_event(key_down(c.sym, c.mod), 1.0, c.text_input)), c.text);
  }
  // Named keys are named whatever the text input.
  const auto enter = translate_sdl_event(key_down(SDLK_KP_ENTER), 1.0, false);
  ASSERT_TRUE(enter);
  EXPECT_TRUE(std::get<Key>(enter->event).is(widget::NamedKey::Enter));
}

TEST(SdlInput, TypedTextDropsAltAndCompositionBecomesTextEditing) {
  const SDL_Keymod saved = SDL_GetModState();
  SDL_SetModState(static_cast<SDL_Keymod>(KMOD_RALT | KMOD_LSHIFT));  // Alt Gr reported as the right Alt
  SDL_Event text{};
  text.type = SDL_TEXTINPUT;
  SDL_strlcpy(text.text.text, "@", sizeof(text.text.text));
  const auto typed = translate_sdl_event(text, 1.0, true);

  SDL_Event edit{};
  edit.type = SDL_TEXTEDITING;
  SDL_strlcpy(edit.edit.text, "かな", sizeof(edit.edit.text));
  edit.edit.start = 1;
  edit.edit.length = 1;
  const auto editing = translate_sdl_event(edit, 1.0, true);
  SDL_SetModState(saved);

  ASSERT_TRUE(typed);
  EXPECT_EQ(text_of(typed), "@");
  EXPECT_EQ(typed->modifiers, mods::kShift);
  ASSERT_TRUE(editing);
  EXPECT_EQ(editing->event, (widget::Event{widget::TextEditing{"かな", 1, 1}}));
}

}  // namespace
}  // namespace zarn_ui::launch
