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

std::vector<ChangeHash> sample_heads(const std::vector<std::uint8_t>& saved) {
  auto doc = AutoCommit::load(saved);
  return doc.is_ok() ? doc->get_heads() : std::vector<ChangeHash>{};
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
  // Cut short or followed by more, the state beside the changes is passed over and the changes
  // (whole) applied; a cut into the changes is refused.
  auto cut = std::vector<std::uint8_t>(bytes.begin(), bytes.end() - 1);
  auto extra = bytes;
  extra.push_back(0);
  for (const auto& b : {cut, extra}) {
    auto r = AutoCommit::load(b);
    ASSERT_TRUE(r.is_ok()) << r.error();
    EXPECT_EQ(r->get_heads(), sample_heads(bytes));
  }
  auto changes = AutoCommit::load_changes(bytes);
  ASSERT_TRUE(changes.is_ok());
  EXPECT_TRUE(AutoCommit::load(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 8)).is_err());
  // Saved with the changes alone, as before the state was kept: cut or extended, refused.
  std::vector<std::uint8_t> older = {'Z', 'D', 'O', 'C', 1};
  auto varint = [&](std::uint64_t v) {
    for (; v >= 0x80; v >>= 7) older.push_back(static_cast<std::uint8_t>(v | 0x80));
    older.push_back(static_cast<std::uint8_t>(v));
  };
  varint(changes->size());
  for (const auto& c : *changes) {
    varint(c.bytes.size());
    older.insert(older.end(), c.bytes.begin(), c.bytes.end());
  }
  ASSERT_TRUE(AutoCommit::load(older).is_ok());
  EXPECT_TRUE(AutoCommit::load(std::vector<std::uint8_t>(older.begin(), older.end() - 1)).is_err());
  older.push_back(0);
  EXPECT_TRUE(AutoCommit::load(older).is_err());
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
