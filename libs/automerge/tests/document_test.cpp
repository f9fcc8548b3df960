#include <gtest/gtest.h>

#include <random>

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

// Reads by index and the length must match a plain vector under any mix of inserts, puts and
// deletes, tombstones included.
TEST(Document, ListReadsMatchAPlainVector) {
  std::mt19937 rng(7);
  AutoCommit doc;
  auto list = *doc.put_object(ROOT, "l", ObjType::List);
  std::vector<std::uint64_t> model;
  for (int step = 0; step < 600; ++step) {
    const std::size_t n = model.size();
    const auto v = static_cast<std::uint64_t>(step);
    switch (rng() % 4) {
      case 0:
      case 1: {
        std::size_t at = rng() % (n + 1);
        ASSERT_TRUE(doc.insert(list, at, ScalarValue::uint64(v)).is_ok());
        model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), v);
        break;
      }
      case 2:
        if (n == 0) break;
        {
          std::size_t at = rng() % n;
          ASSERT_TRUE(doc.delete_(list, at).is_ok());
          model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
        }
        break;
      case 3:
        if (n == 0) break;
        {
          std::size_t at = rng() % n;
          ASSERT_TRUE(doc.put(list, at, ScalarValue::uint64(v)).is_ok());
          model[at] = v;
        }
        break;
    }
    if (step % 50 == 0) doc.commit();
  }
  auto check = [&](const AutoCommit& d) {
    ASSERT_EQ(d.length(list), model.size());
    for (std::size_t i = 0; i < model.size(); ++i) {
      EXPECT_EQ((*d.get(list, i))->value.to_scalar(), ScalarValue::uint64(model[i])) << i;
    }
    EXPECT_FALSE(d.get(list, model.size())->has_value());
  };
  check(doc);
  auto loaded = AutoCommit::load(doc.save());
  ASSERT_TRUE(loaded.is_ok());
  check(*loaded);
}

// A delete and a concurrent put of the same element: the put wins, the element shows again.
TEST(Document, ConcurrentPutRevivesADeletedElement) {
  AutoCommit a;
  auto list = *a.put_object(ROOT, "l", ObjType::List);
  for (std::size_t i = 0; i < 3; ++i) ASSERT_TRUE(a.insert(list, i, ScalarValue::uint64(i)).is_ok());
  AutoCommit b = a.fork();
  ASSERT_TRUE(a.delete_(list, std::size_t{1}).is_ok());
  ASSERT_TRUE(b.put(list, 1, ScalarValue::str("p")).is_ok());
  ASSERT_TRUE(a.merge(b).is_ok());
  ASSERT_TRUE(b.merge(a).is_ok());
  for (AutoCommit* d : {&a, &b}) {
    ASSERT_EQ(d->length(list), 3u);
    EXPECT_EQ((*d->get(list, 1))->value.to_scalar(), ScalarValue::str("p"));
    EXPECT_EQ((*d->get(list, 2))->value.to_scalar(), ScalarValue::uint64(2));
  }
}

// A text's content follows every kind of edit: splices anywhere, a put on one element (a
// non-string value adds nothing), and a delete racing a put from another copy.
TEST(Document, TextContentFollowsEveryEdit) {
  std::mt19937 rng(11);
  AutoCommit doc;
  auto text = *doc.put_object(ROOT, "t", ObjType::Text);
  std::vector<std::string> model;  // one entry per code point
  const std::vector<std::string> pieces = {"a", "\xc3\xa9", "\xe2\x82\xac", "\xf0\x9f\x8d\xb0"};
  auto joined = [&] {
    std::string out;
    for (const auto& p : model) out += p;
    return out;
  };
  for (int step = 0; step < 300; ++step) {
    std::size_t pos = rng() % (model.size() + 1);
    std::size_t del = std::min<std::size_t>(rng() % 3, model.size() - pos);
    std::string ins;
    std::vector<std::string> ins_cps;
    for (std::size_t k = rng() % 3; k > 0; --k) {
      ins_cps.push_back(pieces[rng() % pieces.size()]);
      ins += ins_cps.back();
    }
    ASSERT_TRUE(doc.splice_text(text, pos, del, ins).is_ok());
    model.erase(model.begin() + static_cast<std::ptrdiff_t>(pos),
                model.begin() + static_cast<std::ptrdiff_t>(pos + del));
    model.insert(model.begin() + static_cast<std::ptrdiff_t>(pos), ins_cps.begin(), ins_cps.end());
    ASSERT_EQ(*doc.text(text), joined()) << step;
  }
  ASSERT_GE(model.size(), 3u);
  ASSERT_TRUE(doc.put(text, 1, ScalarValue::str("XY")).is_ok());
  model[1] = "XY";
  ASSERT_TRUE(doc.put(text, 2, ScalarValue::uint64(5)).is_ok());
  model[2] = "";
  EXPECT_EQ(*doc.text(text), joined());
  EXPECT_EQ(doc.length(text), model.size());

  AutoCommit other = doc.fork();
  ASSERT_TRUE(doc.delete_(text, std::size_t{0}).is_ok());
  ASSERT_TRUE(other.put(text, 0, ScalarValue::str("!")).is_ok());
  ASSERT_TRUE(doc.merge(other).is_ok());
  ASSERT_TRUE(other.merge(doc).is_ok());
  model[0] = "!";
  EXPECT_EQ(*doc.text(text), joined());
  EXPECT_EQ(*other.text(text), joined());
  auto loaded = AutoCommit::load(doc.save());
  ASSERT_TRUE(loaded.is_ok());
  EXPECT_EQ(*loaded->text(text), joined());
}

}  // namespace
}  // namespace automerge
