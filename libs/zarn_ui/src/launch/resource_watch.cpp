#include "resource_watch.hpp"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <string_view>

#include "desktop_look.hpp"

namespace zarn_ui::launch {
namespace {

// The longest resource string read, in 32-bit units: far above what desktops store.
constexpr std::uint32_t kMaxResourceWords = 1u << 18;

std::optional<double> read_xft_dpi(xcb_connection_t* c, xcb_window_t root) {
  const auto cookie = xcb_get_property(c, 0, root, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 0, kMaxResourceWords);
  xcb_get_property_reply_t* reply = xcb_get_property_reply(c, cookie, nullptr);
  if (!reply) return std::nullopt;
  std::optional<double> dpi;
  if (reply->format == 8) {
    const auto* text = static_cast<const char*>(xcb_get_property_value(reply));
    dpi = xft_dpi_from_resources(
        std::string_view(text, static_cast<std::size_t>(std::max(0, xcb_get_property_value_length(reply)))));
  }
  std::free(reply);
  return dpi;
}

}  // namespace

struct ResourceWatch::Shared {
  xcb_connection_t* connection = nullptr;
  xcb_window_t root = 0;
  int stop_fd = -1;

  std::mutex mu;
  std::optional<double> dpi;
  bool changed = false;
  std::function<void()> wake;

  ~Shared() {
    if (connection) xcb_disconnect(connection);
    if (stop_fd >= 0) ::close(stop_fd);
  }

  void note(std::optional<double> now) {
    std::function<void()> to_wake;
    {
      std::lock_guard lock(mu);
      if (now == dpi) return;
      dpi = now;
      changed = true;
      to_wake = wake;
    }
    if (to_wake) to_wake();
  }

  // Until the server goes or the watch stops.
  void run() {
    pollfd fds[2] = {{xcb_get_file_descriptor(connection), POLLIN, 0}, {stop_fd, POLLIN, 0}};
    for (;;) {
      bool resources_changed = false;
      while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
        if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
          const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
          resources_changed =
              resources_changed || (notify->window == root && notify->atom == XCB_ATOM_RESOURCE_MANAGER);
        }
        std::free(event);
      }
      if (resources_changed) note(read_xft_dpi(connection, root));
      if (xcb_connection_has_error(connection)) return;
      // Replies read above may have brought events along: look again before sleeping.
      if (resources_changed) continue;
      if (::poll(fds, 2, -1) < 0 && errno != EINTR) return;
      if (fds[1].revents) return;
    }
  }
};

ResourceWatch::ResourceWatch(const std::string& display_name) : shared_(std::make_shared<Shared>()) {
  int screen_number = 0;
  xcb_connection_t* c = xcb_connect(display_name.c_str(), &screen_number);
  shared_->connection = c;
  if (xcb_connection_has_error(c)) return;
  xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
  for (int i = 0; i < screen_number && it.rem > 0; ++i) xcb_screen_next(&it);
  if (it.rem <= 0) return;
  shared_->root = it.data->root;
  shared_->stop_fd = ::eventfd(0, EFD_CLOEXEC);
  if (shared_->stop_fd < 0) return;
  // Subscribe first, then read: a change made in between is not lost.
  const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
  xcb_change_window_attributes(c, shared_->root, XCB_CW_EVENT_MASK, &mask);
  shared_->dpi = read_xft_dpi(c, shared_->root);
  if (xcb_connection_has_error(c)) return;
  thread_ = std::thread([shared = shared_] { shared->run(); });
}

ResourceWatch::~ResourceWatch() {
  if (thread_.joinable()) {
    const std::uint64_t one = 1;
    (void)!::write(shared_->stop_fd, &one, sizeof one);
    thread_.join();
  }
}

void ResourceWatch::set_waker(std::function<void()> wake) {
  std::lock_guard lock(shared_->mu);
  shared_->wake = std::move(wake);
}

std::optional<double> ResourceWatch::xft_dpi() const {
  std::lock_guard lock(shared_->mu);
  return shared_->dpi;
}

std::optional<ResourceWatch::Change> ResourceWatch::take_change() {
  std::lock_guard lock(shared_->mu);
  if (!shared_->changed) return std::nullopt;
  shared_->changed = false;
  return Change{shared_->dpi};
}

}  // namespace zarn_ui::launch
