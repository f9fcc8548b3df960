// The portal exchange: CreateSession, subscribe to LocationUpdated, Start and wait for both
// the Start response and the first update, then Close. Its own connection, its own loop.

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fmt/format.h"
#include "location/handle_token.hpp"
#include "location/location.hpp"
#include "sdbus-c++/sdbus-c++.h"

namespace maps {
namespace {

constexpr const char* kDesktop = "org.freedesktop.portal.Desktop";
constexpr const char* kDesktopPath = "/org/freedesktop/portal/desktop";
constexpr const char* kLocation = "org.freedesktop.portal.Location";
constexpr const char* kSession = "org.freedesktop.portal.Session";
constexpr const char* kRequest = "org.freedesktop.portal.Request";
constexpr std::uint32_t kAccuracyExact = 5;
// Close is fire-and-forget in spirit; a stuck portal must not hold the thread.
constexpr std::chrono::seconds kCloseTimeout{2};
// The bus's own time-out for Start must never win over the fix deadline, which is reported as such.
constexpr std::chrono::seconds kStartReplyMargin{5};

using Clock = std::chrono::steady_clock;
using Options = std::map<std::string, sdbus::Variant>;

std::string display(const sdbus::Error& e) {
  if (e.getMessage().empty()) return e.getName();
  return fmt::format("{}: {}", e.getName(), e.getMessage());
}

PortalError bus_error(const sdbus::Error& e) { return PortalError{false, 0, display(e)}; }

// A refusal is the portal's answer; any other error of the exchange is a failure of the service.
base::Error portal_failure(const PortalError& error) {
  return base::err(error.negative_response ? base::ErrorKind::ServiceError : base::ErrorKind::Other,
                   portal_error_text(error));
}

std::optional<double> read_double(const Options& values, const char* key) {
  auto it = values.find(key);
  if (it == values.end() || !it->second.containsValueOfType<double>()) return std::nullopt;
  double v = it->second.get<double>();
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

// An update without usable coordinates is no fix; the wait goes on.
std::optional<LocationFix> fix_from(const Options& values) {
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

// Closes the portal session when the exchange ends, whatever the outcome.
class SessionCloser {
 public:
  SessionCloser(sdbus::IConnection& connection, sdbus::ObjectPath session)
      : connection_(connection), session_(std::move(session)) {}
  SessionCloser(const SessionCloser&) = delete;
  SessionCloser& operator=(const SessionCloser&) = delete;
  ~SessionCloser() {
    try {
      auto proxy = sdbus::createProxy(connection_, kDesktop, session_);
      proxy->callMethod("Close").onInterface(kSession).withTimeout(kCloseTimeout);
    } catch (...) {
      // The answer is of no interest, nor is a failure to get one.
    }
  }

 private:
  sdbus::IConnection& connection_;
  sdbus::ObjectPath session_;
};

// What the signal handlers and the Start reply report to the waiting loop.
struct Progress {
  bool start_done = false;
  std::optional<PortalError> start_error;
  std::optional<LocationFix> fix;
  bool connection_lost = false;
  sdbus::ObjectPath request_path;  // where the Start answer is expected
};

class Exchange {
 public:
  explicit Exchange(const LocationOptions& options) : options_(options) {}

  LocationOutcome run() {
    try {
      connection_ = options_.bus_address.empty() ? sdbus::createSessionBusConnection()
                                                 : sdbus::createSessionBusConnectionWithAddress(options_.bus_address);
      desktop_ = sdbus::createProxy(*connection_, kDesktop, kDesktopPath);
      // Reading the interface's version tells whether a portal with Location is there at all.
      (void)desktop_->getProperty("version").onInterface(kLocation);
    } catch (const sdbus::Error& e) {
      return base::err(base::ErrorKind::Unreachable, fmt::format("location portal unavailable: {}", display(e)));
    }

    sdbus::ObjectPath session;
    try {
      Options options{{"session_handle_token", sdbus::Variant(new_handle_token())},
                      {"accuracy", sdbus::Variant(kAccuracyExact)}};
      desktop_->callMethod("CreateSession").onInterface(kLocation).withArguments(options).storeResultsTo(session);
    } catch (const sdbus::Error& e) {
      return portal_failure(bus_error(e));
    }
    SessionCloser closer(*connection_, session);

    try {
      updates_ = connection_->addMatch(signal_rule(kDesktopPath, kLocation, "LocationUpdated"),
                                       [this, session](sdbus::Message& m) { on_update(m, session); });
    } catch (const sdbus::Error& e) {
      return portal_failure(bus_error(e));
    }

    return start_and_wait(session);
  }

 private:
  LocationOutcome start_and_wait(const sdbus::ObjectPath& session) {
    const auto deadline = Clock::now() + options_.fix_timeout;
    const std::string token = new_handle_token();
    try {
      // Subscribe where the portal will answer before asking, so the answer cannot slip past.
      progress_.request_path = request_path_for(connection_->getUniqueName(), token);
      watch_response(progress_.request_path);
      Options options{{"handle_token", sdbus::Variant(token)}};
      start_call_ = desktop_->callMethodAsync("Start")
                        .onInterface(kLocation)
                        .withTimeout(options_.fix_timeout + kStartReplyMargin)
                        .withArguments(session, std::string{}, options)
                        .uponReplyInvoke([this](const sdbus::Error* error, sdbus::ObjectPath handle) {
                          on_start_reply(error, std::move(handle));
                        });
    } catch (const sdbus::Error& e) {
      return portal_failure(bus_error(e));
    }

    bool timed_out = !wait_until(deadline);

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

  // Pumps the connection until Start has answered and an update came, Start failed or the
  // connection went away. False when the deadline passed first.
  bool wait_until(Clock::time_point deadline) {
    auto finished = [&] {
      return (progress_.start_done && progress_.fix) || progress_.start_error || progress_.connection_lost;
    };
    while (!finished()) {
      try {
        while (!finished() && connection_->processPendingRequest()) {
        }
      } catch (const sdbus::Error&) {
        progress_.connection_lost = true;
      }
      if (finished()) break;
      auto now = Clock::now();
      if (now >= deadline) return false;
      // Capped so a long limit never overflows poll's int; the loop simply comes round again.
      auto remaining = std::min<long long>(std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count(), 1000);
      sdbus::IConnection::PollData data = connection_->getEventLoopPollData();
      int bus_timeout = data.getPollTimeout();
      int timeout =
          bus_timeout < 0 ? static_cast<int>(remaining) : static_cast<int>(std::min<long long>(bus_timeout, remaining));
      pollfd fd{data.fd, data.events, 0};
      int rc = ::poll(&fd, 1, timeout);
      if (rc < 0 && errno != EINTR) progress_.connection_lost = true;
      if (rc > 0 && (fd.revents & (POLLHUP | POLLERR | POLLNVAL)) && !(fd.revents & POLLIN)) {
        progress_.connection_lost = true;
      }
    }
    return true;
  }

  void watch_response(const sdbus::ObjectPath& path) {
    responses_.push_back(
        connection_->addMatch(signal_rule(path, kRequest, "Response"), [this](sdbus::Message& m) { on_response(m); }));
  }

  void on_start_reply(const sdbus::Error* error, sdbus::ObjectPath handle) {
    if (error) {
      if (!progress_.start_done) progress_.start_error = bus_error(*error);
      return;
    }
    // Older portals choose the request path themselves; follow it when it differs.
    if (handle != progress_.request_path) {
      progress_.request_path = handle;
      try {
        watch_response(handle);
      } catch (const sdbus::Error& e) {
        progress_.start_error = bus_error(e);
      }
    }
  }

  void on_response(sdbus::Message& m) {
    try {
      if (m.getPath() != progress_.request_path || progress_.start_done || progress_.start_error) return;
      std::uint32_t code = 0;
      Options results;
      m >> code >> results;
      if (code == 0) {
        progress_.start_done = true;
      } else {
        progress_.start_error = PortalError{true, code, fmt::format("request ended with response {}", code)};
      }
    } catch (const sdbus::Error& e) {
      progress_.start_error = bus_error(e);
    }
  }

  void on_update(sdbus::Message& m, const sdbus::ObjectPath& session) {
    try {
      if (progress_.fix) return;  // only the first update counts
      sdbus::ObjectPath handle;
      Options values;
      m >> handle >> values;
      if (handle != session) return;
      progress_.fix = fix_from(values);
    } catch (const sdbus::Error&) {
      // A malformed update is no fix.
    }
  }

  const LocationOptions& options_;
  Progress progress_;
  // Destroyed bottom-up: the pending call and the handlers go before the proxy and the
  // connection they use.
  std::unique_ptr<sdbus::IConnection> connection_;
  std::unique_ptr<sdbus::IProxy> desktop_;
  sdbus::Slot updates_;
  std::vector<sdbus::Slot> responses_;
  sdbus::PendingAsyncCall start_call_;
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
