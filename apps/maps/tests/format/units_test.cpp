#include "format/units.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "format/rounding.hpp"

namespace maps {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct DoubleCase {
  double in;
  std::string out;
};

TEST(FormatDuration, WholeMinutesThenHours) {
  const DoubleCase cases[] = {
      {29.9, "0 min"},       {30, "1 min"},
      {3569, "59 min"},      {3570, "1 h"},
      {5400, "1 h 30 min"},  {7199, "2 h"},
      {0, "0 min"},          {-0.0, "0 min"},
      {-29.9, "0 min"},      {-30, "-1 min"},
      {-7200, "-120 min"},   {86400, "24 h"},
      {90061, "25 h 1 min"}, {1e300, "153722867280912930 h 7 min"},  // saturated minutes
  };
  for (const auto& c : cases) EXPECT_EQ(format_duration(c.in), c.out) << c.in;
}

TEST(FormatDistance, TensOfMetresThenKilometres) {
  const DoubleCase cases[] = {
      {4.9, "0 m"},     {5, "10 m"},        {945, "950 m"},
      {949.9, "950 m"}, {950, "0.9 km"},   // 950 / 1000 lies just below 0.95
      {1050, "1.1 km"}, {1250, "1.2 km"},  // an exact half goes to the even digit
      {0, "0 m"},       {-0.0, "0 m"},      {-4.9, "0 m"},
      {-5, "-10 m"},    {12345, "12.3 km"},
  };
  for (const auto& c : cases) EXPECT_EQ(format_distance(c.in), c.out) << c.in;
}

TEST(FormatDistance, HugeNegativeSaturatesInsteadOfOverflowing) {
  EXPECT_EQ(format_distance(-1e300), "-9223372036854775808 m");
  EXPECT_EQ(format_distance(-1e18), "-1000000000000000000 m");
}

TEST(FormatDurationAndDistance, NonFiniteReadsUnknown) {
  for (double v : {kNaN, -kNaN, kInf, -kInf}) {
    EXPECT_EQ(format_duration(v), "—") << v;
    EXPECT_EQ(format_distance(v), "—") << v;
  }
}

TEST(FormatBytes, PowersOfAThousand) {
  const struct {
    std::uint64_t in;
    std::string out;
  } cases[] = {
      {0, "0 B"},
      {999, "999 B"},
      {1000, "1.0 KB"},
      {1049, "1.0 KB"},
      {1050, "1.1 KB"},
      {999'950, "1000.0 KB"},
      {999'999, "1000.0 KB"},
      {1'000'000, "1.0 MB"},
      {18'000 * 12, "216.0 KB"},
      {999'999'999, "1000.0 MB"},
      {1'000'000'000, "1.0 GB"},
      {std::numeric_limits<std::uint64_t>::max(), "18446744073.7 GB"},
  };
  for (const auto& c : cases) EXPECT_EQ(format_bytes(c.in), c.out) << c.in;
}

TEST(RoundHalfAwayI64, HalvesAwayFromZeroAndSaturates) {
  constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
  const struct {
    double in;
    std::int64_t out;
  } cases[] = {
      {0.5, 1},
      {-0.5, -1},
      {1.49, 1},
      {2.5, 3},
      {-2.5, -3},
      {kNaN, 0},
      {kInf, kMax},
      {-kInf, kMin},
      {9.3e18, kMax},
      {-9.3e18, kMin},
      {-9223372036854775808.0, kMin},
      {9223372036854774784.0, 9223372036854774784},
  };
  for (const auto& c : cases) EXPECT_EQ(round_half_away_i64(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace maps
