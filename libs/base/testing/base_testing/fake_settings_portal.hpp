#pragma once
// A stand-in for the desktop's settings portal (org.freedesktop.portal.Settings) on a test's own
// bus: it answers ReadOne (unless told to offer only the older Read) for the appearance keys it
// holds, refuses the others as the portal does, can be told never to answer, and sends
// SettingChanged when a test changes a key. Users link sdbus-c++.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "sdbus-c++/sdbus-c++.h"

namespace base_testing {

struct SettingsPortalScript {
  bool read_one = true;  // offers ReadOne (else only the older Read)
  bool answers = true;   // false: takes every call and never replies
  // The keys of "org.freedesktop.appearance" it holds.
  std::map<std::string, sdbus::Variant> appearance;
};

class FakeSettingsPortal {
 public:
  static constexpr const char* kInterface = "org.freedesktop.portal.Settings";
  static constexpr const char* kPath = "/org/freedesktop/portal/desktop";
  static constexpr const char* kAppearance = "org.freedesktop.appearance";

  FakeSettingsPortal(const std::string& bus_address, SettingsPortalScript script) : script_(std::move(script)) {
    connection_ = sdbus::createSessionBusConnectionWithAddress(bus_address);
    object_ = sdbus::createObject(*connection_, kPath);
    if (script_.read_one) {
      object_->registerMethod("ReadOne")
          .onInterface(kInterface)
          .implementedAs([this](sdbus::Result<sdbus::Variant>&& result, const std::string& ns, const std::string& key) {
            answer(std::move(result), ns, key, false);
          });
    }
    object_->registerMethod("Read")
        .onInterface(kInterface)
        .implementedAs([this](sdbus::Result<sdbus::Variant>&& result, const std::string& ns, const std::string& key) {
          answer(std::move(result), ns, key, true);
        });
    object_->registerSignal("SettingChanged")
        .onInterface(kInterface)
        .withParameters<std::string, std::string, sdbus::Variant>();
    object_->finishRegistration();
    connection_->requestName("org.freedesktop.portal.Desktop");
    connection_->enterEventLoopAsync();
  }
  ~FakeSettingsPortal() {
    connection_->leaveEventLoop();
    object_.reset();
  }
  FakeSettingsPortal(const FakeSettingsPortal&) = delete;
  FakeSettingsPortal& operator=(const FakeSettingsPortal&) = delete;

  // Sets an appearance key and announces it, as the portal does when the desktop changes it.
  void change(const std::string& key, const sdbus::Variant& value) {
    {
      std::lock_guard lock(mu_);
      script_.appearance[key] = value;
    }
    object_->emitSignal("SettingChanged").onInterface(kInterface).withArguments(std::string(kAppearance), key, value);
  }
  // Sends SettingChanged with any arguments, as a faulty portal might.
  template <typename... Args>
  void send_setting_changed(const Args&... args) {
    object_->emitSignal("SettingChanged").onInterface(kInterface).withArguments(args...);
  }

 private:
  void answer(sdbus::Result<sdbus::Variant>&& result, const std::string& ns, const std::string& key, bool wrapped) {
    std::lock_guard lock(mu_);
    if (!script_.answers) {
      held_.push_back(std::move(result));
      return;
    }
    const auto it = ns == kAppearance ? script_.appearance.find(key) : script_.appearance.end();
    if (it == script_.appearance.end()) {
      result.returnError(sdbus::Error("org.freedesktop.portal.Error.NotFound", "Requested setting not found"));
      return;
    }
    result.returnResults(wrapped ? sdbus::Variant(it->second) : it->second);
  }

  std::mutex mu_;
  SettingsPortalScript script_;
  std::unique_ptr<sdbus::IConnection> connection_;
  std::unique_ptr<sdbus::IObject> object_;
  std::vector<sdbus::Result<sdbus::Variant>> held_;
};

}  // namespace base_testing
