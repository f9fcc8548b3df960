// The portal exchange: CreateSession, subscribe to LocationUpdated, Start and wait for both
// the Start response and the first update, then Close. Its own connection, its own loop.

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <map>
#include <optional>
#include <string>

#include "desktop_bus/connection.hpp"
#include "fmt/format.h"
#include "location/handle_token.hpp"
#include "location/location.hpp"

namespace maps {
namespace {

using desktop_bus::ArgReader;
using desktop_bus::BusError;
using desktop_bus::Message;

constexpr const char* kDesktop = "org.freedesktop.portal.Desktop";
constexpr const char* kDesktopPath = "/org/freedesktop/portal/desktop";
constexpr const char* kLocation = "org.freedesktop.portal.Location";
constexpr const char* kSession = "org.freedesktop.portal.Session";
constexpr const char* kRequest = "org.freedesktop.portal.Request";
constexpr std::uint32_t kAccuracyExact = 5;
// Close is fire-and-forget in spirit; a stuck portal must not hold the thread.
constexpr int kCloseTimeoutMs = 2000;
// The bus library's own limit for the steps that have none of their own.
constexpr int kDefaultTimeout = -1;

using Clock = std::chrono::steady_clock;
using Values = std::map<std::string, ArgReader>;

PortalError bus_error(const BusError& e) { return PortalError{false, 0, e.display()}; }

// A refusal is the portal's answer; any other error of the exchange is a failure of the service.
base::Error portal_failure(const PortalError& error) {
  return base::err(error.negative_response ? base::ErrorKind::ServiceError : base::ErrorKind::Other,
                   portal_error_text(error));
}

std::optional<double> read_double(const Values& values, const char* key) {
  auto it = values.find(key);
  if (it == values.end()) return std::nullopt;
  ArgReader value = it->second;
  auto v = value.f64();
  if (!v || !std::isfinite(*v)) return std::nullopt;
  return v;
}

// An update without usable coordinates is no fix; the wait goes on.
std::optional<LocationFix> fix_from(const Values& values) {
  auto lat = read_double(values, "Latitude");
  auto lon = read_double(values, "Longitude");
  auto accuracy = read_double(values, "Accuracy");
  if (!lat || !lon || !accuracy) return std::nullopt;
  if (std::fabs(*lat) > 90.0 || std::fabs(*lon) > 180.0) return std::nullopt;
  return LocationFix{*lat, *lon, *accuracy};
}

std::string signal_rule(const std::string& path, const char* interface, const char* member) {
  return fmt::format("type='signal',sender='{}',path='{}',interface='{}',member='{}'", kDesktop, path, interface,
                     member);
}

BusError no_memory() { return BusError{DBUS_ERROR_NO_MEMORY, "out of memory"}; }

// Closes the portal session when the exchange ends, whatever the outcome.
class SessionCloser {
 public:
  SessionCloser(desktop_bus::Connection& connection, std::string session)
      : connection_(connection), session_(std::move(session)) {}
  SessionCloser(const SessionCloser&) = delete;
  SessionCloser& operator=(const SessionCloser&) = delete;
  ~SessionCloser() {
    // The answer is of no interest, nor is a failure to get one.
    Message close = desktop_bus::method_call(kDesktop, session_.c_str(), kSession, "Close");
    BusError ignored;
    if (close && connection_.connected()) (void)connection_.call(close.get(), kCloseTimeoutMs, ignored);
  }

 private:
  desktop_bus::Connection& connection_;
  std::string session_;
};

// What the signals and the Start reply report to the waiting loop.
struct Progress {
  bool start_done = false;
  std::optional<PortalError> start_error;
  std::optional<LocationFix> fix;
  bool connection_lost = false;
  std::string request_path;  // where the Start answer is expected
};

class Exchange {
 public:
  explicit Exchange(const LocationOptions& options) : options_(options) {}

  LocationOutcome run() {
    BusError error;
    auto connection = desktop_bus::Connection::open(options_.bus_address, kDefaultTimeout, error);
    // Reading the interface's version tells whether a portal with Location is there at all.
    if (!connection || !read_version(*connection, error)) {
      return base::err(base::ErrorKind::Unreachable, fmt::format("location portal unavailable: {}", error.display()));
    }
    desktop_bus::Connection& bus = *connection;

    Message create = desktop_bus::method_call(kDesktop, kDesktopPath, kLocation, "CreateSession");
    if (!create || !desktop_bus::ArgWriter(create.get())
                        .vardict({{"session_handle_token", new_handle_token()}, {"accuracy", kAccuracyExact}})
                        .ok()) {
      return portal_failure(bus_error(no_memory()));
    }
    Message created = bus.call(create.get(), kDefaultTimeout, error);
    if (!created) return portal_failure(bus_error(error));
    auto session = ArgReader(created.get()).object_path();
    if (!session) return portal_failure(bus_error(desktop_bus::malformed_reply("the CreateSession reply")));
    // Signals count only from the connection that owns the portal's name and made the session.
    const char* portal = dbus_message_get_sender(created.get());
    portal_ = portal ? portal : "";
    SessionCloser closer(bus, *session);

    if (!bus.add_match(signal_rule(kDesktopPath, kLocation, "LocationUpdated"), error)) {
      return portal_failure(bus_error(error));
    }
    return start_and_wait(bus, *session);
  }

 private:
  static bool read_version(desktop_bus::Connection& bus, BusError& error) {
    Message get = desktop_bus::method_call(kDesktop, kDesktopPath, DBUS_INTERFACE_PROPERTIES, "Get");
    if (!get || !desktop_bus::ArgWriter(get.get()).string(kLocation).string("version").ok()) {
      error = no_memory();
      return false;
    }
    return bus.call(get.get(), kDefaultTimeout, error) != nullptr;
  }

  LocationOutcome start_and_wait(desktop_bus::Connection& bus, const std::string& session) {
    const auto deadline = Clock::now() + options_.fix_timeout;
    const std::string token = new_handle_token();
    BusError error;
    // Subscribe where the portal will answer before asking, so the answer cannot slip past.
    progress_.request_path = request_path_for(bus.unique_name(), token);
    if (!bus.add_match(signal_rule(progress_.request_path, kRequest, "Response"), error)) {
      return portal_failure(bus_error(error));
    }
    Message start = desktop_bus::method_call(kDesktop, kDesktopPath, kLocation, "Start");
    // The reply is awaited in the loop below, whose deadline bounds it.
    if (!start ||
        !desktop_bus::ArgWriter(start.get()).object_path(session).string("").vardict({{"handle_token", token}}).ok() ||
        !bus.send(start.get(), &start_serial_)) {
      return portal_failure(bus_error(no_memory()));
    }

    bool timed_out = !wait_until(bus, session, deadline);

    // A refused Start ends the wait at once: no update follows a refusal, and the user should
    // read why, not a time-out.
    if (progress_.start_error) return portal_failure(*progress_.start_error);
    if (timed_out) return base::err(base::ErrorKind::TimedOut, "timed out waiting for a location fix");
    // Only a lost connection ends the wait without both; the updates ended with it.
    if (!progress_.fix || !progress_.start_done) {
      return base::err(base::ErrorKind::NoResult, "no location fix available");
    }
    return *progress_.fix;
  }

  // Reads the connection until Start has answered and an update came, Start failed or the
  // connection went away. False when the deadline passed first.
  bool wait_until(desktop_bus::Connection& bus, const std::string& session, Clock::time_point deadline) {
    auto finished = [&] {
      return (progress_.start_done && progress_.fix) || progress_.start_error || progress_.connection_lost;
    };
    while (!finished()) {
      while (!finished()) {
        Message message = bus.pop();
        if (!message) break;
        handle(bus, message.get(), session);
      }
      if (finished()) break;
      if (!bus.connected()) {
        progress_.connection_lost = true;
        break;
      }
      auto now = Clock::now();
      if (now >= deadline) return false;
      // Capped so a long limit never overflows poll's int; the loop simply comes round again.
      auto remaining = std::min<long long>(std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count(), 1000);
      pollfd fd{bus.fd(), POLLIN, 0};
      int rc = ::poll(&fd, 1, static_cast<int>(remaining));
      if (rc < 0 && errno != EINTR) progress_.connection_lost = true;
      if (rc > 0 && (fd.revents & POLLNVAL)) progress_.connection_lost = true;
      // Reading also notices a hang-up: the connection then reports itself closed.
      if (rc > 0 && !bus.read(0)) progress_.connection_lost = true;
    }
    return true;
  }

  void handle(desktop_bus::Connection& bus, DBusMessage* message, const std::string& session) {
    const int type = dbus_message_get_type(message);
    if (type == DBUS_MESSAGE_TYPE_METHOD_RETURN || type == DBUS_MESSAGE_TYPE_ERROR) {
      if (dbus_message_get_reply_serial(message) == start_serial_) on_start_reply(bus, message);
      return;
    }
    if (type != DBUS_MESSAGE_TYPE_SIGNAL) return;
    if (dbus_message_is_signal(message, DBUS_INTERFACE_LOCAL, "Disconnected")) {
      progress_.connection_lost = true;
      return;
    }
    const char* sender = dbus_message_get_sender(message);
    if (!sender || portal_ != sender) return;
    if (desktop_bus::is_signal(message, kRequest, "Response")) on_response(message);
    if (desktop_bus::is_signal(message, kLocation, "LocationUpdated")) on_update(message, session);
  }

  void on_start_reply(desktop_bus::Connection& bus, DBusMessage* reply) {
    if (dbus_message_get_type(reply) == DBUS_MESSAGE_TYPE_ERROR) {
      const char* name = dbus_message_get_error_name(reply);
      auto text = ArgReader(reply).string();
      if (!progress_.start_done) {
        progress_.start_error = bus_error(BusError{name ? name : DBUS_ERROR_FAILED, text.value_or("")});
      }
      return;
    }
    auto handle = ArgReader(reply).object_path();
    if (!handle) {
      progress_.start_error = bus_error(desktop_bus::malformed_reply("the Start reply"));
      return;
    }
    // Older portals choose the request path themselves; follow it when it differs.
    if (*handle != progress_.request_path) {
      progress_.request_path = *handle;
      BusError error;
      if (!bus.add_match(signal_rule(*handle, kRequest, "Response"), error)) progress_.start_error = bus_error(error);
    }
  }

  void on_response(DBusMessage* message) {
    const char* path = dbus_message_get_path(message);
    if (!path || progress_.request_path != path || progress_.start_done || progress_.start_error) return;
    ArgReader args(message);
    auto code = args.u32();
    if (!code || !args.vardict()) {
      progress_.start_error = bus_error(desktop_bus::malformed_reply("the request's Response"));
      return;
    }
    if (*code == 0) {
      progress_.start_done = true;
    } else {
      progress_.start_error = PortalError{true, *code, fmt::format("request ended with response {}", *code)};
    }
  }

  void on_update(DBusMessage* message, const std::string& session) {
    if (progress_.fix) return;  // only the first update counts
    const char* path = dbus_message_get_path(message);
    if (!path || std::string_view(path) != kDesktopPath) return;
    ArgReader args(message);
    auto handle = args.object_path();
    if (!handle || *handle != session) return;
    // A malformed update is no fix.
    if (auto values = args.vardict()) progress_.fix = fix_from(*values);
  }

  const LocationOptions& options_;
  Progress progress_;
  std::string portal_;  // the portal's unique bus name
  dbus_uint32_t start_serial_ = 0;
};

}  // namespace

std::string portal_error_text(const PortalError& error) {
  if (error.negative_response) return "permission denied";
  return error.text;
}

LocationOutcome request_location(const LocationOptions& options) {
  try {
    Exchange exchange(options);
    return exchange.run();
  } catch (const std::exception& e) {
    return base::err(fmt::format("location runtime: {}", e.what()));
  }
}

}  // namespace maps
