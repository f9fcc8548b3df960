#pragma once
// The clipboard text fields cut, copy and paste through. The window's is the system clipboard
// (see system_clipboard.hpp); tests and headless runs use a clipboard in memory.

#include <optional>
#include <string>

namespace zarn_ui::clipboard {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // The text on the clipboard; none when it holds no text or cannot be read.
  virtual std::optional<std::string> text() = 0;
  virtual void set_text(const std::string& text) = 0;
};

class MemoryClipboard final : public Clipboard {
 public:
  std::optional<std::string> text() override { return contents; }
  void set_text(const std::string& text) override { contents = text; }

  std::optional<std::string> contents;
};

}  // namespace zarn_ui::clipboard
