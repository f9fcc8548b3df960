#include "settings_portal_watch.hpp"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <mutex>
#include <string_view>
#include <system_error>
#include <thread>

#include "desktop_bus/connection.hpp"

namespace zarn_ui::launch {
namespace {

using Clock = std::chrono::steady_clock;
using desktop_bus::ArgReader;

constexpr const char* kPortal = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* kSettings = "org.freedesktop.portal.Settings";
// The bus delivers only what the portal's owner broadcasts on this path.
constexpr const char* kSettingChangedRule =
    "type='signal',sender='org.freedesktop.portal.Desktop',path='/org/freedesktop/portal/desktop',"
    "interface='org.freedesktop.portal.Settings',member='SettingChanged'";

std::optional<std::uint32_t> number_of(ArgReader value) { return value.u32(); }

}  // namespace

struct SettingsPortalWatch::Shared {
  std::mutex mu;
  DesktopLook look;
  bool changed = false;
  // Keys a signal has set: the start-up read does not undo them.
  bool signalled_scheme = false;
  bool signalled_contrast = false;
  std::function<void()> wake;

  void apply(std::string_view ns, std::string_view key, std::optional<std::uint32_t> value, bool from_signal) {
    std::function<void()> to_wake;
    {
      std::lock_guard lock(mu);
      DesktopLook next = look;
      if (!apply_appearance_setting(next, ns, key, value)) return;
      bool& signalled = key == kColorSchemeKey ? signalled_scheme : signalled_contrast;
      if (from_signal) {
        signalled = true;
      } else if (signalled) {
        return;
      }
      if (next == look) return;
      look = next;
      if (!from_signal) return;
      changed = true;
      to_wake = wake;
    }
    if (to_wake) to_wake();
  }

  // A SettingChanged (namespace, key, variant value) from the portal; any other shape is ignored.
  void on_message(DBusMessage* message) {
    if (!desktop_bus::is_signal(message, kSettings, "SettingChanged")) return;
    // The portal broadcasts its changes; a signal sent to this connection alone passed no
    // check of its sender on the bus.
    if (dbus_message_get_destination(message) != nullptr) return;
    const char* path = dbus_message_get_path(message);
    if (!path || std::string_view(path) != kPortalPath) return;
    ArgReader args(message);
    auto ns = args.string();
    auto key = args.string();
    auto value = args.variant();
    if (!ns || !key || !value) return;
    apply(*ns, *key, number_of(*value), true);
  }
};

// Reads the connection on a thread of its own until asked to stop or the bus goes away. It
// sleeps in poll on the bus socket and a stop event, so an idle watch costs nothing.
class SettingsPortalWatch::BusReader {
 public:
  // Throws std::system_error when no stop event or thread can be had.
  BusReader(desktop_bus::Connection connection, std::shared_ptr<Shared> shared)
      : connection_(std::move(connection)), shared_(std::move(shared)) {
    stop_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (stop_ < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
    try {
      thread_ = std::thread([this] { run(); });
    } catch (...) {
      ::close(stop_);
      throw;
    }
  }
  ~BusReader() {
    const std::uint64_t one = 1;
    // The event stays set until the thread sees it; a failed write leaves nothing to retry.
    (void)!::write(stop_, &one, sizeof one);
    thread_.join();
    ::close(stop_);
  }
  BusReader(const BusReader&) = delete;
  BusReader& operator=(const BusReader&) = delete;

 private:
  void run() {
    for (;;) {
      while (auto message = connection_.pop()) shared_->on_message(message.get());
      std::array<pollfd, 2> fds{{{connection_.fd(), POLLIN, 0}, {stop_, POLLIN, 0}}};
      const int rc = ::poll(fds.data(), fds.size(), -1);
      if (rc < 0) {
        if (errno == EINTR) continue;
        return;
      }
      if (fds[1].revents != 0) return;
      if (fds[0].revents & POLLNVAL) return;
      if (fds[0].revents != 0 && !connection_.read(0)) return;  // the bus went away
    }
  }

  desktop_bus::Connection connection_;
  std::shared_ptr<Shared> shared_;
  int stop_ = -1;
  std::thread thread_;
};

SettingsPortalWatch::SettingsPortalWatch(const std::string& bus_address, std::chrono::milliseconds timeout)
    : shared_(std::make_shared<Shared>()) {
  const auto deadline = Clock::now() + timeout;
  auto left_ms = [&] {
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count());
  };
  desktop_bus::BusError error;
  auto connection = desktop_bus::Connection::open(bus_address, std::max(left_ms(), 1), error);
  // Subscribed before the reads, so that no change made in between is lost.
  if (!connection || !connection->add_match(kSettingChangedRule, error)) return;

  // The current values. Portals before ReadOne have only Read, which wraps the value in one more
  // variant. A key the portal refuses (an older one has no "contrast") keeps no preference.
  bool read_one = true;
  for (const std::string_view key : std::array{kColorSchemeKey, kContrastKey}) {
    const int left = left_ms();
    if (left <= 0) break;
    const std::string ns(kAppearanceNamespace), name(key);
    auto ask = [&](const char* method) -> desktop_bus::Message {
      error = {};
      desktop_bus::Message call = desktop_bus::method_call(kPortal, kPortalPath, kSettings, method);
      if (!call || !desktop_bus::ArgWriter(call.get()).string(ns).string(name).ok()) return nullptr;
      return connection->call(call.get(), left, error);
    };
    desktop_bus::Message reply;
    if (read_one) {
      reply = ask("ReadOne");
      if (!reply && error.name == DBUS_ERROR_UNKNOWN_METHOD) read_one = false;
    }
    if (!read_one) reply = ask("Read");
    // The deadline above bounds a portal that does not answer.
    if (!reply) continue;
    ArgReader args(reply.get());
    auto value = args.variant();
    if (!value) continue;  // a reply of another shape says nothing
    if (!read_one && value->type() == DBUS_TYPE_VARIANT) value = value->variant();
    shared_->apply(ns, name, number_of(*value), false);
  }

  // Changes that came while the values were read were queued: they apply after the reads.
  while (auto message = connection->pop()) shared_->on_message(message.get());
  try {
    reader_ = std::make_unique<BusReader>(std::move(*connection), shared_);
  } catch (const std::system_error&) {
    // Without a reader nothing is watched; the look read so far stays.
  }
}

SettingsPortalWatch::~SettingsPortalWatch() {
  // Stops the bus thread before the shared part can go.
  reader_.reset();
}

DesktopLook SettingsPortalWatch::look() const {
  std::lock_guard lock(shared_->mu);
  return shared_->look;
}

void SettingsPortalWatch::set_waker(std::function<void()> wake) {
  std::lock_guard lock(shared_->mu);
  shared_->wake = std::move(wake);
}

std::optional<DesktopLook> SettingsPortalWatch::take_change() {
  std::lock_guard lock(shared_->mu);
  if (!shared_->changed) return std::nullopt;
  shared_->changed = false;
  return shared_->look;
}

}  // namespace zarn_ui::launch
