#include "zarn_ui/launch_args.hpp"

#include <gtest/gtest.h>

namespace zarn_ui::launch {
namespace {

const std::vector<std::string> kFlags = {"--empty", "--traffic"};
const std::vector<std::string> kOptions = {"--panel"};

base::Result<LaunchArgs> parse(std::vector<std::string> args) { return LaunchArgs::parse(args, kFlags, kOptions); }

TEST(LaunchArgs, SwitchesValuesAndShotOptions) {
  auto a = parse(
      {"--empty", "--panel", " Transit ", "--shot", "out/x.png", "--shot-size", "800x600", "--shot-text-scale=1.5"});
  ASSERT_TRUE(a.is_ok()) << a.error();
  EXPECT_TRUE(a->has("--empty"));
  EXPECT_FALSE(a->has("--traffic"));
  EXPECT_EQ(a->value("--panel"), " Transit ");
  EXPECT_EQ(a->shot_output(), "out/x.png");
  EXPECT_EQ(a->shot_size(), (ShotSize{800, 600}));
  EXPECT_EQ(a->shot_text_scale(), 1.5f);
  EXPECT_TRUE(a->any_app_argument());

  auto none = parse({});
  ASSERT_TRUE(none.is_ok());
  EXPECT_FALSE(none->any_app_argument());
  EXPECT_FALSE(none->shot_output().has_value());
  EXPECT_FALSE(none->value("--panel").has_value());
  EXPECT_EQ(parse({"--panel=directions"})->value("--panel"), "directions");
  EXPECT_EQ(parse({"--shot-text-scale", "4"})->shot_text_scale(), 4.0f);
  EXPECT_EQ(parse({"--shot-text-scale", "0.5"})->shot_text_scale(), 0.5f);
}

TEST(LaunchArgs, RefusesWhatItDoesNotKnow) {
  struct Case {
    std::vector<std::string> args;
    const char* error;
  } cases[] = {
      {{"--bogus"}, "unknown argument \"--bogus\""},
      {{"maps.png"}, "unknown argument \"maps.png\""},
      {{"--panel"}, "--panel needs a value"},
      {{"--shot"}, "--shot needs a value"},
      {{"--empty=1"}, "--empty takes no value"},
      {{"--shot-size", "800"}, "--shot-size expects WIDTHxHEIGHT, got \"800\""},
      {{"--shot-size", "0x600"}, "--shot-size expects WIDTHxHEIGHT between 1 and 16384, got \"0x600\""},
      {{"--shot-size", "99999x10"}, "--shot-size expects WIDTHxHEIGHT between 1 and 16384, got \"99999x10\""},
      {{"--shot-text-scale", "nan"}, "--shot-text-scale expects a number from 0.5 to 4, got \"nan\""},
      {{"--shot-text-scale", "2x"}, "--shot-text-scale expects a number from 0.5 to 4, got \"2x\""},
      // Scales the theme would hold to its range are refused, not quietly changed.
      {{"--shot-text-scale", "8"}, "--shot-text-scale expects a number from 0.5 to 4, got \"8\""},
      {{"--shot-text-scale", "0.25"}, "--shot-text-scale expects a number from 0.5 to 4, got \"0.25\""},
  };
  for (const auto& c : cases) {
    auto r = parse(c.args);
    ASSERT_TRUE(r.is_err()) << c.args[0];
    EXPECT_EQ(r.error(), c.error);
  }
}

}  // namespace
}  // namespace zarn_ui::launch
