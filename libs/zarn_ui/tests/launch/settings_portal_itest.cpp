// The desktop's look read from and followed through a stand-in settings portal on a private bus:
// both ways of asking, every answer, a portal that is absent, silent or starts late (start-up must
// not wait), and the SettingChanged signals that change the look and wake the loop, or must not.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "base_testing/fake_settings_portal.hpp"
#include "base_testing/private_bus.hpp"
#include "sdbus-c++/sdbus-c++.h"
#include "settings_portal_watch.hpp"

namespace zarn_ui::launch {
namespace {

using base_testing::FakeSettingsPortal;
using base_testing::SettingsPortalScript;
using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kTimeout{300};

sdbus::Variant u32(std::uint32_t v) { return sdbus::Variant(v); }

bool wait_until(const std::function<bool()>& done) {
  const auto give_up = Clock::now() + std::chrono::seconds(5);
  while (!done()) {
    if (Clock::now() > give_up) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

TEST(SettingsPortal, EveryAnswerOfBothPortalMethods) {
  struct Case {
    const char* name;
    SettingsPortalScript script;
    DesktopLook expected;
  };
  const std::vector<Case> cases = {
      {"dark", {true, true, {{"color-scheme", u32(1)}}}, {ColorScheme::Dark, Contrast::Normal}},
      {"light", {true, true, {{"color-scheme", u32(2)}}}, {ColorScheme::Light, Contrast::Normal}},
      {"no preference", {true, true, {{"color-scheme", u32(0)}}}, {}},
      {"a value out of range", {true, true, {{"color-scheme", u32(7)}}}, {}},
      {"a value of another type", {true, true, {{"color-scheme", sdbus::Variant(std::string("dark"))}}}, {}},
      {"older portal, dark", {false, true, {{"color-scheme", u32(1)}}}, {ColorScheme::Dark, Contrast::Normal}},
      {"older portal, light", {false, true, {{"color-scheme", u32(2)}}}, {ColorScheme::Light, Contrast::Normal}},
      {"high contrast",
       {true, true, {{"color-scheme", u32(2)}, {"contrast", u32(1)}}},
       {ColorScheme::Light, Contrast::High}},
      {"contrast without a colour scheme",
       {true, true, {{"contrast", u32(1)}}},
       {ColorScheme::NoPreference, Contrast::High}},
      {"contrast out of range",
       {true, true, {{"color-scheme", u32(1)}, {"contrast", u32(9)}}},
       {ColorScheme::Dark, Contrast::Normal}},
      {"older portal, high contrast",
       {false, true, {{"color-scheme", u32(1)}, {"contrast", u32(1)}}},
       {ColorScheme::Dark, Contrast::High}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto bus = base_testing::PrivateBus::start();
    ASSERT_NE(bus, nullptr) << "dbus-daemon did not start";
    FakeSettingsPortal portal(bus->address(), c.script);
    SettingsPortalWatch watch(bus->address(), kTimeout);
    EXPECT_TRUE(watch.watching());
    EXPECT_EQ(watch.look(), c.expected);
    EXPECT_EQ(watch.take_change(), std::nullopt) << "the look at start is no change";
  }
}

// Without an answer the look has no preference, soon: no bus, no portal, a silent portal (which
// gets one budget for both keys).
TEST(SettingsPortal, NoAnswerIsNoPreferenceWithoutWaiting) {
  {
    const auto start = Clock::now();
    SettingsPortalWatch watch("unix:path=/nonexistent/zarn-bus", kTimeout);
    EXPECT_FALSE(watch.watching());
    EXPECT_EQ(watch.look(), DesktopLook{});
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
  }
  auto bus = base_testing::PrivateBus::start();
  ASSERT_NE(bus, nullptr) << "dbus-daemon did not start";
  {
    const auto start = Clock::now();
    SettingsPortalWatch watch(bus->address(), kTimeout);
    EXPECT_TRUE(watch.watching());
    EXPECT_EQ(watch.look(), DesktopLook{});
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
  }
  FakeSettingsPortal silent(bus->address(), {true, false, {{"color-scheme", u32(1)}}});
  const auto start = Clock::now();
  SettingsPortalWatch watch(bus->address(), kTimeout);
  const auto waited = Clock::now() - start;
  EXPECT_EQ(watch.look(), DesktopLook{});
  EXPECT_GE(waited, kTimeout - std::chrono::milliseconds(50));
  EXPECT_LT(waited, kTimeout * 2);
}

// Each change the portal announces is kept once and wakes once; what is not a change of the look
// (another namespace or key, the same value, a signal of another shape) neither changes it nor
// wakes. Each step ends with a change, whose wake shows that what came before it was read.
TEST(SettingsPortal, SignalsChangeTheLookAndWakeOnce) {
  auto bus = base_testing::PrivateBus::start();
  ASSERT_NE(bus, nullptr) << "dbus-daemon did not start";
  FakeSettingsPortal portal(bus->address(), {true, true, {{"color-scheme", u32(2)}}});
  SettingsPortalWatch watch(bus->address(), kTimeout);
  ASSERT_EQ(watch.look(), (DesktopLook{ColorScheme::Light, Contrast::Normal}));
  std::atomic<int> wakes{0};
  watch.set_waker([&] { ++wakes; });

  struct Step {
    const char* what;
    std::function<void()> send;
    DesktopLook look;
  };
  const std::string appearance = FakeSettingsPortal::kAppearance;
  const std::vector<Step> steps = {
      {"dark", [&] { portal.change("color-scheme", u32(1)); }, {ColorScheme::Dark, Contrast::Normal}},
      {"high contrast", [&] { portal.change("contrast", u32(1)); }, {ColorScheme::Dark, Contrast::High}},
      {"the same value again, then normal contrast",
       [&] {
         portal.change("contrast", u32(1));
         portal.change("contrast", u32(0));
       },
       {ColorScheme::Dark, Contrast::Normal}},
      {"another namespace and another key, then light",
       [&] {
         portal.send_setting_changed(std::string("org.gnome.desktop.interface"), std::string("color-scheme"), u32(2));
         portal.change("accent-color", u32(1));
         portal.change("color-scheme", u32(2));
       },
       {ColorScheme::Light, Contrast::Normal}},
      {"a signal of another shape, then dark",
       [&] {
         portal.send_setting_changed(appearance, std::string("color-scheme"), std::uint32_t{1});
         portal.send_setting_changed(appearance);
         portal.change("color-scheme", u32(1));
       },
       {ColorScheme::Dark, Contrast::Normal}},
      {"a value of another type: no preference", [&] { portal.change("color-scheme", sdbus::Variant(1.0)); }, {}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    const int before = wakes;
    step.send();
    ASSERT_TRUE(wait_until([&] { return wakes > before; }));
    EXPECT_EQ(wakes, before + 1);
    EXPECT_EQ(watch.take_change(), step.look);
    EXPECT_EQ(watch.take_change(), std::nullopt) << "a change is taken once";
  }
}

// A reply of a shape no portal sends says nothing about the key, and is refused without a crash.
TEST(SettingsPortal, RepliesOfAnotherShapeKeepNoPreference) {
  using Strings = std::pair<const std::string&, const std::string&>;
  struct Case {
    const char* name;
    const char* method;  // the only one offered
    std::function<void(sdbus::IObject&, const char*)> serve;
    DesktopLook expected;
  };
  auto serve = [](auto answer) {
    return [answer](sdbus::IObject& object, const char* method) {
      object.registerMethod(method)
          .onInterface(FakeSettingsPortal::kInterface)
          .implementedAs([answer](const std::string& ns, const std::string& key) {
            return answer(Strings{ns, key});
          });
    };
  };
  // The number 1 inside `depth` variants.
  auto nested = [](int depth) {
    return [depth](sdbus::IObject& object, const char* method) {
      object.registerMethod(FakeSettingsPortal::kInterface, method, "ss", "v", [depth](sdbus::MethodCall call) {
        auto reply = call.createReply();
        for (int i = 0; i < depth; ++i) reply.openVariant(i + 1 < depth ? "v" : "u");
        reply << std::uint32_t{1};
        for (int i = 0; i < depth; ++i) reply.closeVariant();
        reply.send();
      });
    };
  };
  const std::vector<Case> cases = {
      {"a number where a variant belongs", "ReadOne", serve([](Strings) { return std::uint32_t{1}; }), {}},
      {"two strings",
       "ReadOne",
       serve([](Strings) { return std::make_tuple(std::string("a"), std::string("b")); }),
       {}},
      {"no value",
       "ReadOne",
       [](sdbus::IObject& object, const char* method) {
         object.registerMethod(method)
             .onInterface(FakeSettingsPortal::kInterface)
             .implementedAs([](const std::string&, const std::string&) {});
       },
       {}},
      {"a variant in a variant from ReadOne", "ReadOne", nested(2), {}},
      {"three variants deep from Read", "Read", nested(3), {}},
      {"Read without its extra variant",
       "Read",
       serve([](Strings k) { return k.second == "color-scheme" ? u32(1) : sdbus::Variant(std::string("x")); }),
       {ColorScheme::Dark, Contrast::Normal}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto bus = base_testing::PrivateBus::start();
    ASSERT_NE(bus, nullptr) << "dbus-daemon did not start";
    auto connection = sdbus::createSessionBusConnectionWithAddress(bus->address());
    auto object = sdbus::createObject(*connection, FakeSettingsPortal::kPath);
    c.serve(*object, c.method);
    object->finishRegistration();
    connection->requestName("org.freedesktop.portal.Desktop");
    connection->enterEventLoopAsync();
    {
      SettingsPortalWatch watch(bus->address(), kTimeout);
      EXPECT_TRUE(watch.watching());
      EXPECT_EQ(watch.look(), c.expected);
    }
    connection->leaveEventLoop();
  }
}

// Only the portal speaks for the desktop: the same signal from another connection is ignored. A
// portal that starts after the app is followed from then on.
TEST(SettingsPortal, OnlyThePortalsSignalsCountEvenWhenItStartsLate) {
  auto bus = base_testing::PrivateBus::start();
  ASSERT_NE(bus, nullptr) << "dbus-daemon did not start";
  SettingsPortalWatch watch(bus->address(), kTimeout);
  ASSERT_TRUE(watch.watching());
  std::atomic<int> wakes{0};
  watch.set_waker([&] { ++wakes; });

  auto impostor_connection = sdbus::createSessionBusConnectionWithAddress(bus->address());
  auto impostor = sdbus::createObject(*impostor_connection, FakeSettingsPortal::kPath);
  impostor->registerSignal("SettingChanged")
      .onInterface(FakeSettingsPortal::kInterface)
      .withParameters<std::string, std::string, sdbus::Variant>();
  impostor->finishRegistration();
  impostor->emitSignal("SettingChanged")
      .onInterface(FakeSettingsPortal::kInterface)
      .withArguments(std::string(FakeSettingsPortal::kAppearance), std::string("color-scheme"), u32(1));

  FakeSettingsPortal portal(bus->address(), {true, true, {}});
  portal.change("contrast", u32(1));
  ASSERT_TRUE(wait_until([&] { return wakes > 0; }));
  EXPECT_EQ(wakes, 1);
  EXPECT_EQ(watch.take_change(), (DesktopLook{ColorScheme::NoPreference, Contrast::High}));
}

}  // namespace
}  // namespace zarn_ui::launch
