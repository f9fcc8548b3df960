#include <gtest/gtest.h>

#include <random>

#include "automerge/automerge.hpp"

namespace automerge {
namespace {

AutoCommit sample() {
  AutoCommit doc;
  auto m = doc.put_object(ROOT, "maps_v2", ObjType::Map);
  (void)doc.put(*m, "mode", ScalarValue::str("car"));
  auto t = doc.put_object(*m, "origin_name", ObjType::Text);
  (void)doc.splice_text(*t, 0, 0, "Map centre");
  doc.commit();
  auto l = doc.put_object(*m, "transit", ObjType::List);
  (void)doc.insert(*l, 0, ScalarValue::f64(1.5));
  return doc;
}

TEST(SaveLoad, RoundTripKeepsContentHeadsAndHistory) {
  AutoCommit doc = sample();
  auto bytes = doc.save();
  auto loaded = AutoCommit::load(bytes);
  ASSERT_TRUE(loaded.is_ok()) << loaded.error();
  EXPECT_EQ(loaded->get_heads(), doc.get_heads());
  EXPECT_EQ(loaded->change_count(), 2u);
  EXPECT_NE(loaded->get_actor(), doc.get_actor());  // a loaded copy writes as a new actor
  auto m = (*loaded->get(ROOT, "maps_v2"))->value.obj_id();
  EXPECT_EQ(*loaded->text((*loaded->get(m, "origin_name"))->value.obj_id()), "Map centre");
  EXPECT_EQ(loaded->save(), bytes);
  // Editing the loaded copy and merging back works both ways.
  ASSERT_TRUE(loaded->put(m, "mode", ScalarValue::str("bike")).is_ok());
  ASSERT_TRUE(doc.merge(*loaded).is_ok());
  EXPECT_EQ((*doc.get(m, "mode"))->value.to_scalar(), ScalarValue::str("bike"));
}

TEST(SaveLoad, DamagedBytesAreRejected) {
  auto bytes = sample().save();
  EXPECT_TRUE(AutoCommit::load({}).is_err());
  EXPECT_TRUE(AutoCommit::load(std::vector<std::uint8_t>(bytes.begin(), bytes.end() - 1)).is_err());
  auto extra = bytes;
  extra.push_back(0);
  EXPECT_TRUE(AutoCommit::load(extra).is_err());
  auto wrong = bytes;
  wrong[0] = 'X';
  EXPECT_TRUE(AutoCommit::load(wrong).is_err());
  // Changes too short to be changes: refused before anything is built from the count.
  EXPECT_TRUE(AutoCommit::load_changes(std::vector<std::uint8_t>{'Z', 'D', 'O', 'C', 1, 3, 0, 0, 0}).is_err());
  // Flipping any single byte either fails to load or loads without crashing.
  std::mt19937 rng(7);
  for (int i = 0; i < 300; ++i) {
    auto b = bytes;
    b[rng() % b.size()] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
    auto r = AutoCommit::load(b);
    if (r.is_ok()) (void)r->save();
  }
}

TEST(SaveLoad, ChangeBytesAreCheckedAndHashed) {
  AutoCommit doc = sample();
  auto changes = doc.get_changes({});
  ASSERT_EQ(changes.size(), 2u);
  auto again = Change::from_bytes(changes[0].bytes);
  ASSERT_TRUE(again.is_ok());
  EXPECT_EQ(again->hash, changes[0].hash);
  EXPECT_TRUE(Change::from_bytes(std::vector<std::uint8_t>{1, 2, 3}).is_err());
  AutoCommit other;
  ASSERT_TRUE(other.apply_changes(changes).is_ok());
  EXPECT_TRUE(other.apply_change_bytes(changes[1].bytes).is_ok());  // a known change is skipped
  EXPECT_EQ(other.change_count(), 2u);
  // A second, different first change of the same actor would reuse its op ids: refused.
  AutoCommit impostor(doc.get_actor());
  ASSERT_TRUE(impostor.put(ROOT, "x", ScalarValue::int64(1)).is_ok());
  auto forged = impostor.get_changes({});
  ASSERT_EQ(forged.size(), 1u);
  EXPECT_TRUE(other.apply_changes(forged).is_err());
  EXPECT_FALSE(other.get(ROOT, "x")->has_value());
}

}  // namespace
}  // namespace automerge
