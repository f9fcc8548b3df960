// The system clipboard through SDL. SDL keeps the clipboard's text; this adapter keeps only
// whether its last read found something it could not read.

#include <SDL.h>

#include <cstring>

#include "x11_clipboard_owner.hpp"
#include "zarn_ui/system_clipboard.hpp"

namespace zarn_ui::launch {
namespace {

class SdlClipboard final : public clipboard::Clipboard {
 public:
  std::optional<std::string> text() override { return text_prefix(std::string::npos); }
  std::optional<std::string> text_prefix(std::size_t max_bytes) override {
    // Asked first: a read that fails can leave SDL holding the clipboard itself.
    const bool other_holds = clipboard_owned_by_other_client();
    char* raw = SDL_HasClipboardText() == SDL_TRUE ? SDL_GetClipboardText() : nullptr;
    std::string out;
    if (raw) out.assign(raw, ::strnlen(raw, max_bytes));
    SDL_free(raw);
    if (!out.empty()) return out;
    // Another program holds the clipboard, yet no text came: SDL hands over neither what is too
    // large for one transfer nor what is not text.
    if (other_holds) unreadable_ = true;
    return std::nullopt;
  }
  void set_text(const std::string& text) override { SDL_SetClipboardText(text.c_str()); }
};

}  // namespace

clipboard::Clipboard& system_clipboard() {
  static SdlClipboard clipboard;
  return clipboard;
}

}  // namespace zarn_ui::launch
