// The system clipboard through SDL. SDL keeps the clipboard's state; this adapter holds none.

#include <SDL.h>

#include "zarn_ui/system_clipboard.hpp"

namespace zarn_ui::launch {
namespace {

class SdlClipboard final : public clipboard::Clipboard {
 public:
  std::optional<std::string> text() override {
    if (SDL_HasClipboardText() != SDL_TRUE) return std::nullopt;
    char* raw = SDL_GetClipboardText();
    if (!raw) return std::nullopt;
    std::string out(raw);
    SDL_free(raw);
    if (out.empty()) return std::nullopt;
    return out;
  }
  void set_text(const std::string& text) override { SDL_SetClipboardText(text.c_str()); }
};

}  // namespace

clipboard::Clipboard& system_clipboard() {
  static SdlClipboard clipboard;
  return clipboard;
}

}  // namespace zarn_ui::launch
