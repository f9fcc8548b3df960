#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fmt/format.h>

#include <chrono>

#include "net/http_client.hpp"
#include "net/json_read.hpp"
#include "net/service_hosts.hpp"

namespace maps {
namespace {

using ::testing::HasSubstr;

TEST(PercentEncode, Table) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},
      {"Café au lait", "Caf%C3%A9%20au%20lait"},
      {"a+b/c~d", "a%2Bb%2Fc~d"},
      {"AZaz09-._~", "AZaz09-._~"},
      {"2026-12-08T14:05:00+01:00", "2026-12-08T14%3A05%3A00%2B01%3A00"},
      {"&=?#%", "%26%3D%3F%23%25"},
      {"\x7f\n", "%7F%0A"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(percent_encode(in), out) << in;
}

TEST(HttpStatusText, KnownAndUnknownCodes) {
  EXPECT_EQ(http_status_text(404), "404 Not Found");
  EXPECT_EQ(http_status_text(429), "429 Too Many Requests");
}

TEST(PauseText, SaysHowLongTheServiceAsksToWait) {
  using namespace std::chrono_literals;
  struct Case {
    std::chrono::milliseconds wait;
    const char* text;
  };
  for (const Case& c : {Case{1ms, "1 s"}, Case{2000ms, "2 s"}, Case{59000ms, "59 s"}, Case{59001ms, "1 min"},
                        Case{60s, "1 min"}, Case{61s, "2 min"}, Case{600s, "10 min"}}) {
    EXPECT_EQ(pause_text("search service", c.wait),
              fmt::format("the search service asks to wait {} \u2014 try again later", c.text))
        << c.wait.count();
  }
  // Only a 429 that names its pause says so; the pause is the one the host is held for.
  EXPECT_EQ(asked_pause(HttpReply{429, "", std::chrono::seconds(86400)}, "x"),
            base::err(base::ErrorKind::ServiceError, "the x asks to wait 10 min \u2014 try again later", 429));
  EXPECT_EQ(asked_pause(HttpReply{429, "", std::nullopt}, "x"), std::nullopt);
  EXPECT_EQ(asked_pause(HttpReply{503, "", std::chrono::seconds(5)}, "x"), std::nullopt);
  EXPECT_EQ(http_status_text(500), "500 Internal Server Error");
  EXPECT_EQ(http_status_text(599), "599");
}

TEST(ParseJsonBody, OneValueOrAnError) {
  EXPECT_TRUE(parse_json_body("[]").is_ok());
  EXPECT_TRUE(parse_json_body(" {\"a\": 1} \n").is_ok());
  for (const char* bad : {"", "<html>", "[1] [2]", "[1e400]", "{\"a\":"}) {
    auto r = parse_json_body(bad);
    ASSERT_TRUE(r.is_err()) << bad;
    EXPECT_THAT(r.error(), HasSubstr("error decoding response body")) << bad;
    EXPECT_THAT(r.error(), ::testing::Not(HasSubstr("[json.exception"))) << bad;
  }
}

// A hostile reply within the size limit must neither overflow the stack (copying a tree recurses
// once per level) nor build a tree many times its own size.
TEST(ParseJsonBody, NestingAndValueCountAreBounded) {
  const auto nested = [](std::size_t depth, const std::string& inner = "") {
    return std::string(depth, '[') + inner + std::string(depth, ']');
  };
  const auto zeros = [](std::size_t n) {
    std::string out = "[0";
    for (std::size_t i = 1; i < n; ++i) out += ",0";
    return out + "]";
  };
  struct Case {
    const char* name;
    std::string body;
    const char* error;  // nullptr: parsed
  };
  const Case cases[] = {
      {"deepest allowed", nested(kMaxJsonDepth), nullptr},
      {"one level deeper", nested(kMaxJsonDepth + 1), "nested deeper than 256 levels"},
      {"objects count as levels", std::string(R"({"a":)") + nested(kMaxJsonDepth) + "}",
       "nested deeper than 256 levels"},
      {"far deeper than the stack", nested(1'000'000), "nested deeper than 256 levels"},
      {"brackets inside strings are text", nested(kMaxJsonDepth - 1, R"(["[[[[\"{{{{\\", "]]]]"])"), nullptr},
      {"most values allowed", zeros(kMaxJsonValues - 1), nullptr},
      {"one value more", zeros(kMaxJsonValues), "more than 2000000 values"},
      {"commas inside strings are text", "[\"" + std::string(3 * kMaxJsonValues, ',') + "\"]", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto r = parse_json_body(c.body);
    if (!c.error) {
      EXPECT_TRUE(r.is_ok()) << (r.is_err() ? r.error() : "");
      continue;
    }
    ASSERT_TRUE(r.is_err());
    EXPECT_EQ(r.error(), std::string("error decoding response body: ") + c.error);
  }
}

TEST(ServiceUrl, JoinsWithoutDoubleSlash) {
  EXPECT_EQ(service_url("https://h.example", "/a?b"), "https://h.example/a?b");
  EXPECT_EQ(service_url("https://h.example/", "/a?b"), "https://h.example/a?b");
}

TEST(JsonRead, MissingAndMistypedReadAsAbsent) {
  namespace jr = json_read;
  const auto v = nlohmann::json::parse(R"({"s":"x","n":1.5,"i":-3,"u":18446744073709551615,"a":[1]})");
  EXPECT_EQ(jr::text(jr::member(v, "s")), "x");
  EXPECT_EQ(jr::text(jr::member(v, "n")), std::nullopt);
  EXPECT_TRUE(jr::member(v, "zz").is_null());
  EXPECT_TRUE(jr::member(jr::element(v, 0), "s").is_null());
  EXPECT_TRUE(jr::element(jr::member(v, "a"), 5).is_null());
  EXPECT_EQ(jr::number(jr::member(v, "i")), -3.0);
  EXPECT_EQ(jr::int64(jr::member(v, "n")), std::nullopt);
  EXPECT_EQ(jr::int64(jr::member(v, "u")), std::nullopt);
  EXPECT_EQ(jr::non_negative_u32(jr::member(v, "i")), std::nullopt);
  EXPECT_EQ(jr::non_negative_u32(jr::member(v, "u")), 0xFFFFFFFFu);
}

TEST(JsonRead, ParseF64) {
  namespace jr = json_read;
  EXPECT_EQ(jr::parse_f64("48.1371"), 48.1371);
  EXPECT_EQ(jr::parse_f64("+11.5"), 11.5);
  EXPECT_EQ(jr::parse_f64("-0.5e1"), -5.0);
  for (const char* bad : {"", " 1", "1 ", "1,5", "abc", "inf", "NaN", "+-1", "0x10", "1e400"}) {
    EXPECT_EQ(jr::parse_f64(bad), std::nullopt) << bad;
  }
}

}  // namespace
}  // namespace maps
