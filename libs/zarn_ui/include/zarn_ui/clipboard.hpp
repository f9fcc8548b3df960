#pragma once
// The clipboard text fields cut, copy and paste through. The window's is the system clipboard
// (see system_clipboard.hpp); tests and headless runs use a clipboard in memory.

#include <cstddef>
#include <optional>
#include <string>
#include <utility>

namespace zarn_ui::clipboard {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // The text on the clipboard; none when it holds no text or cannot be read.
  virtual std::optional<std::string> text() = 0;
  // Its first `max_bytes` bytes (a paste keeps no more), without copying the rest.
  virtual std::optional<std::string> text_prefix(std::size_t max_bytes) {
    auto all = text();
    if (all && all->size() > max_bytes) all->resize(max_bytes);
    return all;
  }
  virtual void set_text(const std::string& text) = 0;
  // True once after a read found the clipboard holding something that could not be had as text
  // (more than the window system hands over, or no text at all).
  bool take_unreadable() { return std::exchange(unreadable_, false); }

 protected:
  bool unreadable_ = false;
};

class MemoryClipboard final : public Clipboard {
 public:
  std::optional<std::string> text() override {
    if (holds_unreadable) unreadable_ = true;
    return holds_unreadable ? std::nullopt : contents;
  }
  void set_text(const std::string& text) override {
    contents = text;
    holds_unreadable = false;
  }

  std::optional<std::string> contents;
  // Stands for what another program copied that cannot be read as text.
  bool holds_unreadable = false;
};

}  // namespace zarn_ui::clipboard
