#include "icu/icu_library.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <spdlog/sinks/ostream_sink.h>
#include <spdlog/spdlog.h>

#include <memory>
#include <sstream>
#include <string>

namespace maps {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;

TEST(OpenIcuLibrary, SaysWhatIsMissing) {
  struct Case {
    const char* file;
    std::string says;
  };
  const Case cases[] = {
      {"libicuuc-not-installed.so.72", "libicuuc-not-installed.so.72"},
      // A library that is there but is not ICU.
      {"libm.so.6", std::string("libm.so.6 has no ") + MAPS_ICU_TEXT(u_strFromUTF8WithSub)},
  };
  for (const Case& c : cases) {
    const auto lib = open_icu_library(c.file);
    ASSERT_TRUE(lib.is_err()) << c.file;
    EXPECT_THAT(lib.error(), HasSubstr(c.says));
  }
  const auto icu = open_icu_library(kIcuLibraryFile);
  ASSERT_TRUE(icu.is_ok()) << icu.error();
  EXPECT_NE(icu->str_from_utf8, nullptr);
  EXPECT_NE(icu->str_to_utf8, nullptr);
  EXPECT_NE(icu->str_to_lower, nullptr);
  EXPECT_NE(icu->is_white_space, nullptr);
  EXPECT_EQ(icu->is_white_space(0x3000), true);
  EXPECT_EQ(icu->is_white_space(0x200B), false);
}

// The names follow the installed ICU: its exported functions carry its version.
TEST(OpenIcuLibrary, NamesCarryTheInstalledVersion) {
  EXPECT_THAT(kIcuLibraryFile, EndsWith(".so." + std::to_string(U_ICU_VERSION_MAJOR_NUM)));
#if !U_DISABLE_RENAMING
  EXPECT_THAT(MAPS_ICU_TEXT(u_strToLower), EndsWith(MAPS_ICU_TEXT(U_ICU_VERSION_SUFFIX)));
#endif
}

TEST(IcuLoader, AMissingLibraryIsToldOnceAndGivesNull) {
  std::ostringstream log;
  spdlog::drop("maps::text");
  auto logger = std::make_shared<spdlog::logger>("maps::text", std::make_shared<spdlog::sinks::ostream_sink_st>(log));
  spdlog::register_logger(logger);
  IcuLoader missing("libicuuc-not-installed.so.72");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(missing.get(), nullptr);
  spdlog::drop("maps::text");
  const std::string text = log.str();
  EXPECT_THAT(text, HasSubstr("libicuuc-not-installed.so.72"));
  EXPECT_EQ(text.find('\n'), text.rfind('\n')) << text;  // one line

  IcuLoader present(kIcuLibraryFile);
  const IcuLibrary* lib = present.get();
  ASSERT_NE(lib, nullptr);
  EXPECT_EQ(present.get(), lib);
}

}  // namespace
}  // namespace maps
