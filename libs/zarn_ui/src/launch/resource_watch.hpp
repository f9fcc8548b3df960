#pragma once
// Follows the X resources of a display (the root window's RESOURCE_MANAGER property, where the
// desktop keeps Xft.dpi). A connection of its own, read on a thread of its own that sleeps until
// the server reports a change; a change of Xft.dpi is kept for the window loop and wakes it.
// Apart from SDL's connection, so that nothing here touches the loop's events or Xlib's
// process-wide handlers.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace zarn_ui::launch {

class ResourceWatch {
 public:
  // Watches the display of that name; watches nothing when it cannot be reached.
  explicit ResourceWatch(const std::string& display_name);
  ~ResourceWatch();
  ResourceWatch(const ResourceWatch&) = delete;
  ResourceWatch& operator=(const ResourceWatch&) = delete;

  bool watching() const { return thread_.joinable(); }
  // Called from the watch's thread after each change; an empty function ends the calls.
  void set_waker(std::function<void()> wake);

  // The Xft.dpi resource as last read.
  std::optional<double> xft_dpi() const;

  struct Change {
    std::optional<double> xft_dpi;  // none: the resources hold no valid Xft.dpi any more
  };
  // The Xft.dpi resource, when it changed since the last call.
  std::optional<Change> take_change();

  struct Shared;

 private:
  std::shared_ptr<Shared> shared_;
  std::thread thread_;
};

}  // namespace zarn_ui::launch
