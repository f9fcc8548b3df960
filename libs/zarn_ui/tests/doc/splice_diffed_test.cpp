#include <gtest/gtest.h>

#include "automerge/automerge.hpp"
#include "zarn_ui/doc.hpp"

namespace zarn_ui::doc {
namespace {

using automerge::AutoCommit;
using automerge::ExId;
using automerge::ObjType;
using automerge::ROOT;

std::vector<ExId> element_ids(const AutoCommit& doc, const ExId& text) {
  std::vector<ExId> out;
  for (std::size_t i = 0; i < doc.length(text); ++i) out.push_back((*doc.get(text, i))->id);
  return out;
}

TEST(SpliceTextDiffed, TouchesOnlyTheDifferingMiddle) {
  struct Case {
    std::string from, to;
    std::size_t kept_front, kept_back;  // code points whose elements must survive
  };
  const std::vector<Case> cases = {
      {"", "Marienplatz", 0, 0},    {"Marienplatz", "", 0, 0},
      {"Munchen", "München", 1, 5}, {"Café Luitpold", "Cafe Luitpold", 3, 9},  // é to e: one code point replaced
      {"aaa", "aaaa", 3, 0},                                                   // prefix and suffix never overlap
      {"ab☕cd", "ab🍰cd", 2, 2},     {"x", "y", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.from + " -> " + c.to);
    AutoCommit doc;
    auto text = doc.put_object(ROOT, "t", ObjType::Text);
    ASSERT_TRUE(splice_text_diffed(doc, *text, c.from).is_ok());
    auto before = element_ids(doc, *text);
    ASSERT_TRUE(splice_text_diffed(doc, *text, c.to).is_ok());
    EXPECT_EQ(*doc.text(*text), c.to);
    auto after = element_ids(doc, *text);
    for (std::size_t i = 0; i < c.kept_front; ++i) EXPECT_EQ(after[i], before[i]);
    for (std::size_t i = 1; i <= c.kept_back; ++i) EXPECT_EQ(after[after.size() - i], before[before.size() - i]);
  }
}

TEST(SpliceTextDiffed, EqualTextAddsNoOperation) {
  AutoCommit doc;
  auto text = doc.put_object(ROOT, "t", ObjType::Text);
  ASSERT_TRUE(splice_text_diffed(doc, *text, "Map centre").is_ok());
  auto heads = doc.get_heads();
  ASSERT_TRUE(splice_text_diffed(doc, *text, "Map centre").is_ok());
  EXPECT_EQ(doc.get_heads(), heads);
}

// Another copy may store an element holding several code points, or a value that is no string;
// the result must still be exactly the asked text.
TEST(SpliceTextDiffed, ElementsNotHoldingOneCodePointStillGiveTheExactText) {
  struct Case {
    std::size_t index;
    automerge::ScalarValue value;
    std::string to;
  };
  const std::vector<Case> cases = {
      {1, automerge::ScalarValue::str("XY"), "aXYc!"},  // "abc" became "aXYc"
      {1, automerge::ScalarValue::str(""), "ac!"},      // "abc" became "ac"
      {0, automerge::ScalarValue::uint64(7), "bc!"},    // "abc" became "bc"
      {2, automerge::ScalarValue::str("XY"), "Z"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.to);
    AutoCommit doc;
    auto text = doc.put_object(ROOT, "t", ObjType::Text);
    ASSERT_TRUE(splice_text_diffed(doc, *text, "abc").is_ok());
    ASSERT_TRUE(doc.put(*text, c.index, c.value).is_ok());
    ASSERT_TRUE(splice_text_diffed(doc, *text, c.to).is_ok());
    EXPECT_EQ(*doc.text(*text), c.to);
  }
}

TEST(SpliceTextDiffed, RefusesWhatIsNotAText) {
  AutoCommit doc;
  auto list = doc.put_object(ROOT, "l", ObjType::List);
  auto text = doc.put_object(ROOT, "t", ObjType::Text);
  EXPECT_TRUE(splice_text_diffed(doc, *list, "x").is_err());
  EXPECT_TRUE(splice_text_diffed(doc, ROOT, "x").is_err());
  EXPECT_TRUE(splice_text_diffed(doc, *text, "bad \xc3").is_err());
  EXPECT_EQ(*doc.text(*text), "");
}

}  // namespace
}  // namespace zarn_ui::doc
