#include <gtest/gtest.h>

#include "automerge/automerge.hpp"

namespace automerge {
namespace {

ScalarValue scalar_at(const AutoCommit& doc, const ExId& obj, std::string_view key) {
  auto v = doc.get(obj, key);
  EXPECT_TRUE(v.is_ok());
  EXPECT_TRUE(v->has_value());
  return (*v)->value.to_scalar();
}

TEST(Document, EveryScalarKindRoundTripsThroughPut) {
  AutoCommit doc;
  const std::vector<std::pair<std::string, ScalarValue>> cases = {
      {"null", ScalarValue::null()},
      {"bool", ScalarValue::boolean(true)},
      {"int", ScalarValue::int64(-42)},
      {"uint", ScalarValue::uint64(18446744073709551615ull)},
      {"f64", ScalarValue::f64(48.1371)},
      {"str", ScalarValue::str("Marienplatz")},
      {"counter", ScalarValue::counter(7)},
      {"timestamp", ScalarValue::timestamp(1700000000000)},
      {"bytes", ScalarValue::bytes({0, 1, 255})},
  };
  for (const auto& [key, value] : cases) ASSERT_TRUE(doc.put(ROOT, key, value).is_ok()) << key;
  for (const auto& [key, value] : cases) EXPECT_EQ(scalar_at(doc, ROOT, key), value) << key;
  // A saved copy reads the same.
  auto bytes = doc.save();
  auto loaded = AutoCommit::load(bytes);
  ASSERT_TRUE(loaded.is_ok()) << loaded.error();
  for (const auto& [key, value] : cases) EXPECT_EQ(scalar_at(*loaded, ROOT, key), value) << key;
}

TEST(Document, KeysAreInByteOrderAndDeleteRemovesThem) {
  AutoCommit doc;
  for (const char* k : {"b", "a", "\xc3\xa9", "B", "aa"}) ASSERT_TRUE(doc.put(ROOT, k, ScalarValue::int64(1)).is_ok());
  EXPECT_EQ(doc.keys(ROOT), (std::vector<std::string>{"B", "a", "aa", "b", "\xc3\xa9"}));
  ASSERT_TRUE(doc.delete_(ROOT, "aa").is_ok());
  ASSERT_TRUE(doc.delete_(ROOT, "missing").is_ok());
  EXPECT_EQ(doc.length(ROOT), 4u);
  EXPECT_FALSE(doc.get(ROOT, "aa")->has_value());
}

TEST(Document, NestedObjectsAndLists) {
  AutoCommit doc;
  auto maps = doc.put_object(ROOT, "maps_v2", ObjType::Map);
  ASSERT_TRUE(maps.is_ok());
  auto list = doc.put_object(*maps, "transit", ObjType::List);
  ASSERT_TRUE(list.is_ok());
  auto first = doc.insert_object(*list, 0, ObjType::Map);
  ASSERT_TRUE(first.is_ok());
  ASSERT_TRUE(doc.put(*first, "dep", ScalarValue::str("09:05")).is_ok());
  ASSERT_TRUE(doc.insert(*list, 1, ScalarValue::uint64(5)).is_ok());
  ASSERT_TRUE(doc.insert(*list, 0, ScalarValue::str("front")).is_ok());
  EXPECT_EQ(doc.length(*list), 3u);
  auto at1 = doc.get(*list, std::size_t{1});
  ASSERT_TRUE(at1.is_ok() && at1->has_value());
  EXPECT_EQ((*at1)->value.obj_type(), ObjType::Map);
  EXPECT_EQ((*at1)->value.obj_id(), *first);
  ASSERT_TRUE(doc.put(*list, 2, ScalarValue::uint64(6)).is_ok());
  EXPECT_EQ((*doc.get(*list, 2))->value.to_scalar(), ScalarValue::uint64(6));
  ASSERT_TRUE(doc.delete_(*list, std::size_t{0}).is_ok());
  EXPECT_EQ(doc.length(*list), 2u);
  EXPECT_FALSE(doc.get(*list, 2)->has_value());
}

TEST(Document, MisuseIsAnErrorNotACrash) {
  AutoCommit doc;
  auto list = doc.put_object(ROOT, "list", ObjType::List);
  auto text = doc.put_object(ROOT, "text", ObjType::Text);
  ExId unknown{99, ActorId::random()};
  EXPECT_TRUE(doc.get(unknown, "k").is_err());
  EXPECT_TRUE(doc.put(unknown, "k", ScalarValue::null()).is_err());
  EXPECT_TRUE(doc.put(*list, "k", ScalarValue::null()).is_err());
  EXPECT_TRUE(doc.put(ROOT, std::size_t{0}, ScalarValue::null()).is_err());
  EXPECT_TRUE(doc.insert(*list, 1, ScalarValue::null()).is_err());
  EXPECT_TRUE(doc.put(*list, 0, ScalarValue::null()).is_err());
  EXPECT_TRUE(doc.delete_(*list, std::size_t{0}).is_err());
  EXPECT_TRUE(doc.text(*list).is_err());
  EXPECT_TRUE(doc.text(ROOT).is_err());
  EXPECT_TRUE(doc.splice_text(*list, 0, 0, "x").is_err());
  EXPECT_TRUE(doc.splice_text(*text, 1, 0, "x").is_err());
  EXPECT_TRUE(doc.splice_text(*text, 0, 0, "\xff").is_err());
  EXPECT_EQ(doc.keys(*list), std::vector<std::string>{});
  EXPECT_EQ(doc.length(unknown), 0u);
}

TEST(Document, TextSplicesCountCodePoints) {
  struct Case {
    std::string start;
    std::size_t pos, del;
    std::string insert, want;
    std::size_t want_len;
  };
  const std::vector<Case> cases = {
      {"", 0, 0, "München", "München", 7},
      {"München", 1, 1, "ue", "Muenchen", 8},                            // the two-byte ü is one position
      {"Café ☕", 5, 1, "\xf0\x9f\x8d\xb0", "Café \xf0\x9f\x8d\xb0", 6},  // three- and four-byte code points
      {"abc", 1, 99, "", "a", 1},                                        // a delete count past the end stops at the end
      {"abc", 3, 0, "d", "abcd", 4},
  };
  for (const Case& c : cases) {
    AutoCommit doc;
    auto text = doc.put_object(ROOT, "t", ObjType::Text);
    ASSERT_TRUE(doc.splice_text(*text, 0, 0, c.start).is_ok());
    ASSERT_TRUE(doc.splice_text(*text, c.pos, c.del, c.insert).is_ok()) << c.start;
    EXPECT_EQ(*doc.text(*text), c.want);
    EXPECT_EQ(doc.length(*text), c.want_len);
  }
}

TEST(Document, EmptyChangeIsNeverRecorded) {
  AutoCommit doc;
  EXPECT_TRUE(doc.get_heads().empty());
  ASSERT_TRUE(doc.put(ROOT, "k", ScalarValue::int64(1)).is_ok());
  auto heads = doc.get_heads();
  ASSERT_EQ(heads.size(), 1u);
  EXPECT_EQ(doc.get_heads(), heads);
  EXPECT_FALSE(doc.commit().has_value());
  ASSERT_TRUE(doc.delete_(ROOT, "never-there").is_ok());
  doc.save();
  EXPECT_EQ(doc.get_heads(), heads);
  EXPECT_EQ(doc.change_count(), 1u);
  // Writing an equal value is still an operation.
  ASSERT_TRUE(doc.put(ROOT, "k", ScalarValue::int64(1)).is_ok());
  EXPECT_NE(doc.get_heads(), heads);
}

TEST(Document, OperationIdsOrderByCounterThenActor) {
  AutoCommit doc(ActorId({1}));
  ASSERT_TRUE(doc.put(ROOT, "a", ScalarValue::int64(1)).is_ok());
  auto a = doc.get(ROOT, "a");
  EXPECT_EQ((*a)->id, (ExId{1, ActorId({1})}));
  auto m = doc.put_object(ROOT, "m", ObjType::Map);
  EXPECT_EQ(*m, (ExId{2, ActorId({1})}));
  EXPECT_EQ(doc.get_actor().to_bytes(), Bytes{1});
}

}  // namespace
}  // namespace automerge
