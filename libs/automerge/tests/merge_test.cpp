#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "automerge/automerge.hpp"

namespace automerge {
namespace {

std::vector<ScalarValue> all_scalars(const AutoCommit& doc, const ExId& obj, std::string_view key) {
  std::vector<ScalarValue> out;
  auto all = doc.get_all(obj, key);
  for (const ValueEntry& e : *all) out.push_back(e.value.to_scalar());
  return out;
}

TEST(Merge, ConcurrentPutsShowInGetAllAndTheHighestIdWins) {
  AutoCommit a(ActorId({1}));
  ASSERT_TRUE(a.put(ROOT, "deleted", ScalarValue::boolean(false)).is_ok());
  AutoCommit b = a.fork();
  b.set_actor(ActorId({2}));
  ASSERT_TRUE(a.put(ROOT, "deleted", ScalarValue::boolean(true)).is_ok());
  ASSERT_TRUE(b.put(ROOT, "deleted", ScalarValue::boolean(false)).is_ok());
  ASSERT_TRUE(a.merge(b).is_ok());
  ASSERT_TRUE(b.merge(a).is_ok());
  // Both ops have counter 2; actor {2} sorts higher, so b's false wins on both sides.
  const std::vector<ScalarValue> both = {ScalarValue::boolean(true), ScalarValue::boolean(false)};
  EXPECT_EQ(all_scalars(a, ROOT, "deleted"), both);
  EXPECT_EQ(all_scalars(b, ROOT, "deleted"), both);
  EXPECT_EQ((*a.get(ROOT, "deleted"))->value.to_scalar(), ScalarValue::boolean(false));
  EXPECT_EQ(a.get_heads(), b.get_heads());
  EXPECT_EQ(a.get_heads().size(), 2u);
  // A later put supersedes every visible value.
  ASSERT_TRUE(a.put(ROOT, "deleted", ScalarValue::boolean(true)).is_ok());
  EXPECT_EQ(all_scalars(a, ROOT, "deleted"), std::vector<ScalarValue>{ScalarValue::boolean(true)});
  EXPECT_EQ(a.get_heads().size(), 1u);
}

TEST(Merge, DeleteAgainstConcurrentPutKeepsThePut) {
  AutoCommit a;
  ASSERT_TRUE(a.put(ROOT, "k", ScalarValue::str("old")).is_ok());
  AutoCommit b = a.fork();
  ASSERT_TRUE(a.delete_(ROOT, "k").is_ok());
  ASSERT_TRUE(b.put(ROOT, "k", ScalarValue::str("new")).is_ok());
  ASSERT_TRUE(a.merge(b).is_ok());
  ASSERT_TRUE(b.merge(a).is_ok());
  for (AutoCommit* d : {&a, &b})
    EXPECT_EQ(all_scalars(*d, ROOT, "k"), std::vector<ScalarValue>{ScalarValue::str("new")});
}

TEST(Merge, ConcurrentTextInsertsInterleaveTheSameEverywhere) {
  AutoCommit a;
  auto t = a.put_object(ROOT, "t", ObjType::Text);
  ASSERT_TRUE(a.splice_text(*t, 0, 0, "ac").is_ok());
  AutoCommit b = a.fork();
  AutoCommit c = a.fork();
  ASSERT_TRUE(a.splice_text(*t, 1, 0, "1").is_ok());
  ASSERT_TRUE(b.splice_text(*t, 1, 0, "22").is_ok());
  ASSERT_TRUE(c.splice_text(*t, 1, 1, "ü").is_ok());
  ASSERT_TRUE(a.merge(b).is_ok());
  ASSERT_TRUE(a.merge(c).is_ok());
  ASSERT_TRUE(c.merge(b).is_ok());
  ASSERT_TRUE(c.merge(a).is_ok());
  EXPECT_EQ(*a.text(*t), *c.text(*t));
  std::string s = *a.text(*t);
  // Each writer's run stays together and the deleted c is gone.
  EXPECT_NE(s.find("22"), std::string::npos);
  EXPECT_EQ(s.find('c'), std::string::npos);
  EXPECT_EQ(s.front(), 'a');
}

TEST(Merge, ChangesAppliedOutOfOrderWaitForTheirDependencies) {
  AutoCommit a;
  ASSERT_TRUE(a.put(ROOT, "x", ScalarValue::int64(1)).is_ok());
  a.commit();
  ASSERT_TRUE(a.put(ROOT, "x", ScalarValue::int64(2)).is_ok());
  a.commit();
  auto changes = a.get_changes({});
  ASSERT_EQ(changes.size(), 2u);
  AutoCommit b;
  ASSERT_TRUE(b.apply_changes({changes[1]}).is_ok());
  EXPECT_EQ(b.queued_count(), 1u);
  EXPECT_FALSE(b.get(ROOT, "x")->has_value());
  ASSERT_TRUE(b.apply_changes({changes[0]}).is_ok());
  EXPECT_EQ(b.queued_count(), 0u);
  EXPECT_EQ((*b.get(ROOT, "x"))->value.to_scalar(), ScalarValue::int64(2));
  EXPECT_EQ(b.get_heads(), a.get_heads());
  // What b lacks since a's first change is exactly the second.
  EXPECT_EQ(a.get_changes({changes[0].hash}), std::vector<Change>{changes[1]});
  EXPECT_TRUE(a.get_changes(a.get_heads()).empty());
}

// A long history delivered newest first: every change waits, then one arrival releases the
// whole chain. A change whose dependency never comes keeps waiting, through a save too.
TEST(Merge, ReversedHistoryAppliesOnceItsRootArrives) {
  AutoCommit a;
  AutoCommit side = a.fork();
  ASSERT_TRUE(side.put(ROOT, "side", ScalarValue::int64(1)).is_ok());
  side.commit();
  for (int i = 0; i < 500; ++i) {
    ASSERT_TRUE(a.put(ROOT, "x", ScalarValue::int64(i)).is_ok());
    a.commit();
  }
  auto changes = a.get_changes({});
  std::reverse(changes.begin(), changes.end());
  AutoCommit orphan = side.fork();
  ASSERT_TRUE(orphan.put(ROOT, "orphan", ScalarValue::int64(2)).is_ok());
  auto orphan_change = orphan.get_changes(side.get_heads());
  ASSERT_EQ(orphan_change.size(), 1u);
  changes.insert(changes.begin() + 100, orphan_change[0]);

  AutoCommit b;
  ASSERT_TRUE(b.apply_changes(changes).is_ok());
  EXPECT_EQ(b.queued_count(), 1u);  // the orphan lacks side's change
  EXPECT_EQ((*b.get(ROOT, "x"))->value.to_scalar(), ScalarValue::int64(499));
  EXPECT_FALSE(b.get(ROOT, "orphan")->has_value());
  auto reloaded = AutoCommit::load(b.save());
  ASSERT_TRUE(reloaded.is_ok());
  EXPECT_EQ(reloaded->queued_count(), 1u);
  ASSERT_TRUE(reloaded->merge(side).is_ok());
  EXPECT_EQ(reloaded->queued_count(), 0u);
  EXPECT_EQ((*reloaded->get(ROOT, "orphan"))->value.to_scalar(), ScalarValue::int64(2));
}

// Three changes wait for one dependency; the one released second fails its checks (its actor
// already has a change with that sequence number). The third is applied all the same.
TEST(Merge, AWaitingChangeThatFailsItsChecksReleasesTheOthers) {
  AutoCommit a;
  ASSERT_TRUE(a.put(ROOT, "x", ScalarValue::int64(1)).is_ok());
  a.commit();
  const auto first = a.get_changes({});
  AutoCommit impostor(a.get_actor());
  ASSERT_TRUE(impostor.apply_changes(first).is_ok());
  ASSERT_TRUE(impostor.put(ROOT, "x", ScalarValue::int64(2)).is_ok());
  AutoCommit other = a.fork();
  ASSERT_TRUE(other.put(ROOT, "y", ScalarValue::int64(3)).is_ok());
  ASSERT_TRUE(a.put(ROOT, "x", ScalarValue::int64(4)).is_ok());
  const auto heads = std::vector<ChangeHash>{first[0].hash};
  const auto forged = impostor.get_changes(heads), second = a.get_changes(heads), others = other.get_changes(heads);
  ASSERT_EQ(forged.size(), 1u);
  ASSERT_EQ(second.size(), 1u);
  ASSERT_EQ(others.size(), 1u);

  AutoCommit b;
  ASSERT_TRUE(b.apply_changes({forged[0], second[0], others[0]}).is_ok());
  EXPECT_EQ(b.queued_count(), 3u);
  EXPECT_TRUE(b.apply_changes(first).is_err());
  EXPECT_EQ(b.queued_count(), 0u);
  EXPECT_EQ(b.change_count(), 3u);
  EXPECT_EQ((*b.get(ROOT, "y"))->value.to_scalar(), ScalarValue::int64(3));
}

// Random edits on three forks, exchanged in a shuffled order, must converge.
void random_edit(AutoCommit& doc, std::mt19937& rng) {
  std::uniform_int_distribution<int> pick(0, 5);
  const std::string keys[] = {"a", "b", "c"};
  auto list = (*doc.get(ROOT, "list"))->value.obj_id();
  auto text = (*doc.get(ROOT, "text"))->value.obj_id();
  std::size_t len = doc.length(list);
  std::size_t tlen = doc.length(text);
  switch (pick(rng)) {
    case 0: (void)doc.put(ROOT, keys[rng() % 3], ScalarValue::int64(static_cast<std::int64_t>(rng() % 100))); break;
    case 1: (void)doc.delete_(ROOT, keys[rng() % 3]); break;
    case 2: (void)doc.insert(list, rng() % (len + 1), ScalarValue::uint64(rng() % 100)); break;
    case 3:
      if (len > 0) (void)doc.delete_(list, rng() % len);
      break;
    case 4: (void)doc.splice_text(text, rng() % (tlen + 1), rng() % 3, rng() % 2 ? "xé" : "\xe2\x82\xac"); break;
    case 5:
      if (len > 0) (void)doc.put(list, rng() % len, ScalarValue::str("p"));
      break;
  }
}

std::string dump(AutoCommit& doc) {
  std::string out;
  for (const auto& k : doc.keys(ROOT)) {
    out += k + "=";
    auto all = doc.get_all(ROOT, k);
    for (const auto& e : *all) out += e.id.to_string() + ";";
  }
  auto list = (*doc.get(ROOT, "list"))->value.obj_id();
  for (std::size_t i = 0; i < doc.length(list); ++i) out += (*doc.get(list, i))->id.to_string() + ",";
  out += *doc.text((*doc.get(ROOT, "text"))->value.obj_id());
  return out;
}

TEST(Merge, RandomEditSequencesConverge) {
  std::mt19937 rng(20261210);
  for (int round = 0; round < 20; ++round) {
    AutoCommit base;
    ASSERT_TRUE(base.put_object(ROOT, "list", ObjType::List).is_ok());
    ASSERT_TRUE(base.put_object(ROOT, "text", ObjType::Text).is_ok());
    std::vector<AutoCommit> forks = {base.fork(), base.fork(), base.fork()};
    for (int step = 0; step < 30; ++step) {
      AutoCommit& d = forks[rng() % 3];
      random_edit(d, rng);
      if (rng() % 4 == 0) d.commit();
      if (rng() % 6 == 0) {
        ASSERT_TRUE(d.merge(forks[rng() % 3]).is_ok());
      }
    }
    // Every fork receives all changes, shuffled.
    std::vector<Change> all;
    for (AutoCommit& f : forks) {
      for (Change& c : f.get_changes({})) all.push_back(std::move(c));
    }
    std::vector<std::string> dumps;
    for (AutoCommit& f : forks) {
      std::shuffle(all.begin(), all.end(), rng);
      ASSERT_TRUE(f.apply_changes(all).is_ok());
      EXPECT_EQ(f.queued_count(), 0u);
      dumps.push_back(dump(f));
    }
    EXPECT_EQ(dumps[0], dumps[1]) << "round " << round;
    EXPECT_EQ(dumps[1], dumps[2]) << "round " << round;
    EXPECT_EQ(forks[0].get_heads(), forks[2].get_heads());
    auto reloaded = AutoCommit::load(forks[0].save());
    ASSERT_TRUE(reloaded.is_ok());
    EXPECT_EQ(dump(*reloaded), dumps[0]);
  }
}

}  // namespace
}  // namespace automerge
