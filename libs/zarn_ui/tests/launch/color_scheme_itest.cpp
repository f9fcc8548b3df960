// The desktop's colour scheme read from a stand-in settings portal on a private bus: both ways of
// asking, every answer, and a portal that is absent or never answers (start-up must not wait).

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <vector>

#include "desktop_look.hpp"
#include "base_testing/private_bus.hpp"
#include "sdbus-c++/sdbus-c++.h"

namespace zarn_ui::launch {
namespace {

using Clock = std::chrono::steady_clock;

struct PortalScript {
  bool read_one = true;  // offers ReadOne (else only the older Read)
  bool answers = true;   // false: takes the call and never replies
  sdbus::Variant value{std::uint32_t{0}};
};

// org.freedesktop.portal.Settings on the bus, answering ("org.freedesktop.appearance",
// "color-scheme") as the script says and refusing every other key.
class FakeSettingsPortal {
 public:
  FakeSettingsPortal(const std::string& address, PortalScript script) : script_(std::move(script)) {
    connection_ = sdbus::createSessionBusConnectionWithAddress(address);
    object_ = sdbus::createObject(*connection_, "/org/freedesktop/portal/desktop");
    const char* iface = "org.freedesktop.portal.Settings";
    if (script_.read_one) {
      object_->registerMethod("ReadOne").onInterface(iface).implementedAs(
          [this](sdbus::Result<sdbus::Variant>&& result, const std::string& ns, const std::string& key) {
            answer(std::move(result), ns, key, script_.value);
          });
    }
    object_->registerMethod("Read").onInterface(iface).implementedAs(
        [this](sdbus::Result<sdbus::Variant>&& result, const std::string& ns, const std::string& key) {
          answer(std::move(result), ns, key, sdbus::Variant(script_.value));
        });
    object_->finishRegistration();
    connection_->requestName("org.freedesktop.portal.Desktop");
    connection_->enterEventLoopAsync();
  }
  ~FakeSettingsPortal() {
    connection_->leaveEventLoop();
    object_.reset();
  }

 private:
  void answer(sdbus::Result<sdbus::Variant>&& result, const std::string& ns, const std::string& key,
              const sdbus::Variant& value) {
    if (!script_.answers) {
      held_.push_back(std::move(result));
      return;
    }
    if (ns != "org.freedesktop.appearance" || key != "color-scheme") {
      result.returnError(sdbus::Error("org.freedesktop.portal.Error.NotFound", "no such key"));
      return;
    }
    result.returnResults(value);
  }

  PortalScript script_;
  std::unique_ptr<sdbus::IConnection> connection_;
  std::unique_ptr<sdbus::IObject> object_;
  std::vector<sdbus::Result<sdbus::Variant>> held_;
};

constexpr std::chrono::milliseconds kTimeout{300};

TEST(ColorScheme, EveryAnswerOfBothPortalMethods) {
  struct Case {
    const char* name;
    PortalScript script;
    ColorScheme expected;
  };
  const std::vector<Case> cases = {
      {"dark", {true, true, sdbus::Variant(std::uint32_t{1})}, ColorScheme::Dark},
      {"light", {true, true, sdbus::Variant(std::uint32_t{2})}, ColorScheme::Light},
      {"no preference", {true, true, sdbus::Variant(std::uint32_t{0})}, ColorScheme::NoPreference},
      {"a value out of range", {true, true, sdbus::Variant(std::uint32_t{7})}, ColorScheme::NoPreference},
      {"a value of another type", {true, true, sdbus::Variant(std::string("dark"))}, ColorScheme::NoPreference},
      {"older portal, dark", {false, true, sdbus::Variant(std::uint32_t{1})}, ColorScheme::Dark},
      {"older portal, light", {false, true, sdbus::Variant(std::uint32_t{2})}, ColorScheme::Light},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto bus = base_testing::PrivateBus::start();
    ASSERT_NE(bus, nullptr) << "dbus-daemon did not start";
    FakeSettingsPortal portal(bus->address(), c.script);
    EXPECT_EQ(read_color_scheme(bus->address(), kTimeout), c.expected);
  }
}

// Without an answer the scheme is "no preference", soon: no bus, no portal, a silent portal.
TEST(ColorScheme, NoAnswerIsNoPreferenceWithoutWaiting) {
  auto bus = base_testing::PrivateBus::start();
  ASSERT_NE(bus, nullptr) << "dbus-daemon did not start";
  for (const char* address : {"unix:path=/nonexistent/zarn-bus", bus->address().c_str()}) {
    SCOPED_TRACE(address);
    const auto start = Clock::now();
    EXPECT_EQ(read_color_scheme(address, kTimeout), ColorScheme::NoPreference);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
  }
  FakeSettingsPortal silent(bus->address(), {true, false, sdbus::Variant(std::uint32_t{1})});
  const auto start = Clock::now();
  EXPECT_EQ(read_color_scheme(bus->address(), kTimeout), ColorScheme::NoPreference);
  const auto waited = Clock::now() - start;
  EXPECT_GE(waited, kTimeout - std::chrono::milliseconds(50));
  EXPECT_LT(waited, std::chrono::seconds(2));
}

}  // namespace
}  // namespace zarn_ui::launch
