#pragma once
// A stand-in for the desktop portal's Location interface on a private bus. It answers as its
// script says and records what the client asked for.

#include <poll.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "sdbus-c++/sdbus-c++.h"

namespace maps::testing {

inline constexpr const char* kPortalName = "org.freedesktop.portal.Desktop";
inline constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
inline constexpr const char* kLocationIface = "org.freedesktop.portal.Location";

using VariantMap = std::map<std::string, sdbus::Variant>;
// Update members as plain numbers: a variant kept past the test would outlive the bus library.
using UpdateValues = std::map<std::string, double>;

struct PortalScript {
  std::optional<std::string> create_session_error;  // D-Bus error name to fail CreateSession with
  std::optional<std::string> start_error;           // D-Bus error name to fail Start with
  std::optional<std::uint32_t> response;            // Response code; none: the request never answers
  std::optional<UpdateValues> update;               // sent on the session once Start answered
  bool foreign_update_first = false;                // an update for another session goes first
};

struct PortalRecord {
  std::vector<VariantMap> create_options;
  std::vector<VariantMap> start_options;
  std::vector<std::string> start_parent_windows;
  std::vector<std::string> sessions;
  std::vector<std::string> closed;
};

class FakePortal {
 public:
  FakePortal(const std::string& address, PortalScript script) : script_(std::move(script)) {
    connection_ = sdbus::createSessionBusConnectionWithAddress(address);
    desktop_ = sdbus::createObject(*connection_, kPortalPath);
    desktop_->registerProperty("version").onInterface(kLocationIface).withGetter([] { return std::uint32_t{1}; });
    desktop_->registerSignal("LocationUpdated")
        .onInterface(kLocationIface)
        .withParameters<sdbus::ObjectPath, VariantMap>();
    desktop_->registerMethod("CreateSession")
        .onInterface(kLocationIface)
        .implementedAs([this](const VariantMap& options) { return create_session(options); });
    desktop_->registerMethod("Start")
        .onInterface(kLocationIface)
        .implementedAs([this](sdbus::Result<sdbus::ObjectPath>&& result, sdbus::ObjectPath session, std::string parent,
                              VariantMap options) { start(std::move(result), session, parent, options); });
    desktop_->finishRegistration();
    connection_->requestName(kPortalName);
    loop_ = std::thread([this] { serve(); });
  }

  FakePortal(const FakePortal&) = delete;
  FakePortal& operator=(const FakePortal&) = delete;

  ~FakePortal() {
    stop_ = true;
    loop_.join();
    objects_.clear();
    desktop_.reset();
  }

  PortalRecord record() const {
    std::lock_guard lock(mu_);
    return record_;
  }

 private:
  // Its own loop rather than the library's: that one aborts the process when the bus goes away,
  // which one test does on purpose.
  void serve() {
    while (!stop_) {
      try {
        while (connection_->processPendingRequest()) {
        }
      } catch (const sdbus::Error&) {
        return;
      }
      sdbus::IConnection::PollData data = connection_->getEventLoopPollData();
      pollfd fd{data.fd, data.events, 0};
      int timeout = data.getPollTimeout();
      ::poll(&fd, 1, timeout < 0 || timeout > 20 ? 20 : timeout);
    }
  }

  static std::string sender_element(const sdbus::IObject& object) {
    std::string sender = object.getCurrentlyProcessedMessage()->getSender();
    if (!sender.empty() && sender.front() == ':') sender.erase(0, 1);
    for (char& c : sender) {
      if (c == '.') c = '_';
    }
    return sender;
  }

  static std::string token_of(const VariantMap& options, const char* key) {
    auto it = options.find(key);
    return it != options.end() && it->second.containsValueOfType<std::string>() ? it->second.get<std::string>()
                                                                                : std::string("none");
  }

  sdbus::ObjectPath create_session(const VariantMap& options) {
    {
      std::lock_guard lock(mu_);
      record_.create_options.push_back(options);
    }
    if (script_.create_session_error) throw sdbus::Error(*script_.create_session_error, "session refused");
    std::string path = std::string(kPortalPath) + "/session/" + sender_element(*desktop_) + "/" +
                       token_of(options, "session_handle_token");
    auto session = sdbus::createObject(*connection_, path);
    session->registerMethod("Close").onInterface("org.freedesktop.portal.Session").implementedAs([this, path] {
      std::lock_guard lock(mu_);
      record_.closed.push_back(path);
    });
    session->finishRegistration();
    objects_.push_back(std::move(session));
    std::lock_guard lock(mu_);
    record_.sessions.push_back(path);
    return sdbus::ObjectPath(path);
  }

  void start(sdbus::Result<sdbus::ObjectPath>&& result, const sdbus::ObjectPath& session, const std::string& parent,
             const VariantMap& options) {
    {
      std::lock_guard lock(mu_);
      record_.start_options.push_back(options);
      record_.start_parent_windows.push_back(parent);
    }
    if (script_.start_error) {
      result.returnError(sdbus::Error(*script_.start_error, "start refused"));
      return;
    }
    std::string path =
        std::string(kPortalPath) + "/request/" + sender_element(*desktop_) + "/" + token_of(options, "handle_token");
    auto request = sdbus::createObject(*connection_, path);
    request->registerSignal("Response")
        .onInterface("org.freedesktop.portal.Request")
        .withParameters<std::uint32_t, VariantMap>();
    request->finishRegistration();
    result.returnResults(sdbus::ObjectPath(path));
    if (script_.response) {
      request->emitSignal("Response")
          .onInterface("org.freedesktop.portal.Request")
          .withArguments(*script_.response, VariantMap{});
    }
    if (script_.foreign_update_first) {
      VariantMap elsewhere{
          {"Latitude", sdbus::Variant(1.0)}, {"Longitude", sdbus::Variant(2.0)}, {"Accuracy", sdbus::Variant(3.0)}};
      desktop_->emitSignal("LocationUpdated")
          .onInterface(kLocationIface)
          .withArguments(sdbus::ObjectPath(std::string(kPortalPath) + "/session/other/x"), elsewhere);
    }
    if (script_.update) {
      VariantMap values;
      for (const auto& [key, value] : *script_.update) values.emplace(key, sdbus::Variant(value));
      desktop_->emitSignal("LocationUpdated").onInterface(kLocationIface).withArguments(session, values);
    }
    objects_.push_back(std::move(request));
  }

  PortalScript script_;
  mutable std::mutex mu_;
  PortalRecord record_;
  std::unique_ptr<sdbus::IConnection> connection_;
  std::unique_ptr<sdbus::IObject> desktop_;
  std::vector<std::unique_ptr<sdbus::IObject>> objects_;  // touched on the bus thread only
  std::atomic<bool> stop_{false};
  std::thread loop_;
};

}  // namespace maps::testing
